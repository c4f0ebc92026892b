#include "ui/main/hot_key_selection.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <utility>

#include "ui/main/x11_desktop.h"

namespace {

constexpr int kPollMs = 25;
// After the clipboard changed, the program may still be adding formats.
constexpr int kSettleMs = 50;

QClipboard* clipboard() { return QGuiApplication::clipboard(); }

}  // namespace

HotKeySelection::HotKeySelection(Desktop desktop, QObject* parent)
    : QObject(parent), m_desktop(std::move(desktop)), m_wait(new QTimer(this)) {
    m_wait->setInterval(kPollMs);
    connect(clipboard(), &QClipboard::dataChanged, this, [this] { m_changed = true; });
}

HotKeySelection::~HotKeySelection() = default;

std::unique_ptr<QMimeData> HotKeySelection::snapshotClipboard() {
    const QMimeData* now = clipboard()->mimeData(QClipboard::Clipboard);
    if (now == nullptr) return nullptr;
    auto kept = std::make_unique<QMimeData>();
    for (const QString& format : now->formats()) {
        const QByteArray data = now->data(format);
        if (data.size() <= kMaxKeptFormatBytes) kept->setData(format, data);
    }
    if (kept->formats().isEmpty()) return nullptr;
    return kept;
}

void HotKeySelection::read(std::function<void(const QString&)> done) {
    if (busy()) return;
    m_done = std::move(done);
    const QString primary = m_desktop.primary ? m_desktop.primary() : QString();
    if (!primary.trimmed().isEmpty()) {
        finish(primary);
        return;
    }
    if (!m_desktop.mayCopy || !m_desktop.playCopy || !m_desktop.mayCopy()) {
        finish(clipboard()->text());
        return;
    }
    m_saved = snapshotClipboard();
    m_textBefore = clipboard()->text();
    m_changed = false;
    QPointer<HotKeySelection> self(this);
    m_desktop.playCopy([self] {
        if (!self || !self->busy()) return;
        // Waits for the copy to arrive (or the time to run out), then reads.
        auto since = std::make_shared<QElapsedTimer>();
        auto changedAt = std::make_shared<qint64>(-1);
        since->start();
        connect(self->m_wait, &QTimer::timeout, self, [self, since, changedAt] {
            if (self->m_changed && *changedAt < 0) *changedAt = since->elapsed();
            const bool settled = *changedAt >= 0 && since->elapsed() - *changedAt >= kSettleMs;
            if (!settled && since->elapsed() < kCopyWaitMs) return;
            self->m_wait->stop();
            self->m_wait->disconnect();
            self->copied();
        });
        self->m_wait->start();
    });
}

void HotKeySelection::copied() {
    const QString text = clipboard()->text();
    if (m_changed || text != m_textBefore) {
        // Puts back what the user had; an empty clipboard becomes empty again.
        if (m_saved) {
            clipboard()->setMimeData(m_saved.release(), QClipboard::Clipboard);
        } else {
            clipboard()->clear(QClipboard::Clipboard);
        }
    }
    finish(text);
}

void HotKeySelection::finish(const QString& text) {
    auto done = std::move(m_done);
    m_done = nullptr;
    m_saved.reset();
    if (done) done(text);
}

HotKeySelection::Desktop HotKeySelection::x11Desktop(
    std::function<void(std::function<void()>)> playCopy) {
    Desktop d;
    d.primary = [] {
        return clipboard()->supportsSelection() ? clipboard()->text(QClipboard::Selection)
                                                : QString();
    };
    d.mayCopy = [] {
        // Under Wayland the keys would reach only X11 windows, at best our own.
        if (QGuiApplication::platformName() != QLatin1String("xcb") || waylandSession()) {
            return false;
        }
        return !isTerminalClass(focusedWindowClass());
    };
    d.playCopy = std::move(playCopy);
    return d;
}
