#include "ui/settings/charmap_form.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>
#include <string>

#include "platform/locale.h"
#include "ui/settings/char_pages.h"
#include "ui/settings/settings_page.h"
#include "ui/widgets/code_page_text.h"

namespace {

constexpr CharmapForm::Charset kCharsets[] = {
    {0, "ANSI"},       {1, "DEFAULT"},       {2, "SYMBOL"},
    {128, "SHIFTJIS"}, {129, "HANGEUL"},     {129, "HANGUL"},
    {134, "GB2312"},   {136, "CHINESEBIG5"}, {255, "OEM"},
    {130, "JOHAB"},    {177, "HEBREW"},      {178, "ARABIC"},
    {161, "GREEK"},    {162, "TURKISH"},     {163, "VIETNAMESE"},
    {222, "THAI"},     {238, "EASTEUROPE"},  {204, "RUSSIAN"},
    {77, "MAC"},       {186, "BALTIC"},      {CharmapForm::kUtf8Charset, "UTF-8"},
};

// Geometry of the character buttons.
constexpr int kButtonSize = 20;
constexpr int kColumnStep = 23;
constexpr int kRowStep = 22;
constexpr int kFirstRowY = 40;
constexpr int kLeft = 5;

int rowOf(std::uint32_t charset) {
    for (std::size_t i = 0; i < std::size(kCharsets); ++i) {
        if (kCharsets[i].value == charset) return int(i);
    }
    return -1;
}

// A byte the code page leaves undefined (or a lead byte of a two-byte page)
// and a control character are nothing to insert into a search.
bool insertable(const QString& text) {
    return !text.isEmpty() && text[0] != QChar(QChar::ReplacementCharacter) && text[0].isPrint();
}

// A button of the top row, which sends its command when clicked.
PageButton* topButton(QWidget* form, int id, const char* text, int x, int width, bool checkable) {
    auto* button = new PageButton(form, id);
    button->setText(text);
    button->setGeometry(kLeft + x, 8, width, 24);
    button->setCheckable(checkable);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QString ucs4Text(char32_t ch) { return QString::fromUcs4(&ch, 1); }

// What a button shows: a combining mark on a dotted circle, an ampersand
// doubled (it would be taken for a shortcut mark).
QString buttonText(char32_t ch) {
    if (ch == '&') return QStringLiteral("&&");
    const QString text = ucs4Text(ch);
    const QChar::Category category = QChar::category(ch);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
        category == QChar::Mark_Enclosing) {
        return QChar(0x25CC) + text;
    }
    return text;
}

}  // namespace

std::span<const CharmapForm::Charset> CharmapForm::charsets() { return kCharsets; }

std::uint32_t CharmapForm::codePageOf(std::uint32_t charset) {
    switch (charset) {
        case 238:
            return 1250;
        case 204:
            return 1251;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 163:
            return 1258;
        case 222:
            return 874;
        case 128:
            return 932;
        case 134:
            return 936;
        case 129:
            return 949;
        case 136:
            return 950;
        case kUtf8Charset:
            return kUtf8Charset;
        default:
            return 1252;
    }
}

CharmapForm::CharmapForm(QWidget* parent) : WForm(parent, Qt::Window) {
    setObjectName("TQ_TALLIS_CHARMAP");
    resize(600, 270);
    m_shown.assign(kCharCount, 0);
    createControls();
    showCharset(0);
    connect(qApp, &QApplication::focusChanged, this, &CharmapForm::focusChanged);
}

CharmapForm::~CharmapForm() = default;

