// WindowReport: what the window says about the dictionaries and the work on
// them: the titles of the windows, the status line (the word counts of the
// lists), the progress of a long engine call, and the messages of failures.
// The worker uses it while it runs a request; the window's thread asks it
// for the progress and the titles.
#pragma once

#include <mutex>
#include <string>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/message_table.h"
#include "app/shared_settings.h"
#include "app/startup_image.h"

namespace wordbay {

class WindowReport {
public:
    WindowReport(StatusUpdates* status, const Dictionaries* dictionaries,
                 const SharedSettings* settings, const ListDisplay* lists,
                 const StartupImage* image)
        : status_(status)
        , dictionaries_(dictionaries)
        , settings_(settings)
        , lists_(lists)
        , image_(image) {}

    // The status line after a request (word counts, or "Dictionary not loaded").
    std::string StatusText() const;
    // The window titles for the current slots and options.
    WindowTitles Titles() const;
    void Retitle() const;
    void RefreshStatus() const;
    void SetStatus(const std::string& text) const;
    void ShowMessage(const std::string& text, const std::string& caption, unsigned style) const;
    void Beep() const;
    // `message`, then `detail` and the engine's message, each after a blank line.
    void EngineError(TextId message, const std::string& detail, const char* engine_message) const;
    void MemoryError() const;

    // Shows the progress of the engine's long call on `handle` until
    // EndProgress. The handle must live until then.
    void BeginProgress(DB_HANDLE handle);
    void EndProgress();
    // 0..100: how far the call under way is; -1 when none is (any thread).
    int progress() const;
    // What the last word-form look-up says on the status line ("houses:
    // form of house"), "" for nothing; any thread.
    void SetWordFormsStatus(std::string text);

private:
    StatusUpdates* const status_;
    const Dictionaries* const dictionaries_;
    const SharedSettings* const settings_;
    const ListDisplay* const lists_;
    const StartupImage* const image_;
    mutable std::mutex progress_mutex_;
    DB_HANDLE progress_handle_ = nullptr;
    mutable std::mutex word_forms_mutex_;
    std::string word_forms_status_;
};

}  // namespace wordbay
