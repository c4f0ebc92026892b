#include "app/editing_commands.h"

#include <chrono>
#include <new>

#include "app/message_box_style.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

constexpr SlotId kMain = SlotId::kMain;

// How long an editing command waits for a request to end. Searches stop at
// once; a save or an import can take longer, and then the command gives up
// with a beep rather than freeze the window.
constexpr std::chrono::milliseconds kEngineWait(3000);

std::string Text(TextId id) { return UiText(id); }

// "[list]\n\nmessage"
std::string AboutList(const std::string& list_name, TextId message) {
    return "[" + list_name + "]\n\n" + Text(message);
}

// The word selected in a list of `view`, or nothing.
std::optional<std::string> SelectedWord(EditingView& view, ListSide side) {
    const int row = view.SelectedIndex(side);
    const WordList shown = view.Shown(side);
    if (row < 0 || row >= shown.count() || shown[row] == nullptr) return std::nullopt;
    return std::string(shown[row]);
}

}  // namespace

std::unique_lock<std::mutex> EditingCommands::HoldEngine(EngineWait& view) {
    std::unique_lock<std::mutex> engine(d_->engine_lock(), std::defer_lock);
    d_->EndLoops();
    const auto deadline = std::chrono::steady_clock::now() + kEngineWait;
    while (!engine.try_lock()) {
        if (std::chrono::steady_clock::now() >= deadline) return engine;
        view.KeepPainting();
    }
    // What the worker sent before it let go reaches the window first: its
    // words are valid until the change.
    view.KeepPainting();
    return engine;
}

std::string EditingCommands::WordForMessage(ListSide side, std::string_view word) const {
    return platform::DecodeToUtf8(d_->main().CodePage(side), word);
}

void EditingCommands::Fail(TextId message) const {
    report_->Beep();
    report_->ShowMessage(Text(message), Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
}

bool EditingCommands::ConfirmPair(EditingView& view, TextId question, ListSide source,
                                  std::string_view source_word, std::string_view target_word) {
    const ListSide target = Other(source);
    const std::string source_name = d_->main().ListNameUtf8(source);
    const std::string target_name = d_->main().ListNameUtf8(target);
    const std::string text = Text(question) + "\n\n[" + source_name + " <--> " + target_name +
                             "]\n\n" + WordForMessage(source, source_word) + " <--> " +
                             WordForMessage(target, target_word);
    return view.Ask({text, source_name + " - " + target_name, kMbYesNoCancel | kMbIconQuestion}) ==
           kIdYes;
}

bool EditingCommands::ShowAdded(EditingView& view, ListSide source, const std::string& source_word,
                                const char* stored_source, const char* stored_target) {
    const ListSide target = Other(source);
    // The lists keep what they show; the arrays of later results grow with
    // the dictionary.
    const WordList shown[2] = {view.Shown(ListSide::kPrimary), view.Shown(ListSide::kSecondary)};
    const int source_row = view.SelectedIndex(source);
    bool grown = true;
    DictionarySlot& main = d_->main();
    try {
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary})
            main.ResultArray(side, main.ResultRoom(side));
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    lists_->Show(kMain, ListSide::kPrimary, shown[0]);
    lists_->Show(kMain, ListSide::kSecondary, shown[1]);
    if (!grown) return false;

    if (source_row < 0) {
        // The new word is listed like a typed one.
        panes_->SetEditText(kMain, source, stored_source);
        searches_->Typed(kMain, source, stored_source);
        return true;
    }
    panes_->SelectListEntry(kMain, source, source_row, epoch_->load());
    const WordList& sources = shown[static_cast<int>(source)];
    if (source_row < sources.count() && sources[source_row] != nullptr &&
        source_word == sources[source_row]) {
        lists_->Show(kMain, target, shown[static_cast<int>(target)].Appended(stored_target));
    }
    return true;
}

void EditingCommands::AddTranslation(EditingView& view) {
    DictionarySlot& main = d_->main();
    if (!main.loaded()) return;
    const ListSide source = main.source_side();
    const ListSide target = Other(source);
    const std::string source_name = main.ListNameUtf8(source);
    const std::string target_name = main.ListNameUtf8(target);
    const std::string source_word = view.EditText(source);
    const std::string target_word = view.EditText(target);
    for (const ListSide side : {source, target}) {
        if (!(side == source ? source_word : target_word).empty()) continue;
        view.Ask(
            {AboutList(side == source ? source_name : target_name, TextId::MSG_NEED_WORD_TO_ADD),
             Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation});
        return;
    }
    if (!ConfirmPair(view, TextId::MSG_QUESTION_ADD_TRANSLATION, source, source_word, target_word))
        return;

    std::unique_lock<std::mutex> engine = HoldEngine(view);
    if (!engine.owns_lock() || !main.loaded()) {
        report_->Beep();
        return;
    }
    const Dictionaries::Change change(*d_);
    const bool primary_first = source == ListSide::kPrimary;
    const std::string& primary = primary_first ? source_word : target_word;
    const std::string& secondary = primary_first ? target_word : source_word;
    main.file().journal().AddTranslation(main.handle(), primary, secondary);
    const DB_RESULT* r = DB_AddTranslation(main.handle(), DB_TRANS_PRIMARY_TO_SECONDARY,
                                           primary.c_str(), secondary.c_str());
    if (r->status != 2) {
        main.file().journal().Drop();
        engine.unlock();
        Fail(r->status == 1 ? TextId::MSG_TRANSLATION_EXISTS
                            : TextId::MSG_ERROR_ADDING_TRANSLATION);
        return;
    }
    // The stored words, read before the next engine call overwrites the result.
    const char* const stored_source = primary_first ? r->word : r->word2;
    const char* const stored_target = primary_first ? r->word2 : r->word;
    if (!main.RefreshInfo()) {
        engine.unlock();
        Fail(TextId::MSG_ERROR_ADDING_TRANSLATION);
        return;
    }
    if (!ShowAdded(view, source, source_word, stored_source, stored_target)) {
        // The translation is in the dictionary; only the lists could not grow.
        engine.unlock();
        report_->MemoryError();
        return;
    }
    report_->RefreshStatus();
    engine.unlock();
    report_->ShowMessage(Text(TextId::MSG_TRANSLATION_ADDED), Text(TextId::MSG_INFORMATION),
                         kMbOk | kMbIconInformation);
}

