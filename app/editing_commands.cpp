// The editing commands of edit mode: adding and deleting translations,
// deleting and changing words and reordering the translations of a word, all
// on the main dictionary. They run on the user-interface thread between jobs:
// the questions come first, then the caller's EngineHold waits until no job
// runs, and the engine is changed and the lists brought up to date while the
// lock is held. Messages are shown only after the lock is given back.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

#include "app/message_box_style.h"
#include "app/message_table.h"
#include "app/search_controller.h"
#include "platform/code_page.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

constexpr SlotId kMain = SlotId::kMain;

std::string Text(TextId id) { return UiText(id); }

// "[list]\n\nmessage"
std::string AboutList(const std::string& list_name, TextId message) {
    return "[" + list_name + "]\n\n" + Text(message);
}

}  // namespace

std::string SearchController::WordForMessage(ListSide side, std::string_view word) const {
    return platform::DecodeToUtf8(main_.CodePage(side), word);
}

void SearchController::ShowFront(SlotId id, ListSide side, int count) {
    ResultBuffers& buffers = slot(id).results(side);
    count = std::clamp(count, 0, buffers.front_capacity());
    view_->ShowList(id, side, count > 0 ? buffers.front() : nullptr, count);
    shown_[static_cast<int>(id)][static_cast<int>(side)].store(count);
}

