// What the pages of the settings dialog share: controls that carry their
// command ids, colour swatches, interface texts and the page base class.
//
// A page is a child dialog of DlgMain. Its controls are connected to the
// page, which does its own part (the few options it keeps itself) and tells
// the target, the main window, which changes the option and applies it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QString>
#include <cstdint>
#include <functional>

#include "app/message_table.h"
#include "ui/settings/settings_context.h"
#include "ui/settings/settings_target.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_dialog.h"
#include "ui/widgets/w_message_box.h"

namespace wordbay {
struct DictionarySettings;
}

// A Qt control that carries command id `id` (object name "item<id>").
template <class Base>
class PageControl : public Base, public WControl {
public:
    PageControl(QWidget* parent, int id) : Base(parent), WControl(this, id) {
        this->setObjectName(QStringLiteral("item%1").arg(id));
    }
};

using PageCheck = PageControl<QCheckBox>;
using PageRadio = PageControl<QRadioButton>;
using PageButton = PageControl<QPushButton>;
using PageCombo = PageControl<QComboBox>;
using PageGroup = PageControl<QGroupBox>;
using PageSlider = PageControl<QSlider>;

// A static control filled with a colour (0x00BBGGRR) that it asks for each
// time it paints, so a repaint shows the current value.
class ColorSwatch : public QFrame, public WControl {
    Q_OBJECT

public:
    ColorSwatch(QWidget* parent, int id, std::function<std::uint32_t()> color);
    std::uint32_t color() const { return m_color(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<std::uint32_t()> m_color;
};

// A colour reference 0x00BBGGRR as a QColor.
QColor colorFromRef(std::uint32_t ref);

// The program's message box with the interface-language button texts.
int askUser(QWidget* owner, wordbay::TextId text, wordbay::TextId caption, unsigned style);

class SettingsPage : public WDialog {
    Q_OBJECT

public:
    SettingsPage(const SettingsContext& context, SettingsTarget* target, QWidget* parent);
    ~SettingsPage() override;

    // The control with command id `id`, or null (the page's GetDlgItem).
    QWidget* item(int id) const { return m_items.value(id); }
    template <class T>
    T* itemAs(int id) const {
        return dynamic_cast<T*>(item(id));
    }

protected:
    // Null when nobody listens.
    SettingsTarget* target() const { return m_target; }
    // Passes every use of the page's buttons, boxes and lists on to the
    // target as a view change (a list's chosen row as the value), then calls
    // afterViewChange().
    void forwardViewChanges();
    virtual void afterViewChange(int /*viewId*/) {}
    // Repaints the colour swatches after the main window changed a colour.
    void repaintSwatches();

    // Creators of the page's controls.
    PageCheck* addCheck(QWidget* parent, int id, wordbay::TextId label, bool ticked);
    PageRadio* addRadio(QWidget* parent, int id, wordbay::TextId label, bool checked);
    PageButton* addButton(QWidget* parent, int id, wordbay::TextId label);
    PageCombo* addCombo(QWidget* parent, int id);
    PageGroup* addGroup(QWidget* parent, int id, const QString& title);
    ColorSwatch* addSwatch(QWidget* parent, int id, std::function<std::uint32_t()> color);

    // A page lives inside the dialog: Enter and Esc belong to DlgMain.
    void keyPressEvent(QKeyEvent* event) override;
    void onOk() override {}
    void onCancel() override {}

    const SettingsContext& context() const { return m_context; }
    // The dictionary settings shown: the current dictionary's, or the
    // defaults when none is open.
    const wordbay::DictionarySettings& dictionary() const;

    // Makes `widget` findable by item(id).
    void registerItem(int id, QWidget* widget) { m_items.insert(id, widget); }

private:
    SettingsContext m_context;
    SettingsTarget* m_target;
    QHash<int, QWidget*> m_items;
    QList<ColorSwatch*> m_swatches;
};
