// PopupForm: the small dictionary window that the hot key can call. It has a
// search edit box, a result list and a status line; the main window's search
// controller fills them. Closing or leaving it only hides it (unless it is
// kept on top); it lives as long as the main window.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>

#include "app/program_settings.h"
#include "app/window_updates.h"
#include "ui/widgets/w_form.h"

class WEdit;
class WListBox;
class WordFormsLabel;

// The fonts and colours of the popup for the current direction.
struct PopupLook {
    QFont edit_font;
    QColor edit_text;
    QColor edit_background;
    QFont list_font;
    QColor list_text;
    QColor row_even;
    QColor row_odd;
    QColor selected_background;
    QColor selected_text;
    bool system_colors = true;
};

class PopupForm : public WForm {
    Q_OBJECT

public:
    static constexpr int kEditId = 5879;
    static constexpr int kListId = 5878;

    // `settings` holds the on-top and snap options and outlives the window.
    explicit PopupForm(const wordbay::ProgramSettings* settings, QWidget* parent = nullptr);
    ~PopupForm() override;

    WEdit* edit() const { return m_edit; }
    WListBox* list() const { return m_list; }
    // The line under the edit box that names the base word used, or offers
    // suggestions.
    WordFormsLabel* wordForms() const { return m_wordForms; }
    void setWordFormsNote(const wordbay::WordFormsNote& note);
    QString statusText() const { return m_status; }
    void setStatusText(const QString& text);
    void applyLook(const PopupLook& look);
    // A small control at the right end of the edit box's row (the star).
    void setCornerWidget(QWidget* widget);

    // Puts the window at a stored place (already clamped by the settings) and
    // sets its size limits: 155 x 120 up to the largest window less 150. A
    // place never stored leaves the popup to open beside the mouse pointer.
    void placeFrom(const wordbay::WindowPlace& place, const wordbay::ScreenMetrics& screen);
    wordbay::WindowPlace place() const;

    // Brings the popup forward for a hot-key result (`show`: also show it),
    // snapped to the mouse pointer when the option is on.
    void showPopup(bool show);
    // Makes the popup topmost or not, following the on-top option.
    void applyOnTop();

    // Called when the user (not the program) changed the edit box's text.
    void setTypingHandler(std::function<void(const QString&)> handler);

protected:
    int onCreate() override;
    void onActivate() override;
    void onDeactivate() override;
    bool onClose() override;
    void onSize(int width, int height) override;
    bool onPaint(QPainter& painter, const QRect& rect) override;

private:
    int statusHeight() const;
    void editChanged();

    const wordbay::ProgramSettings* m_settings;
    WEdit* m_edit = nullptr;
    WListBox* m_list = nullptr;
    WordFormsLabel* m_wordForms = nullptr;
    QWidget* m_corner = nullptr;
    QString m_status;
    std::function<void(const QString&)> m_typing;
    bool m_placeOnShow = false;  // no stored place: snap at the first showing
};

// Moves a window's top-left corner to `cursor`, pulled back so that a window
// of `size` stays inside `screen`.
QPoint snappedPosition(const QPoint& cursor, const QSize& size, const QRect& screen);
