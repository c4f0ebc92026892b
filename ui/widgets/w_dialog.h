// WDialog: a modal dialog of the program. Its OK and Cancel buttons (also
// Enter on the default button, Esc and the close box) arrive as onOk() and
// onCancel(); a dialog connects its other buttons to what they do itself.
// The result of exec() is the id passed to endDialog().
#pragma once

#include <QDialog>

#include "ui/widgets/w_control.h"

class QAbstractButton;
class QPainter;

class WDialog : public QDialog, public WControl {
    Q_OBJECT

public:
    explicit WDialog(QWidget* parent = nullptr);
    ~WDialog() override;

    // Routes the clicks of `button` to onOk() (`id` kIdOk) or onCancel()
    // (kIdCancel). The button stays owned by its Qt parent.
    void addButton(QAbstractButton* button, int id);
    // Closes the dialog; exec() returns `result`.
    void endDialog(int result) { done(result); }

    void accept() override { onOk(); }
    void reject() override { onCancel(); }
    void done(int result) override;

protected:
    // Runs each time the dialog is about to be shown.
    virtual void onInitDialog() {}
    virtual void onOk() { endDialog(kIdOk); }
    virtual void onCancel() { endDialog(kIdCancel); }
    // True keeps the dialog open; otherwise the close box acts as Cancel.
    virtual bool onClose() { return false; }
    // Runs after the dialog was closed with endDialog().
    virtual void onDestroy() {}
    virtual void onShowWindow(bool shown);
    virtual bool onPreEvent(QEvent* event);
    virtual void onActivate() {}
    virtual void onDeactivate() {}
    virtual bool onPaint(QPainter& painter, const QRect& rect);
    virtual void onSize(int width, int height);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_needsInit = true;
};
