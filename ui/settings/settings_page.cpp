#include "ui/settings/settings_page.h"

#include <QKeyEvent>
#include <QPainter>

#include "app/dictionary_settings.h"

ColorSwatch::ColorSwatch(QWidget* parent, int id, std::function<std::uint32_t()> color)
    : QFrame(parent), WControl(this, id), m_color(std::move(color)) {
    setObjectName(QStringLiteral("item%1").arg(id));
    setFrameShape(QFrame::Box);
    setFixedSize(24, 16);
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), colorFromRef(m_color()));
    }
    QFrame::paintEvent(event);
}

QColor colorFromRef(std::uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

int askUser(QWidget* owner, wordbay::TextId text, wordbay::TextId caption, unsigned style) {
    MessageBoxButtonTable buttons;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const wordbay::MessageBoxButton& row = wordbay::kMessageBoxButtons[i];
        buttons[i] = {row.id, uiText(row.text)};
    }
    return messageBox(owner, uiText(text), uiText(caption), style, &buttons);
}

SettingsPage::SettingsPage(const SettingsContext& context, SettingsTarget* target, QWidget* parent)
    : WDialog(parent), m_context(context), m_target(target) {
    // A child page, not a window of its own.
    setWindowFlags(Qt::Widget);
}

SettingsPage::~SettingsPage() = default;

const wordbay::DictionarySettings& SettingsPage::dictionary() const {
    static const wordbay::DictionarySettings kDefaults;
    return m_context.dictionary != nullptr ? *m_context.dictionary : kDefaults;
}

void SettingsPage::forwardViewChanges() {
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        const int id = it.key();
        const auto pass = [this, id](int value) {
            if (m_target != nullptr) m_target->viewChanged(id, value);
            afterViewChange(id);
        };
        if (auto* combo = qobject_cast<QComboBox*>(it.value())) {
            connect(combo, &QComboBox::activated, this, pass);
        } else if (auto* button = qobject_cast<QAbstractButton*>(it.value())) {
            connect(button, &QAbstractButton::clicked, this, [pass] { pass(0); });
        }
    }
}

void SettingsPage::repaintSwatches() {
    for (ColorSwatch* swatch : std::as_const(m_swatches)) swatch->update();
}

PageCheck* SettingsPage::addCheck(QWidget* parent, int id, wordbay::TextId label, bool ticked) {
    auto* box = new PageCheck(parent, id);
    box->setText(uiText(label));
    box->setChecked(ticked);
    registerItem(id, box);
    return box;
}

PageRadio* SettingsPage::addRadio(QWidget* parent, int id, wordbay::TextId label, bool checked) {
    auto* radio = new PageRadio(parent, id);
    radio->setText(uiText(label));
    radio->setChecked(checked);
    registerItem(id, radio);
    return radio;
}

PageButton* SettingsPage::addButton(QWidget* parent, int id, wordbay::TextId label) {
    auto* button = new PageButton(parent, id);
    button->setText(uiText(label));
    button->setAutoDefault(false);
    registerItem(id, button);
    return button;
}

PageCombo* SettingsPage::addCombo(QWidget* parent, int id) {
    auto* combo = new PageCombo(parent, id);
    registerItem(id, combo);
    return combo;
}

PageGroup* SettingsPage::addGroup(QWidget* parent, int id, const QString& title) {
    auto* group = new PageGroup(parent, id);
    group->setTitle(title);
    registerItem(id, group);
    return group;
}

ColorSwatch* SettingsPage::addSwatch(QWidget* parent, int id,
                                     std::function<std::uint32_t()> color) {
    auto* swatch = new ColorSwatch(parent, id, std::move(color));
    registerItem(id, swatch);
    m_swatches.append(swatch);
    return swatch;
}

void SettingsPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Enter:
        case Qt::Key_Return:
            event->ignore();  // on to DlgMain
            return;
        default:
            WDialog::keyPressEvent(event);
    }
}