void CharmapForm::createControls() {
    auto* choice = new PageCombo(this, kCharsetChoice);
    for (const Charset& c : kCharsets) choice->addItem(QString::fromLatin1(c.name));
    choice->setGeometry(kLeft, 8, 150, 24);
    connect(choice, &QComboBox::activated, this, &CharmapForm::charsetChosen);
    m_choice = choice;

    m_primary = topButton(this, kPrimary, "Primary", 160, 80, true);
    m_secondary = topButton(this, kSecondary, "Secondary", 245, 80, true);

    auto* blocks = new PageCombo(this, kBlockChoice);
    blocks->setObjectName("blockChoice");
    blocks->setGeometry(kLeft + 330, 8, 200, 24);
    blocks->setMaxVisibleItems(20);
    connect(blocks, &QComboBox::activated, this, [this](int row) { showUnicodePage(row, 0); });
    m_blocks = blocks;
    m_previous = topButton(this, kPreviousPage, "<", 535, 24, false);
    m_next = topButton(this, kNextPage, ">", 562, 24, false);
    connect(m_primary, &QPushButton::clicked, this, [this] { chooseList(true); });
    connect(m_secondary, &QPushButton::clicked, this, [this] { chooseList(false); });
    connect(m_previous, &QPushButton::clicked, this,
            [this] { showUnicodePage(m_blocks->currentIndex(), m_page - 1); });
    connect(m_next, &QPushButton::clicked, this,
            [this] { showUnicodePage(m_blocks->currentIndex(), m_page + 1); });
    // Only UTF-8 shows them.
    m_blocks->hide();
    m_previous->hide();
    m_next->hide();

    const QFont font("Arial", 10);
    auto* background = new QWidget(this);  // light grey behind the buttons
    background->setObjectName("charBackground");
    background->setAutoFillBackground(true);
    QPalette grey = background->palette();
    grey.setColor(QPalette::Window, QColor(0xE6, 0xE6, 0xE6));
    background->setPalette(grey);
    background->lower();
    for (int code = kFirstChar; code < kFirstChar + kCharCount; ++code) {
        auto* button = new PageButton(this, code);
        button->setObjectName(QStringLiteral("char%1").arg(code));
        button->setFont(font);
        button->setFixedSize(kButtonSize, kButtonSize);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, code] { insertChar(code); });
        m_chars.append(button);
    }
    layOutButtons(width());
}

void CharmapForm::layOutButtons(int width) {
    const int perRow = std::max(1, (width - kLeft) / kColumnStep);
    for (int i = 0; i < m_chars.size(); ++i) {
        m_chars[i]->move(kLeft + (i % perRow) * kColumnStep, kFirstRowY + (i / perRow) * kRowStep);
    }
    if (auto* background = findChild<QWidget*>("charBackground")) {
        background->setGeometry(0, kFirstRowY - 3, width, height() - kFirstRowY + 3);
    }
}

void CharmapForm::onSize(int width, int /*height*/) { layOutButtons(width); }

void CharmapForm::setListCharsets(std::uint32_t primary, std::uint32_t secondary) {
    m_listCharsets[0] = primary;
    m_listCharsets[1] = secondary;
    if (m_primary->isChecked()) {
        chooseList(true);
    } else if (m_secondary->isChecked()) {
        chooseList(false);
    } else {
        updateListButtons();
    }
}

void CharmapForm::setListLocales(std::uint32_t primary, std::uint32_t secondary) {
    m_listLocales[0] = primary;
    m_listLocales[1] = secondary;
}

void CharmapForm::showCharset(std::uint32_t charset) {
    const int row = rowOf(charset);
    m_charset = row >= 0 ? charset : 0;  // a set the list lacks shows as ANSI
    m_choice->setCurrentIndex(row >= 0 ? row : 0);
    const bool unicode = m_charset == kUtf8Charset;
    m_blocks->setVisible(unicode);
    m_previous->setVisible(unicode);
    m_next->setVisible(unicode);
    if (unicode) {
        fillBlockChoice();
        showUnicodePage(0, 0);
        updateListButtons();
        return;
    }
    m_shown.assign(kCharCount, 0);
    const std::uint32_t codePage = codePageOf(m_charset);
    for (int i = 0; i < m_chars.size(); ++i) {
        const char byte = static_cast<char>(kFirstChar + i);
        QString text = decodeText(codePage, std::string_view(&byte, 1));
        // An ampersand would be taken for a shortcut mark.
        if (text == "&") text = "&&";
        m_chars[i]->setText(text);
        m_chars[i]->setEnabled(insertable(text));
    }
    updateListButtons();
}

std::uint32_t CharmapForm::lettersLocale() const { return m_listLocales[m_lettersList]; }

// Row 0: the letters of the language; then every Unicode block.
void CharmapForm::fillBlockChoice() {
    m_blocks->clear();
    const QLocale locale(QString::fromStdString(platform::IcuLocaleName(lettersLocale())));
    const QString english = QLocale::languageToString(locale.language());
    const QString native = locale.nativeLanguageName();
    m_blocks->addItem(native.isEmpty() || native == english
                          ? english
                          : QStringLiteral("%1 (%2)").arg(native, english));
    for (const charmap::UnicodeBlock& block : charmap::unicodeBlocks()) {
        m_blocks->addItem(QString::fromStdString(block.name));
    }
}

