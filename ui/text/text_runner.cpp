#include "ui/text/text_runner.h"

#include <algorithm>

#include "app/text_translator.h"
#include "ui/text/text_window.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/ui_thread.h"

namespace {

// Shows what the run does in the window, from the worker thread.
class QueuedView : public wordbay::TextTranslationView {
public:
    QueuedView(TextWindow* form, const EncodedText& text, std::uint32_t source_page,
               std::uint32_t target_page)
        : form_(form), text_(text), source_page_(source_page), target_page_(target_page) {}

    void AppendOriginal(std::string_view bytes) override {
        Append(decodeText(source_page_, bytes));
    }
    void AppendTranslation(std::string_view bytes) override {
        Append(decodeText(target_page_, bytes));
    }
    void ShowPosition(const wordbay::Phrase& phrase) override {
        const int start = text_.PositionOf(phrase.start);
        postToUiThread(form_, [form = form_, start] { form->showPosition(start); });
    }
    void AskPhrase(const wordbay::Phrase& phrase, const char* const* translations,
                   int count) override {
        // The run refills its array at the next phrase; the window keeps a copy.
        std::vector<const char*> items(translations, translations + std::max(count, 0));
        const QString shown = decodeText(source_page_, phrase.text);
        const int start = text_.PositionOf(phrase.start);
        const int end = text_.PositionOf(phrase.end);
        postToUiThread(form_,
                       [form = form_, shown, start, end, items = std::move(items)]() mutable {
                           form->askPhrase(shown, start, end, std::move(items));
                       });
    }
    void SetProgress(int percent) override {
        postToUiThread(form_, [form = form_, percent] { form->showProgress(percent); });
    }

private:
    void Append(const QString& text) {
        if (text.isEmpty()) return;
        postToUiThread(form_, [form = form_, text] { form->appendTarget(text); });
    }

    TextWindow* form_;
    const EncodedText& text_;
    std::uint32_t source_page_;
    std::uint32_t target_page_;
};

}  // namespace

EncodedText::EncodedText(const QString& text, std::uint32_t code_page) {
    bytes_.reserve(static_cast<std::size_t>(text.size()));
    position_of_byte_.reserve(static_cast<std::size_t>(text.size()) + 1);
    byte_of_position_.reserve(static_cast<std::size_t>(text.size()) + 1);
    int position = 0;
    while (position < text.size()) {
        // One character (a surrogate pair counts as one) at a time, so that
        // every byte knows the character it came from.
        const bool pair = text[position].isHighSurrogate() && position + 1 < text.size() &&
                          text[position + 1].isLowSurrogate();
        const int width = pair ? 2 : 1;
        const QChar c = text[position];
        std::string encoded = c.unicode() < 0x80 && !pair
                                  ? std::string(1, static_cast<char>(c.unicode()))
                                  : encodeText(code_page, text.mid(position, width));
        for (int i = 0; i < width; ++i) byte_of_position_.push_back(bytes_.size());
        for (std::size_t i = 0; i < encoded.size(); ++i) position_of_byte_.push_back(position);
        bytes_ += encoded;
        position += width;
    }
    byte_of_position_.push_back(bytes_.size());
    position_of_byte_.push_back(position);
}

std::size_t EncodedText::ByteOf(int position) const {
    const auto index = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(position, 0)), 0,
                                               byte_of_position_.size() - 1);
    return byte_of_position_[index];
}

int EncodedText::PositionOf(std::size_t byte) const {
    return position_of_byte_[std::min(byte, position_of_byte_.size() - 1)];
}

TextRunner::TextRunner(TextWindow* form, const QString& text, int from, int to)
    : form_(form)
    , text_(text, form->m_run.source_code_page)
    , from_(text_.ByteOf(from))
    , to_(text_.ByteOf(to)) {}

TextRunner::~TextRunner() { stop(); }

void TextRunner::wake() {
    // Reaping a finished run must not count as the user's stop.
    if (isRunning()) form_->m_translator.Stop();
}

int TextRunner::run(std::intptr_t) {
    const TextDictionaries& run = form_->m_run;
    wordbay::TextLookup lookup(run.lookup);
    const wordbay::WordCharacters chars(run.source_code_page);
    QueuedView view(form_, text_, run.source_code_page, run.target_code_page);
    const int depth = form_->m_settings->search_depth;
    if (form_->m_settings->fast_translation) {
        form_->m_translator.RunFast(text_.bytes(), from_, to_, depth, chars, lookup, view);
    } else {
        form_->m_translator.RunStep(text_.bytes(), from_, to_, depth, chars, lookup, view);
    }
    postToUiThread(form_, [form = form_] { form->runFinished(); });
    return 0;
}
