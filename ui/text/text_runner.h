// TextRunner: the worker of the text translation window. It runs one
// translation over a copy of the source text and reaches the window only
// through queued calls, so a run never waits for the user-interface thread
// and the window may stop it (and wait for it) at any time.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "app/phrase_cutter.h"
#include "ui/widgets/w_thread.h"

class TextWindow;

// The source text in the source list's code page, with the way back and forth
// between its byte offsets and the character positions of the pane.
class EncodedText {
public:
    EncodedText(const QString& text, std::uint32_t code_page);

    const std::string& bytes() const { return bytes_; }
    std::size_t ByteOf(int position) const;
    int PositionOf(std::size_t byte) const;

private:
    std::string bytes_;
    std::vector<int> position_of_byte_;          // one per byte, plus the end
    std::vector<std::size_t> byte_of_position_;  // one per character, plus the end
};

class TextRunner : public WThread {
public:
    // Translates text[from, to) (character positions of the source pane).
    TextRunner(TextWindow* form, const QString& text, int from, int to);
    ~TextRunner() override;

protected:
    int run(std::intptr_t argument) override;
    void wake() override;

private:
    TextWindow* form_;
    EncodedText text_;
    std::size_t from_;
    std::size_t to_;
};