const DB_RESULT* EditingCommands::DeletePair(ListSide source, const std::string& source_word,
                                             const std::string& target_word) {
    const bool primary_first = source == ListSide::kPrimary;
    const std::string& primary = primary_first ? source_word : target_word;
    const std::string& secondary = primary_first ? target_word : source_word;
    d_->main().file().journal().DeleteTranslation(d_->main().handle(), primary, secondary);
    return DB_DeleteTranslation(d_->main().handle(), DB_TRANS_PRIMARY_TO_SECONDARY, primary.c_str(),
                                secondary.c_str());
}

void EditingCommands::DeleteSelected(EditingView& view) {
    DictionarySlot& main = d_->main();
    if (!main.loaded()) return;
    const ListSide source = main.source_side();
    const ListSide target = Other(source);
    const std::string source_name = main.ListNameUtf8(source);
    const std::string target_name = main.ListNameUtf8(target);

    // What is selected; checked again once the engine is held, because a
    // request may have changed the lists while the question was open.
    struct Selection {
        int source_row, target_row, target_count;
        std::optional<std::string> source_word, target_word;
        bool operator==(const Selection&) const = default;
    };
    auto selection = [&] {
        return Selection{view.SelectedIndex(source), view.SelectedIndex(target),
                         view.Shown(target).count(), SelectedWord(view, source),
                         SelectedWord(view, target)};
    };
    const Selection asked = selection();
    if (asked.source_row < 0 || !asked.source_word) {
        view.Ask({AboutList(source_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                  Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation});
        return;
    }
    const bool whole_word = asked.target_row < 0 || !asked.target_word;
    if (whole_word && asked.target_count > 0) {
        view.Ask({AboutList(target_name, TextId::MSG_PLEASE_SELECT_WORD_TO_DELETE),
                  Text(TextId::MSG_ERROR), kMbOk | kMbIconExclamation});
        return;
    }
    const bool confirmed =
        whole_word ? view.Ask({Text(TextId::MSG_QUESTION_DELETE_WORD) + "\n\n[" + source_name +
                                   "]\n\n--> " + WordForMessage(source, *asked.source_word),
                               source_name, kMbYesNoCancel | kMbIconQuestion}) == kIdYes
                   : ConfirmPair(view, TextId::MSG_QUESTION_DELETE_TRANSLATION, source,
                                 *asked.source_word, *asked.target_word);
    if (!confirmed) return;

    std::unique_lock<std::mutex> engine = HoldEngine(view);
    if (!engine.owns_lock() || !main.loaded() || selection() != asked) {
        report_->Beep();
        return;
    }
    const Dictionaries::Change change(*d_);
    const ListSide side = whole_word ? source : target;
    const int row = whole_word ? asked.source_row : asked.target_row;
    if (whole_word) main.file().journal().DeleteWord(main.handle(), source, *asked.source_word);
    const DB_RESULT* r =
        whole_word ? DB_DeleteWord(main.handle(), EngineList(source), asked.source_word->c_str())
                   : DeletePair(source, *asked.source_word, *asked.target_word);
    if (r->status == 0) {
        main.file().journal().Drop();
        engine.unlock();
        Fail(whole_word ? TextId::MSG_ERROR_DELETING_WORD : TextId::MSG_ERROR_DELETING_TRANSLATION);
        return;
    }
    // The entry goes from its list (a deleted word's text is gone with it).
    lists_->Show(kMain, side, view.Shown(side).Without(row));
    if (!whole_word) panes_->SelectListEntry(kMain, source, asked.source_row, epoch_->load());
    main.RefreshInfo();
    report_->RefreshStatus();
    engine.unlock();
    report_->ShowMessage(
        Text(whole_word ? TextId::MSG_WORD_DELETED : TextId::MSG_TRANSLATION_DELETED),
        Text(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
}

void EditingCommands::ChangeWord(EditingView& view, ListSide side, int row,
                                 const std::string& old_word, const std::string& new_word) {
    DictionarySlot& main = d_->main();
    if (new_word.empty() || !main.loaded()) return;
    std::unique_lock<std::mutex> engine = HoldEngine(view);
    // The row must still show the word the box was opened on.
    const WordList shown = view.Shown(side);
    const char* at_row = row >= 0 && row < shown.count() ? shown[row] : nullptr;
    if (!engine.owns_lock() || !main.loaded() || at_row == nullptr || old_word != at_row) {
        report_->Beep();
        return;
    }
    const Dictionaries::Change change(*d_);
    main.file().journal().ChangeWord(main.handle(), side, old_word, new_word);
    const DB_RESULT* r =
        DB_ChangeWord(main.handle(), EngineList(side), old_word.c_str(), new_word.c_str());
    if (r->status != 2) main.file().journal().Drop();
    if (r->status == 0) {
        engine.unlock();
        Fail(TextId::MSG_CANT_CHANGE_WORD);
        return;
    }
    // The old text may be gone: the row shows the stored new word.
    view.Repaint(side, shown.WithRow(row, r->word));
    main.RefreshInfo();
    report_->RefreshStatus();
}

void EditingCommands::MoveTranslation(EditingView& view, int previous, int row) {
    DictionarySlot& main = d_->main();
    if (!main.loaded()) return;
    const ListSide source = main.source_side();
    const ListSide target = Other(source);
    std::unique_lock<std::mutex> engine = HoldEngine(view);
    WordList targets = view.Shown(target);
    const WordList sources = view.Shown(source);
    const int count = targets.count();
    const int source_row = view.SelectedIndex(source);
    if (!engine.owns_lock() || !main.loaded() || source_row < 0 || source_row >= sources.count() ||
        previous < 0 || previous >= count || row < 0 || row >= count) {
        panes_->SelectListEntry(kMain, target, previous, epoch_->load());
        report_->Beep();
        return;
    }
    const Dictionaries::Change change(*d_);
    const std::string word = sources[source_row];
    const int step = row > previous ? 1 : -1;
    int at = previous;
    bool failed = false;
    for (; at != row; at += step) {
        // The translation now at the dragged one's old place, then the dragged one.
        const WordList swapped = targets.Swapped(at, at + step);
        main.file().journal().SwapTranslations(main.handle(), source, word, swapped[at],
                                               swapped[at + step]);
        const DB_RESULT* r = DB_SwapTranslations(main.handle(), EngineDirection(source),
                                                 word.c_str(), swapped[at], swapped[at + step]);
        if (r->status != 2) main.file().journal().Drop();
        if (r->status == 0) {
            // The list keeps showing the order the dictionary has.
            failed = true;
            break;
        }
        targets = swapped;
    }
    view.Repaint(target, targets);
    if (failed) panes_->SelectListEntry(kMain, target, at, epoch_->load());
    engine.unlock();
    if (failed) Fail(TextId::MSG_ERROR_SWAP_TRANSLATION);
}

DescriptionChange ChangeDescriptionOf(
    DB_HANDLE handle, const std::function<DICTIONARY_INFO(const DICTIONARY_INFO&)>& change) {
    DescriptionChange result;
    const DB_RESULT* r = DB_GetDictionaryInfo(handle, &result.before);
    if (r->status == 0) {
        result.failure = TextId::MSG_CANT_GET_DICTIONARY_INFO;
        result.engine_message = r->message;
        return result;
    }
    const DICTIONARY_INFO changed = change(result.before);
    r = DB_SetDictionaryInfo(handle, &changed);
    if (r->status == 0) {
        result.failure = TextId::MSG_CANT_SET_DICTIONARY_INFO;
        result.engine_message = r->message;
        return result;
    }
    result.changed = true;
    DICTIONARY_INFO stored{};
    result.stored = DB_GetDictionaryInfo(handle, &stored)->status != 0 ? stored : changed;
    return result;
}

DescriptionChange EditingCommands::ChangeDescription(
    EngineWait& wait, const std::function<DICTIONARY_INFO(const DICTIONARY_INFO&)>& change) {
    DictionarySlot& main = d_->main();
    std::unique_lock<std::mutex> engine = HoldEngine(wait);
    if (!engine.owns_lock() || !main.loaded()) {
        DescriptionChange busy;
        busy.failure = TextId::MSG_CANT_GET_DICTIONARY_INFO;
        return busy;
    }
    const Dictionaries::Change changing(*d_);
    const DescriptionChange result = ChangeDescriptionOf(main.handle(), change);
    if (result.changed) {
        main.SetInfo(result.stored);
        // A save that finds the file saved by another program meanwhile
        // makes the same change there.
        main.file().journal().SetDescription(result.before, result.stored);
    }
    return result;
}

std::optional<bool> EditingCommands::MainChanged() {
    d_->EndLoops();
    std::unique_lock<std::mutex> engine(d_->engine_lock(), std::try_to_lock);
    if (!engine.owns_lock()) return std::nullopt;
    const DictionarySlot& main = d_->main();
    return main.loaded() && DB_IsChanged(main.handle()) != 0;
}

}  // namespace wordbay