void CharmapForm::showUnicodePage(int blockRow, int page) {
    const auto& blocks = charmap::unicodeBlocks();
    if (blockRow < 0 || blockRow > int(blocks.size())) return;
    if (blockRow != m_blocks->currentIndex() || page == 0) {
        m_pageSet = blockRow == 0 ? charmap::languageLetters(lettersLocale())
                                  : charmap::blockChars(blocks[std::size_t(blockRow - 1)]);
        if (blockRow == 0 && m_pageSet.empty()) m_pageSet = charmap::blockChars(blocks[0]);
    }
    m_blocks->setCurrentIndex(blockRow);
    const int pages = std::max(1, int((m_pageSet.size() + kCharCount - 1) / kCharCount));
    m_page = std::clamp(page, 0, pages - 1);
    for (int i = 0; i < kCharCount; ++i) {
        const std::size_t at = std::size_t(m_page) * kCharCount + std::size_t(i);
        const char32_t ch = at < m_pageSet.size() ? m_pageSet[at] : 0;
        m_shown[std::size_t(i)] = ch;
        m_chars[i]->setText(ch != 0 ? buttonText(ch) : QString());
        m_chars[i]->setToolTip(
            ch != 0 ? QStringLiteral("U+%1").arg(uint(ch), 4, 16, QChar('0')).toUpper()
                    : QString());
        m_chars[i]->setEnabled(ch != 0);
    }
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pages);
}

char32_t CharmapForm::unicodeChar(int code) const {
    const int i = code - kFirstChar;
    return m_charset == kUtf8Charset && i >= 0 && i < kCharCount ? m_shown[std::size_t(i)] : 0;
}

void CharmapForm::chooseList(bool primary) {
    m_lettersList = primary ? 0 : 1;
    showCharset(m_listCharsets[primary ? 0 : 1]);
    m_primary->setChecked(primary);
    m_secondary->setChecked(!primary);
}

void CharmapForm::charsetChosen(int row) {
    if (row < 0 || row >= int(std::size(kCharsets))) return;
    // UTF-8 chosen by hand offers the letters of a UTF-8 list's language.
    m_lettersList = m_listCharsets[0] != kUtf8Charset && m_listCharsets[1] == kUtf8Charset ? 1 : 0;
    showCharset(kCharsets[row].value);
}

// Primary and Secondary are ticked when the set shown is that list's; the
// primary list wins when both lists share it.
void CharmapForm::updateListButtons() {
    const bool primary = m_charset == m_listCharsets[0];
    m_primary->setChecked(primary);
    m_secondary->setChecked(!primary && m_charset == m_listCharsets[1]);
}

QAbstractButton* CharmapForm::charButton(int code) const {
    const int i = code - kFirstChar;
    return i >= 0 && i < m_chars.size() ? m_chars[i] : nullptr;
}

// Keeps the last widget outside this window that had the focus: the edit box
// the user is typing in when they turn to the map.
void CharmapForm::focusChanged(QWidget* old, QWidget* now) {
    if (now != nullptr && now->window() != this) {
        m_lastFocus = now;
    } else if (now != nullptr && old != nullptr && old->window() != this) {
        m_lastFocus = old;
    }
}

void CharmapForm::insertChar(int code) {
    QWidget* target = m_lastFocus.data();
    const bool editBox = qobject_cast<QLineEdit*>(target) != nullptr ||
                         qobject_cast<QPlainTextEdit*>(target) != nullptr;
    if (!editBox || !m_accepts || !m_accepts(target)) target = m_fallback ? m_fallback() : nullptr;
    if (target == nullptr) return;
    QString text;
    if (m_charset == kUtf8Charset) {
        const char32_t ch = unicodeChar(code);
        if (ch == 0) return;
        text = ucs4Text(ch);
    } else {
        const char byte = static_cast<char>(code);
        text = decodeText(codePageOf(m_charset), std::string_view(&byte, 1));
        if (!insertable(text)) return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        if (line->isReadOnly()) return;
        line->end(false);
        line->insert(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
        if (plain->isReadOnly()) return;
        QTextCursor cursor = plain->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
        plain->setTextCursor(cursor);
    }
}

bool CharmapForm::onClose() {
    hide();
    if (m_activateMain) m_activateMain();
    return true;  // the window stays, hidden, for the next time
}
