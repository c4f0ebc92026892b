#include "ui/widgets/w_dialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QPainter>

WDialog::WDialog(QWidget* parent) : QDialog(parent), WControl(this, 0) {}

WDialog::~WDialog() = default;

void WDialog::addButton(QAbstractButton* button, int id) {
    Q_ASSERT(id == kIdOk || id == kIdCancel);
    connect(button, &QAbstractButton::clicked, this, [this, id] {
        if (id == kIdOk) {
            onOk();
        } else {
            onCancel();
        }
    });
}

void WDialog::done(int result) {
    QDialog::done(result);
    m_needsInit = true;
    onDestroy();
}

void WDialog::onShowWindow(bool) {}
bool WDialog::onPreEvent(QEvent*) { return false; }
bool WDialog::onPaint(QPainter&, const QRect&) { return false; }
void WDialog::onSize(int, int) {}

bool WDialog::event(QEvent* event) {
    if (onPreEvent(event)) return true;
    return QDialog::event(event);
}

void WDialog::showEvent(QShowEvent* event) {
    if (m_needsInit) {
        m_needsInit = false;
        onInitDialog();
    }
    QDialog::showEvent(event);
    onShowWindow(true);
}

void WDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    onShowWindow(false);
}

void WDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    if (isActiveWindow()) {
        onActivate();
    } else {
        onDeactivate();
    }
}

void WDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    onPaint(painter, event->rect());
}

void WDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    onSize(width(), height());
}

void WDialog::closeEvent(QCloseEvent* event) {
    if (onClose()) {
        event->ignore();
        return;
    }
    // QDialog turns the close box into reject(), that is onCancel(); a dialog
    // that stays visible after it refuses the close.
    QDialog::closeEvent(event);
}