void SearchController::AddTranslation(const EngineHold& hold_engine) {
    if (!main_.loaded()) return;
    const ListSide source = main_.source_side();
    const ListSide target = Other(source);
    const std::string source_name = main_.ListNameUtf8(source);
    const std::string target_name = main_.ListNameUtf8(target);
    const std::string source_word = view_->EditText(kMain, source);
    const std::string target_word = view_->EditText(kMain, target);
    for (const ListSide side : {source, target}) {
        if (!(side == source ? source_word : target_word).empty()) continue;
        view_->MessageBox(AboutList(side == source ? source_name : target_name,
                                    TextId::MSG_NEED_WORD_TO_ADD),
                          Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    const std::string question = Text(TextId::MSG_QUESTION_ADD_TRANSLATION) + "\n\n[" +
                                 source_name + " <--> " + target_name + "]\n\n" +
                                 WordForMessage(source, source_word) + " <--> " +
                                 WordForMessage(target, target_word);
    if (view_->MessageBox(question, source_name + " - " + target_name,
                          kMbYesNoCancel | kMbIconQuestion) != kIdYes)
        return;

    std::unique_lock<std::mutex> engine = hold_engine();
    if (!engine.owns_lock() || !main_.loaded()) {
        view_->Beep();
        return;
    }
    ++generation_;
    const bool primary_first = source == ListSide::kPrimary;
    const DB_RESULT* r =
        DB_AddTranslation(main_.handle(), DB_TRANS_PRIMARY_TO_SECONDARY,
                          (primary_first ? source_word : target_word).c_str(),
                          (primary_first ? target_word : source_word).c_str());
    if (r->status != 2) {
        const TextId failure =
            r->status == 1 ? TextId::MSG_TRANSLATION_EXISTS : TextId::MSG_ERROR_ADDING_TRANSLATION;
        engine.unlock();
        view_->Beep();
        view_->MessageBox(Text(failure), Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
        return;
    }
    // The stored words, read before the next engine call overwrites the result.
    const char* const stored_source = primary_first ? r->word : r->word2;
    const char* const stored_target = primary_first ? r->word2 : r->word;
    if (!main_.RefreshInfo()) {
        engine.unlock();
        view_->Beep();
        view_->MessageBox(Text(TextId::MSG_ERROR_ADDING_TRANSLATION), Text(TextId::MSG_ERROR),
                          kMbOk | kMbIconStop);
        return;
    }

    // The lists may hold more words now; they keep what they show.
    const int shown[2] = {shown_count(kMain, ListSide::kPrimary),
                          shown_count(kMain, ListSide::kSecondary)};
    const int source_row = view_->SelectedIndex(kMain, source);
    ClearList(kMain, ListSide::kPrimary);
    ClearList(kMain, ListSide::kSecondary);
    bool grown = true;
    try {
        main_.GrowResultArrays();
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    ShowFront(kMain, ListSide::kPrimary, shown[0]);
    ShowFront(kMain, ListSide::kSecondary, shown[1]);
    if (!grown) {
        // The translation is in the dictionary; only the lists could not grow.
        engine.unlock();
        ReportMemoryError();
        return;
    }

    if (source_row < 0) {
        // The new word is listed like a typed one.
        view_->SetEditText(kMain, source, stored_source);
        OnEditChanged(kMain, source);
    } else {
        view_->SelectListEntry(kMain, source, source_row);
        const char* selected = main_.results(source).front()[source_row];
        if (selected != nullptr && source_word == selected) {
            const int count = shown_count(kMain, target);
            if (count < main_.results(target).front_capacity()) {
                main_.results(target).front_entries()[count] = stored_target;
                ShowFront(kMain, target, count + 1);
            }
        }
    }
    RefreshStatus();
    engine.unlock();
    view_->MessageBox(Text(TextId::MSG_TRANSLATION_ADDED), Text(TextId::MSG_INFORMATION),
                      kMbOk | kMbIconInformation);
}

void SearchController::DeleteSelected(const EngineHold& hold_engine) {
    if (!main_.loaded()) return;
    const ListSide source = main_.source_side();
    const ListSide target = Other(source);
    const std::string source_name = main_.ListNameUtf8(source);
    const std::string target_name = main_.ListNameUtf8(target);

    // What is selected; checked again once the engine is held, because a job
    // may have changed the lists while the question was open.
    struct Selection {
        int source_row, target_row, target_count;
        std::optional<std::string> source_word, target_word;
        bool operator==(const Selection&) const = default;
    };
    auto selection = [&] {
        return Selection{view_->SelectedIndex(kMain, source), view_->SelectedIndex(kMain, target),
                         shown_count(kMain, target), view_->SelectedWord(kMain, source),
                         view_->SelectedWord(kMain, target)};
    };
    const Selection asked = selection();
    if (asked.source_row < 0 || !asked.source_word) {
        view_->MessageBox(AboutList(source_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                          Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    const bool whole_word = asked.target_row < 0 || !asked.target_word;
    if (whole_word && asked.target_count > 0) {
        view_->MessageBox(AboutList(target_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                          Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    const std::string source_word8 = WordForMessage(source, *asked.source_word);
    const int answer =
        whole_word
            ? view_->MessageBox(Text(TextId::MSG_QUESTION_DELETE_WORD) + "\n\n[" + source_name +
                                    "]\n\n--> " + source_word8,
                                source_name, kMbYesNoCancel | kMbIconQuestion)
            : view_->MessageBox(Text(TextId::MSG_QUESTION_DELETE_TRANSLATION) + "\n\n[" +
                                    source_name + " <--> " + target_name + "]\n\n" +
                                    source_word8 + " <--> " +
                                    WordForMessage(target, *asked.target_word),
                                source_name + " - " + target_name,
                                kMbYesNoCancel | kMbIconQuestion);
    if (answer != kIdYes) return;

    std::unique_lock<std::mutex> engine = hold_engine();
    if (!engine.owns_lock() || !main_.loaded() || selection() != asked) {
        view_->Beep();
        return;
    }
    ++generation_;
    const ListSide side = whole_word ? source : target;
    const int row = whole_word ? asked.source_row : asked.target_row;
    const DB_RESULT* r;
    if (whole_word) {
        r = DB_DeleteWord(main_.handle(), EngineList(source), asked.source_word->c_str());
    } else {
        const bool primary_first = source == ListSide::kPrimary;
        const std::string& primary = primary_first ? *asked.source_word : *asked.target_word;
        const std::string& secondary = primary_first ? *asked.target_word : *asked.source_word;
        r = DB_DeleteTranslation(main_.handle(), DB_TRANS_PRIMARY_TO_SECONDARY, primary.c_str(),
                                 secondary.c_str());
    }
    if (r->status == 0) {
        engine.unlock();
        view_->Beep();
        view_->MessageBox(Text(whole_word ? TextId::MSG_ERROR_DELETING_WORD
                                          : TextId::MSG_ERROR_DELETING_TRANSLATION),
                          Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
        return;
    }
    // The entry goes from its list (a deleted word's text is gone with it).
    const int count = shown_count(kMain, side);
    const char** entries = main_.results(side).front_entries();
    std::copy(entries + row + 1, entries + count, entries + row);
    ShowFront(kMain, side, count - 1);
    if (!whole_word) view_->SelectListEntry(kMain, source, asked.source_row);
    main_.RefreshInfo();
    RefreshStatus();
    engine.unlock();
    view_->MessageBox(Text(whole_word ? TextId::MSG_WORD_DELETED : TextId::MSG_TRANSLATION_DELETED),
                      Text(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
}

void SearchController::ChangeWord(ListSide side, int row, const std::string& old_word,
                                  const std::string& new_word, const EngineHold& hold_engine) {
    if (new_word.empty() || !main_.loaded()) return;
    std::unique_lock<std::mutex> engine = hold_engine();
    // The row must still show the word the box was opened on.
    const char* shown = row >= 0 && row < shown_count(kMain, side)
                            ? main_.results(side).front()[row]
                            : nullptr;
    if (!engine.owns_lock() || !main_.loaded() || shown == nullptr || old_word != shown) {
        view_->Beep();
        return;
    }
    ++generation_;
    const DB_RESULT* r = DB_ChangeWord(main_.handle(), EngineList(side), old_word.c_str(),
                                       new_word.c_str());
    if (r->status == 0) {
        engine.unlock();
        view_->Beep();
        view_->MessageBox(Text(TextId::MSG_CANT_CHANGE_WORD), Text(TextId::MSG_ERROR),
                          kMbOk | kMbIconStop);
        return;
    }
    // The old text may be gone: the row shows the stored new word.
    main_.results(side).front_entries()[row] = r->word;
    view_->RedrawList(kMain, side);
    main_.RefreshInfo();
    RefreshStatus();
}

void SearchController::MoveTranslation(int previous, int row, const EngineHold& hold_engine) {
    if (!main_.loaded()) return;
    const ListSide source = main_.source_side();
    const ListSide target = Other(source);
    std::unique_lock<std::mutex> engine = hold_engine();
    const int count = shown_count(kMain, target);
    const int source_row = view_->SelectedIndex(kMain, source);
    if (!engine.owns_lock() || !main_.loaded() || source_row < 0 ||
        source_row >= shown_count(kMain, source) || previous < 0 || previous >= count ||
        row < 0 || row >= count) {
        view_->SelectListEntry(kMain, target, previous);
        view_->Beep();
        return;
    }
    ++generation_;
    const std::string word = main_.results(source).front()[source_row];
    const char** entries = main_.results(target).front_entries();
    const int step = row > previous ? 1 : -1;
    int at = previous;
    bool failed = false;
    for (; at != row; at += step) {
        std::swap(entries[at], entries[at + step]);
        // The translation now at the dragged one's old place, then the dragged one.
        const DB_RESULT* r = DB_SwapTranslations(main_.handle(), EngineDirection(source),
                                                 word.c_str(), entries[at], entries[at + step]);
        if (r->status == 0) {
            // The list keeps showing the order the dictionary has.
            std::swap(entries[at], entries[at + step]);
            failed = true;
            break;
        }
    }
    view_->RedrawList(kMain, target);
    if (failed) view_->SelectListEntry(kMain, target, at);
    engine.unlock();
    if (!failed) return;
    view_->Beep();
    view_->MessageBox(Text(TextId::MSG_ERROR_SWAP_TRANSLATION), Text(TextId::MSG_ERROR),
                      kMbOk | kMbIconStop);
}

}  // namespace wordbay
