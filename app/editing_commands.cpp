#include "app/editing_commands.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

#include "app/message_box_style.h"
#include "app/message_table.h"
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

std::string EditingCommands::WordForMessage(ListSide side, std::string_view word) const {
    return platform::DecodeToUtf8(c_.main_slot().CodePage(side), word);
}

bool EditingCommands::ConfirmPair(TextId question, ListSide source, std::string_view source_word,
                                  std::string_view target_word) {
    const ListSide target = Other(source);
    const std::string source_name = c_.main_slot().ListNameUtf8(source);
    const std::string target_name = c_.main_slot().ListNameUtf8(target);
    const std::string text = Text(question) + "\n\n[" + source_name + " <--> " + target_name +
                             "]\n\n" + WordForMessage(source, source_word) + " <--> " +
                             WordForMessage(target, target_word);
    return c_.view().MessageBox(text, source_name + " - " + target_name,
                                kMbYesNoCancel | kMbIconQuestion) == kIdYes;
}

bool EditingCommands::ShowAdded(ListSide source, const std::string& source_word,
                                const char* stored_source, const char* stored_target) {
    const ListSide target = Other(source);
    // The lists may hold more words now; they keep what they show.
    const int shown[2] = {c_.shown_count(kMain, ListSide::kPrimary),
                          c_.shown_count(kMain, ListSide::kSecondary)};
    const int source_row = c_.view().SelectedIndex(kMain, source);
    c_.ClearList(kMain, ListSide::kPrimary);
    c_.ClearList(kMain, ListSide::kSecondary);
    bool grown = true;
    try {
        c_.main_slot().GrowResultArrays();
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    c_.ShowFront(kMain, ListSide::kPrimary, shown[0]);
    c_.ShowFront(kMain, ListSide::kSecondary, shown[1]);
    if (!grown) return false;

    if (source_row < 0) {
        // The new word is listed like a typed one.
        c_.view().SetEditText(kMain, source, stored_source);
        c_.ListTypedText(kMain, source);
    } else {
        c_.view().SelectListEntry(kMain, source, source_row);
        const char* selected = c_.main_slot().results(source).front()[source_row];
        if (selected != nullptr && source_word == selected) {
            const int count = c_.shown_count(kMain, target);
            if (count < c_.main_slot().results(target).front_capacity()) {
                c_.main_slot().results(target).front_entries()[count] = stored_target;
                c_.ShowFront(kMain, target, count + 1);
            }
        }
    }
    return true;
}

void EditingCommands::AddTranslation(const EngineHold& hold_engine) {
    if (!c_.main_slot().loaded()) return;
    const ListSide source = c_.main_slot().source_side();
    const ListSide target = Other(source);
    const std::string source_name = c_.main_slot().ListNameUtf8(source);
    const std::string target_name = c_.main_slot().ListNameUtf8(target);
    const std::string source_word = c_.view().EditText(kMain, source);
    const std::string target_word = c_.view().EditText(kMain, target);
    for (const ListSide side : {source, target}) {
        if (!(side == source ? source_word : target_word).empty()) continue;
        c_.view().MessageBox(
            AboutList(side == source ? source_name : target_name, TextId::MSG_NEED_WORD_TO_ADD),
            Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    if (!ConfirmPair(TextId::MSG_QUESTION_ADD_TRANSLATION, source, source_word, target_word))
        return;

    std::unique_lock<std::mutex> engine = hold_engine();
    if (!engine.owns_lock() || !c_.main_slot().loaded()) {
        c_.view().Beep();
        return;
    }
    ++c_.generation();
    const bool primary_first = source == ListSide::kPrimary;
    const DB_RESULT* r = DB_AddTranslation(c_.main_slot().handle(), DB_TRANS_PRIMARY_TO_SECONDARY,
                                           (primary_first ? source_word : target_word).c_str(),
                                           (primary_first ? target_word : source_word).c_str());
    if (r->status != 2) {
        const TextId failure =
            r->status == 1 ? TextId::MSG_TRANSLATION_EXISTS : TextId::MSG_ERROR_ADDING_TRANSLATION;
        engine.unlock();
        c_.view().Beep();
        c_.view().MessageBox(Text(failure), Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
        return;
    }
    // The stored words, read before the next engine call overwrites the result.
    const char* const stored_source = primary_first ? r->word : r->word2;
    const char* const stored_target = primary_first ? r->word2 : r->word;
    if (!c_.main_slot().RefreshInfo()) {
        engine.unlock();
        c_.view().Beep();
        c_.view().MessageBox(Text(TextId::MSG_ERROR_ADDING_TRANSLATION), Text(TextId::MSG_ERROR),
                             kMbOk | kMbIconStop);
        return;
    }

    if (!ShowAdded(source, source_word, stored_source, stored_target)) {
        // The translation is in the dictionary; only the lists could not grow.
        engine.unlock();
        c_.ReportMemoryError();
        return;
    }
    c_.RefreshStatus();
    engine.unlock();
    c_.view().MessageBox(Text(TextId::MSG_TRANSLATION_ADDED), Text(TextId::MSG_INFORMATION),
                         kMbOk | kMbIconInformation);
}

const DB_RESULT* EditingCommands::DeletePair(ListSide source, const std::string& source_word,
                                             const std::string& target_word) {
    const bool primary_first = source == ListSide::kPrimary;
    const std::string& primary = primary_first ? source_word : target_word;
    const std::string& secondary = primary_first ? target_word : source_word;
    return DB_DeleteTranslation(c_.main_slot().handle(), DB_TRANS_PRIMARY_TO_SECONDARY,
                                primary.c_str(), secondary.c_str());
}

void EditingCommands::DeleteSelected(const EngineHold& hold_engine) {
    if (!c_.main_slot().loaded()) return;
    const ListSide source = c_.main_slot().source_side();
    const ListSide target = Other(source);
    const std::string source_name = c_.main_slot().ListNameUtf8(source);
    const std::string target_name = c_.main_slot().ListNameUtf8(target);

    // What is selected; checked again once the engine is held, because a job
    // may have changed the lists while the question was open.
    struct Selection {
        int source_row, target_row, target_count;
        std::optional<std::string> source_word, target_word;
        bool operator==(const Selection&) const = default;
    };
    auto selection = [&] {
        return Selection{c_.view().SelectedIndex(kMain, source),
                         c_.view().SelectedIndex(kMain, target), c_.shown_count(kMain, target),
                         c_.view().SelectedWord(kMain, source),
                         c_.view().SelectedWord(kMain, target)};
    };
    const Selection asked = selection();
    if (asked.source_row < 0 || !asked.source_word) {
        c_.view().MessageBox(AboutList(source_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                             Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    const bool whole_word = asked.target_row < 0 || !asked.target_word;
    if (whole_word && asked.target_count > 0) {
        c_.view().MessageBox(AboutList(target_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                             Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        return;
    }
    const bool confirmed =
        whole_word
            ? c_.view().MessageBox(Text(TextId::MSG_QUESTION_DELETE_WORD) + "\n\n[" + source_name +
                                       "]\n\n--> " + WordForMessage(source, *asked.source_word),
                                   source_name, kMbYesNoCancel | kMbIconQuestion) == kIdYes
            : ConfirmPair(TextId::MSG_QUESTION_DELETE_TRANSLATION, source, *asked.source_word,
                          *asked.target_word);
    if (!confirmed) return;

    std::unique_lock<std::mutex> engine = hold_engine();
    if (!engine.owns_lock() || !c_.main_slot().loaded() || selection() != asked) {
        c_.view().Beep();
        return;
    }
    ++c_.generation();
    const ListSide side = whole_word ? source : target;
    const int row = whole_word ? asked.source_row : asked.target_row;
    const DB_RESULT* r = whole_word ? DB_DeleteWord(c_.main_slot().handle(), EngineList(source),
                                                    asked.source_word->c_str())
                                    : DeletePair(source, *asked.source_word, *asked.target_word);
    if (r->status == 0) {
        engine.unlock();
        c_.view().Beep();
        c_.view().MessageBox(Text(whole_word ? TextId::MSG_ERROR_DELETING_WORD
                                             : TextId::MSG_ERROR_DELETING_TRANSLATION),
                             Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
        return;
    }
    // The entry goes from its list (a deleted word's text is gone with it).
    const int count = c_.shown_count(kMain, side);
    const char** entries = c_.main_slot().results(side).front_entries();
    std::copy(entries + row + 1, entries + count, entries + row);
    c_.ShowFront(kMain, side, count - 1);
    if (!whole_word) c_.view().SelectListEntry(kMain, source, asked.source_row);
    c_.main_slot().RefreshInfo();
    c_.RefreshStatus();
    engine.unlock();
    c_.view().MessageBox(
        Text(whole_word ? TextId::MSG_WORD_DELETED : TextId::MSG_TRANSLATION_DELETED),
        Text(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
}

void EditingCommands::ChangeWord(ListSide side, int row, const std::string& old_word,
                                 const std::string& new_word, const EngineHold& hold_engine) {
    if (new_word.empty() || !c_.main_slot().loaded()) return;
    std::unique_lock<std::mutex> engine = hold_engine();
    // The row must still show the word the box was opened on.
    const char* shown = row >= 0 && row < c_.shown_count(kMain, side)
                            ? c_.main_slot().results(side).front()[row]
                            : nullptr;
    if (!engine.owns_lock() || !c_.main_slot().loaded() || shown == nullptr || old_word != shown) {
        c_.view().Beep();
        return;
    }
    ++c_.generation();
    const DB_RESULT* r = DB_ChangeWord(c_.main_slot().handle(), EngineList(side), old_word.c_str(),
                                       new_word.c_str());
    if (r->status == 0) {
        engine.unlock();
        c_.view().Beep();
        c_.view().MessageBox(Text(TextId::MSG_CANT_CHANGE_WORD), Text(TextId::MSG_ERROR),
                             kMbOk | kMbIconStop);
        return;
    }
    // The old text may be gone: the row shows the stored new word.
    c_.main_slot().results(side).front_entries()[row] = r->word;
    c_.view().RedrawList(kMain, side);
    c_.main_slot().RefreshInfo();
    c_.RefreshStatus();
}

void EditingCommands::MoveTranslation(int previous, int row, const EngineHold& hold_engine) {
    if (!c_.main_slot().loaded()) return;
    const ListSide source = c_.main_slot().source_side();
    const ListSide target = Other(source);
    std::unique_lock<std::mutex> engine = hold_engine();
    const int count = c_.shown_count(kMain, target);
    const int source_row = c_.view().SelectedIndex(kMain, source);
    if (!engine.owns_lock() || !c_.main_slot().loaded() || source_row < 0 ||
        source_row >= c_.shown_count(kMain, source) || previous < 0 || previous >= count ||
        row < 0 || row >= count) {
        c_.view().SelectListEntry(kMain, target, previous);
        c_.view().Beep();
        return;
    }
    ++c_.generation();
    const std::string word = c_.main_slot().results(source).front()[source_row];
    const char** entries = c_.main_slot().results(target).front_entries();
    const int step = row > previous ? 1 : -1;
    int at = previous;
    bool failed = false;
    for (; at != row; at += step) {
        std::swap(entries[at], entries[at + step]);
        // The translation now at the dragged one's old place, then the dragged one.
        const DB_RESULT* r = DB_SwapTranslations(c_.main_slot().handle(), EngineDirection(source),
                                                 word.c_str(), entries[at], entries[at + step]);
        if (r->status == 0) {
            // The list keeps showing the order the dictionary has.
            std::swap(entries[at], entries[at + step]);
            failed = true;
            break;
        }
    }
    c_.view().RedrawList(kMain, target);
    if (failed) c_.view().SelectListEntry(kMain, target, at);
    engine.unlock();
    if (!failed) return;
    c_.view().Beep();
    c_.view().MessageBox(Text(TextId::MSG_ERROR_SWAP_TRANSLATION), Text(TextId::MSG_ERROR),
                         kMbOk | kMbIconStop);
}

}  // namespace wordbay
