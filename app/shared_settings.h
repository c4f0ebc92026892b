// SharedSettings: the search options and the dictionary state that the window
// and the worker share, and the flags of a search under way. Any thread; each
// read is a copy taken under the settings' own lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "app/program_settings.h"
#include "app/search_options.h"

namespace wordbay {

// The program settings the requests read and change ([options] "showsplash",
// [dictionary] "current", "dual", "dualname", "convertv2"). The main window
// hands them over at start and reads them back before it writes the file.
struct DictionaryState {
    bool show_splash = true;
    bool convert_v2 = false;
    std::string current;    // file name of the main dictionary
    bool dual = false;      // dual mode wanted at start
    std::string dual_name;  // file name of the dual dictionary
};

class SharedSettings {
public:
    // Takes the options and the dictionary state the program settings keep
    // (the one mapping between the two, both ways).
    void TakeFrom(const ProgramSettings& program);
    // Keeps them in the program settings, for the close.
    void KeepIn(ProgramSettings* program) const;

    SearchOptions options() const;
    void SetOptions(const SearchOptions& options);
    DictionaryState dictionary_state() const;
    void SetDictionaryState(const DictionaryState& state);
    // Runs `change` on the options and the state with their lock held.
    void Change(const std::function<void(SearchOptions&, DictionaryState&)>& change);

    // Set while a search started by the hot keys or from the popup is under
    // way: its results then also go to the popup or the tooltip. Each such
    // call has a number, which the requests it makes carry.
    bool hot_key_pending() const { return hot_key_call() != 0; }
    // The number of the call under way; 0 when none is.
    std::uint64_t hot_key_call() const { return hot_key_pending_.load(); }
    // On: a new call (the word typed into the popup since is one); off: none.
    void SetHotKeyPending(bool on) { hot_key_pending_.store(on ? ++hot_key_calls_ : 0); }
    // Ends call `call` once its answer is shown, unless a newer call has
    // started meanwhile: the user typing on in the popup keeps the answer
    // of what was typed last coming there.
    void EndHotKeyCall(std::uint64_t call) { hot_key_pending_.compare_exchange_strong(call, 0); }
    // The last word listing was a regular expression that left words out for
    // needing too much work: the status line says so.
    bool search_incomplete() const { return search_incomplete_.load(); }
    void SetSearchIncomplete(bool on) { search_incomplete_.store(on); }
    // The main dictionary was saved for closing; a load clears it.
    bool saved_while_closing() const { return saved_while_closing_.load(); }
    void SetSavedWhileClosing(bool on) { saved_while_closing_.store(on); }

private:
    mutable std::mutex mutex_;
    SearchOptions options_;
    DictionaryState state_;
    std::atomic<std::uint64_t> hot_key_pending_{0};  // the call under way
    std::atomic<std::uint64_t> hot_key_calls_{0};    // the last call's number
    std::atomic<bool> search_incomplete_{false};
    std::atomic<bool> saved_while_closing_{false};
};

}  // namespace wordbay
