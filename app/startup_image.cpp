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

void StartupImage::Show(MainView* view, ListSide side, std::vector<std::string> words) {
    const int n = static_cast<int>(side);
    words_[n] = std::move(words);
    items_[n].clear();
    for (const std::string& word : words_[n]) items_[n].push_back(word.c_str());
    view->ShowList(SlotId::kMain, side, items_[n].data(), static_cast<int>(items_[n].size()));
}

void StartupImage::Answer(MainView* view, ListSide side, ListSide source,
                          const SearchOptions& options) {
    if (!answering() || options.edit_mode || options.ListMode() != DB_LIST_PREFIX) return;
    const ListSide other = Other(side);
    const std::string text = view->EditText(SlotId::kMain, side);
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
    Show(view, side, std::move(words));
    if (!options.auto_translate || side != source) return;
    std::vector<std::string> translations;
    if (typed_in_full && image_.Translate(static_cast<int>(side), first, &translations) ==
                             lookup::LookupImage::Answer::kFound) {
        view->SelectListEntry(SlotId::kMain, side, 0);
        view->SetEditText(SlotId::kMain, other, translations[0]);
    } else {
        view->SetEditText(SlotId::kMain, other, "");
    }
    Show(view, other, std::move(translations));
}

bool StartupImage::AnswerHotKey(MainView* view, ListSide source, SearchOptions options) {
    if (!answering()) return false;
    // The hot key lists by prefix and translates whatever the options say.
    options.edit_mode = false;
    options.anagram_mode = 0;
    options.regex = false;
    options.wildcards = false;
    options.auto_translate = true;
    view->HotKeyClear();
    const std::string text = view->EditText(SlotId::kMain, source);
    if (text.empty()) return true;
    view->HotKeyShowText(text);
    Answer(view, source, source, options);
    if (!answering()) return false;
    if (options.hot_key_target != HotKeyTarget::kMainWindow) answered_elsewhere_.store(true);
    const std::vector<std::string>& translations = words_[static_cast<int>(Other(source))];
    if (options.hot_key_target != HotKeyTarget::kMainWindow && !translations.empty()) {
        hot_key_words_ = translations;
        hot_key_items_.clear();
        for (const std::string& word : hot_key_words_) hot_key_items_.push_back(word.c_str());
        view->HotKeyShowList(hot_key_items_.data(), static_cast<int>(hot_key_items_.size()));
    }
    return true;
}

}  // namespace wordbay
