// The program's message box: a modal dialog with a text, an icon and a set of
// buttons chosen by style bits, labelled from the interface language's
// button table (or the built-in texts), returning the standard id of the
// button pressed. messageBox() and reportError() may be called from any
// thread: from a worker they run on the user-interface thread and the worker
// waits for the answer, so the user-interface thread must not wait for such a
// worker without running its event loop.
#pragma once

#include <QDialog>
#include <array>

class QAbstractButton;

// Button sets (the low four bits of the style).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbAbortRetryIgnore = 0x2;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbRetryCancel = 0x5;
// Icons (bits 4 to 7).
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbUserIcon = 0x80;  // the owner window's icon, else the program's
// Default button (bits 8 and 9): the first unless one of these is set.
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr unsigned kMbDefButton3 = 0x200;
// Other bits.
inline constexpr unsigned kMbSystemModal = 0x1000;  // stays above every window
inline constexpr unsigned kMbHelp = 0x4000;         // adds a Help button, which does not close
inline constexpr unsigned kMbTopmost = 0x40000;     // stays above every window

// One row of the button table: a standard id (kIdOk ... kIdNo) and its label.
struct MessageBoxButtonText {
    int id;
    QString text;
};
using MessageBoxButtonTable = std::array<MessageBoxButtonText, 7>;

// The label of button `id`: from `table` when it has a non-empty entry for
// the id, else the built-in text ("U redu", "Odustani", "Prekini", "Ponovi",
// "Zanemari", "Da", "Ne").
QString messageBoxButtonText(int id, const MessageBoxButtonTable* table);

class WMessageBox : public QDialog {
    Q_OBJECT

public:
    WMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style,
                const MessageBoxButtonTable* buttons = nullptr);
    ~WMessageBox() override;

    // The ids of the buttons shown, left to right (the Help button included).
    const QList<int>& buttonIds() const { return m_ids; }
    // Button `id` (object name "messageBoxButton<id>"), or null.
    QAbstractButton* button(int id) const;
    // Esc and the close box: Cancel when there is a Cancel button, OK when OK
    // is the only button, else nothing.
    void reject() override;

signals:
    void helpRequested();

private:
    QList<int> m_ids;
};

// Shows a message box and returns the id of the button pressed; -1 when there
// is no application object. `owner` (may be null) is the window it belongs to.
int messageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style,
               const MessageBoxButtonTable* buttons = nullptr);

// The program's error report: beeps and shows the non-empty texts among
// `first`, `second` and `third`, separated by blank lines, with the stop icon
// and an OK button. Returns what messageBox() returns.
int reportError(QWidget* owner, const QString& caption, const QString& first,
                const QString& second = QString(), const QString& third = QString(),
                const MessageBoxButtonTable* buttons = nullptr);
