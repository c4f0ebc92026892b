#include "app/startup_image.h"

#include <utility>

#include "app/image_writer.h"

namespace wordbay {

bool StartupImage::Open(const std::string& path) {
    std::string source;
    std::string image;
    lookup::SourceKey key;
    if (!ResolveImageSource(path, &source, &key, &image) || !image_.Open(image, source, key) ||
        !image_.HasPrefixes(0) || !image_.HasPrefixes(1)) {
        return false;
    }
    answering_.store(true);
    return true;
}

WordList StartupImage::Show(PaneUpdates* panes, ListSide side, std::vector<std::string> words) {
    WordList& shown = shown_[static_cast<int>(side)];
    shown = WordList::Copy(std::move(words), 0);
    panes->ShowList(SlotId::kMain, side, shown);
    return shown;
}

void StartupImage::Answer(PaneUpdates* panes, ListSide side, const std::string& text,
                          ListSide source, const SearchOptions& options) {
    if (!answering() || options.edit_mode || options.ListMode() != DB_LIST_PREFIX) return;
    const ListSide other = Other(side);
    std::vector<std::string> words;
    const lookup::LookupImage::Answer listed =
        text.empty() ? lookup::LookupImage::Answer::kNotFound
                     : image_.ListPrefix(static_cast<int>(side), text, options.case_sensitive,
                                         options.ignore_accents, 0xFFFFFFFF, &words);
    if (listed == lookup::LookupImage::Answer::kDamaged) {
        Stop();  // the loaded dictionary answers the search soon
        return;
    }
    // A word typed in full is the first listed, as long as the text under the
    // fold (the list begins with what folds like the text).
    const bool typed_in_full = !words.empty() && words[0].size() == text.size();
    const std::string first = typed_in_full ? words[0] : std::string();
    Show(panes, side, std::move(words));
    if (!options.auto_translate || side != source) return;
    std::vector<std::string> translations;
    if (typed_in_full && image_.Translate(static_cast<int>(side), first, &translations) ==
                             lookup::LookupImage::Answer::kFound) {
        panes->SelectListEntry(SlotId::kMain, side, 0, 0);
        panes->SetEditText(SlotId::kMain, other, translations[0]);
    } else {
        panes->SetEditText(SlotId::kMain, other, "");
    }
    Show(panes, other, std::move(translations));
}

bool StartupImage::AnswerHotKey(PaneUpdates* panes, HotKeyUpdates* hot_key, ListSide source,
                                const std::string& text, SearchOptions options,
                                HotKeyTarget target) {
    if (!answering()) return false;
    // The hot key lists by prefix and translates whatever the options say.
    options.edit_mode = false;
    options.anagram_mode = 0;
    options.regex = false;
    options.wildcards = false;
    options.auto_translate = true;
    hot_key->HotKeyClear();
    if (text.empty()) return true;
    hot_key->HotKeyShowText(text);
    Answer(panes, source, text, source, options);
    if (!answering()) return false;
    if (target == HotKeyTarget::kMainWindow) return true;
    answered_elsewhere_.store(true);
    const WordList& translations = shown_[static_cast<int>(Other(source))];
    if (!translations.empty()) hot_key->HotKeyShowList(translations);
    return true;
}

}  // namespace wordbay
