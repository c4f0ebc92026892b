#include "ui/settings/charmap_form.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <string>

#include "ui/settings/settings_page.h"
#include "ui/widgets/code_page_text.h"

namespace {

constexpr CharmapForm::Charset kCharsets[] = {
    {0, "ANSI"},         {1, "DEFAULT"},   {2, "SYMBOL"},       {128, "SHIFTJIS"},
    {129, "HANGEUL"},    {129, "HANGUL"},  {134, "GB2312"},     {136, "CHINESEBIG5"},
    {255, "OEM"},        {130, "JOHAB"},   {177, "HEBREW"},     {178, "ARABIC"},
    {161, "GREEK"},      {162, "TURKISH"}, {163, "VIETNAMESE"}, {222, "THAI"},
    {238, "EASTEUROPE"}, {204, "RUSSIAN"}, {77, "MAC"},         {186, "BALTIC"},
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
        default:
            return 1252;
    }
}

CharmapForm::CharmapForm(QWidget* parent) : WForm(parent, Qt::Window) {
    setObjectName("TQ_TALLIS_CHARMAP");
    resize(600, 270);
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

    auto* primary = new PageButton(this, kPrimary);
    auto* secondary = new PageButton(this, kSecondary);
    primary->setText("Primary");
    secondary->setText("Secondary");
    primary->setGeometry(kLeft + 160, 8, 80, 24);
    secondary->setGeometry(kLeft + 245, 8, 80, 24);
    for (PageButton* b : {primary, secondary}) {
        b->setCheckable(true);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [b] { b->sendCommand(kButtonClicked); });
    }
    m_primary = primary;
    m_secondary = secondary;

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
        connect(button, &QPushButton::clicked, this,
                [button] { button->sendCommand(kButtonClicked); });
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

void CharmapForm::showCharset(std::uint32_t charset) {
    const int row = rowOf(charset);
    m_charset = row >= 0 ? charset : 0;  // a set the list lacks shows as ANSI
    m_choice->setCurrentIndex(row >= 0 ? row : 0);
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

void CharmapForm::chooseList(bool primary) {
    showCharset(m_listCharsets[primary ? 0 : 1]);
    m_primary->setChecked(primary);
    m_secondary->setChecked(!primary);
}

void CharmapForm::charsetChosen(int row) {
    if (row < 0 || row >= int(std::size(kCharsets))) return;
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

void CharmapForm::command(int code, int id, WControl* /*control*/, qintptr /*param*/) {
    if (code != kButtonClicked) return;
    if (id == kPrimary || id == kSecondary) {
        chooseList(id == kPrimary);
    } else if (id >= kFirstChar && id < kFirstChar + kCharCount) {
        insertChar(id);
    }
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
    const char byte = static_cast<char>(code);
    const QString text = decodeText(codePageOf(m_charset), std::string_view(&byte, 1));
    if (!insertable(text)) return;
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
