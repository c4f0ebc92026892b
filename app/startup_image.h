// The look-up image of the main dictionary while the program starts. Until the
// worker has loaded the dictionary, typing in the main window is answered from
// the image (lookup/): the prefix list of the edit box and, with automatic
// translation, the translations of a word typed in full. The search that the
// typing also asked of the worker then runs on the loaded dictionary and
// replaces these answers with its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/search_options.h"
#include "app/window_updates.h"
#include "lookup/lookup_image.h"

namespace wordbay {

class StartupImage {
public:
    // Maps the image of the dictionary file `path` when it is current and
    // starts answering. User-interface thread, before the worker starts.
    bool Open(const std::string& path);

    // Whether typing is answered from the image. Any thread.
    bool answering() const { return answering_.load(); }
    // Whether the window shows the dictionary's description and settings,
    // which the main slot then holds, while the image answers. Any thread.
    bool previewing() const { return answering_.load() && previewed_.load(); }
    void SetPreviewed() { previewed_.store(true); }
    // The code page of the primary (0) or the secondary list (1); only while
    // answering.
    std::uint32_t code_page(int list) const { return image_.code_page(list); }
    // Ends the answers for good: the dictionary is loaded, or failed to load.
    // Any thread; the worker calls it before it empties the lists.
    void Stop() { answering_.store(false); }

    // Answers the edit box `side` of the main slot, whose text the user
    // changed to `text`, when the options ask for a plain prefix search;
    // `source` is the side that translates. User-interface thread.
    void Answer(PaneUpdates* panes, ListSide side, const std::string& text, ListSide source,
                const SearchOptions& options);

    // Answers the hot key (or `wordbay --translate-selection`), whose text
    // `text` is in the edit box `source` of the main slot, as a loaded
    // dictionary would: the prefix list there and the translations of a word
    // found in full, in the main window and in the popup or tooltip that
    // `target` names. False when the image can't answer it (then the loaded
    // dictionary does). User-interface thread.
    bool AnswerHotKey(PaneUpdates* panes, HotKeyUpdates* hot_key, ListSide source,
                      const std::string& text, SearchOptions options, HotKeyTarget target);
    // Whether AnswerHotKey answered in the popup or tooltip, where the user
    // now looks: the end of the start does not call the main window to the
    // front then. Any thread.
    bool answered_elsewhere() const { return answered_elsewhere_.load(); }

private:
    // Shows `words` in a list; answers what it shows.
    WordList Show(PaneUpdates* panes, ListSide side, std::vector<std::string> words);

    lookup::LookupImage image_;
    std::atomic<bool> answering_{false};
    std::atomic<bool> previewed_{false};
    std::atomic<bool> answered_elsewhere_{false};
    WordList shown_[2];  // what the image's answers show in the two lists
};

}  // namespace wordbay
