// CharmapForm: the character map window ("TQ_TALLIS_CHARMAP"). It shows the
// characters 32 to 255 of a character set as buttons; clicking one appends
// that character to the edit box the user was typing in before turning to
// this window, when that box is one the program accepts (its search edit
// boxes, the popup's, the text translation panes), else to the current search
// edit box, and puts the caret after it.
//
// "Primary" (7000) and "Secondary" (7001) choose the character set of that
// list of the current dictionary; the combo box (7002) chooses any set, and
// ticks Primary or Secondary when the set is that list's. Closing the window
// hides it and brings the main window forward.
//
// A UTF-8 list (charset 65001, "UTF-8" in the choice) has no 224 characters
// of its own: a second box (7003) offers the letters of the list's language
// and every Unicode block, shown a page of 224 characters at a time ("<"
// 7004, ">" 7005); a button inserts its character, a combining mark alone.
#pragma once

#include <QList>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "ui/widgets/w_form.h"

class QAbstractButton;
class QComboBox;
class QPushButton;

class CharmapForm : public WForm {
    Q_OBJECT

public:
    static constexpr int kPrimary = 7000;
    static constexpr int kSecondary = 7001;
    static constexpr int kCharsetChoice = 7002;
    static constexpr int kBlockChoice = 7003;
    static constexpr int kPreviousPage = 7004;
    static constexpr int kNextPage = 7005;
    static constexpr std::uint32_t kUtf8Charset = 65001;
    static constexpr int kFirstChar = 32;
    static constexpr int kCharCount = 224;

    // One character set of the choice box: the GDI value and its name.
    struct Charset {
        std::uint32_t value;
        const char* name;
    };
    static std::span<const Charset> charsets();
    // The Windows code page the characters of `charset` are decoded from.
    static std::uint32_t codePageOf(std::uint32_t charset);

    explicit CharmapForm(QWidget* parent = nullptr);
    ~CharmapForm() override;

    // The character sets of the current dictionary's two lists. Sets the
    // shown set anew when Primary or Secondary is chosen.
    void setListCharsets(std::uint32_t primary, std::uint32_t secondary);
    // The locales (LCIDs) of the two lists: a UTF-8 list offers its
    // language's letters first. Call before setListCharsets.
    void setListLocales(std::uint32_t primary, std::uint32_t secondary);
    // Which edit boxes (QLineEdit or QPlainTextEdit) may receive characters.
    void setEditFilter(std::function<bool(QWidget*)> accepts) { m_accepts = std::move(accepts); }
    // The edit box that receives characters otherwise: the current
    // dictionary's search edit box of the current direction (may be null).
    void setFallbackEdit(std::function<QWidget*()> fallback) { m_fallback = std::move(fallback); }
    // Called when the window closes, to bring the main window forward.
    void setActivateMain(std::function<void()> activate) { m_activateMain = std::move(activate); }

    // Shows the characters of `charset` (its row in the choice box, or ANSI
    // when it has none) and ticks the list it belongs to.
    void showCharset(std::uint32_t charset);
    std::uint32_t charset() const { return m_charset; }
    // Chooses the primary (true) or secondary list's character set.
    void chooseList(bool primary);

    // The button of character `code` (32..255), or null. With UTF-8 the
    // buttons hold the characters of the page shown, in order from 32.
    QAbstractButton* charButton(int code) const;
    // UTF-8: the character of button `code`, 0 for none.
    char32_t unicodeChar(int code) const;
    // UTF-8: chooses the letters of the language (row 0) or a Unicode block
    // (row 1 on), and a page of it.
    void showUnicodePage(int blockRow, int page);
    // The widget that had the focus before this window took it.
    QWidget* rememberedEdit() const { return m_lastFocus; }

protected:
    bool onClose() override;
    void onSize(int width, int height) override;

private:
    void createControls();
    void charsetChosen(int row);
    void layOutButtons(int width);
    void updateListButtons();
    void insertChar(int code);
    void fillBlockChoice();
    std::uint32_t lettersLocale() const;
    void focusChanged(QWidget* old, QWidget* now);

    QComboBox* m_choice = nullptr;
    QPushButton* m_primary = nullptr;
    QPushButton* m_secondary = nullptr;
    QList<QPushButton*> m_chars;
    QComboBox* m_blocks = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    std::uint32_t m_listCharsets[2] = {0, 0};
    std::uint32_t m_listLocales[2] = {0, 0};
    int m_lettersList = 0;            // the list whose language's letters row 0 offers
    std::vector<char32_t> m_pageSet;  // UTF-8: the characters of the row shown
    int m_page = 0;
    std::vector<char32_t> m_shown;  // UTF-8: the character of each button
    std::uint32_t m_charset = 0;
    QPointer<QWidget> m_lastFocus;
    std::function<bool(QWidget*)> m_accepts;
    std::function<QWidget*()> m_fallback;
    std::function<void()> m_activateMain;
};
