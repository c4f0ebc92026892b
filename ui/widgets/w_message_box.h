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

#include "app/message_box_style.h"

class QAbstractButton;

// The style bits, shared with the program's logic, which asks its questions
// with the same values.
using wordbay::kMbAbortRetryIgnore;
using wordbay::kMbDefButton2;
using wordbay::kMbDefButton3;
using wordbay::kMbHelp;  // adds a Help button, which does not close
using wordbay::kMbIconExclamation;
using wordbay::kMbIconInformation;
using wordbay::kMbIconQuestion;
using wordbay::kMbIconStop;
using wordbay::kMbOk;
using wordbay::kMbOkCancel;
using wordbay::kMbRetryCancel;
using wordbay::kMbSystemModal;  // stays above every window
using wordbay::kMbTopmost;      // stays above every window
using wordbay::kMbUserIcon;     // the owner window's icon, else the program's
using wordbay::kMbYesNo;
using wordbay::kMbYesNoCancel;

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
