#include "ui/widgets/w_message_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>
#include <future>

#include "ui/widgets/ui_thread.h"
#include "ui/widgets/w_control.h"
#include "ui/widgets/w_form.h"

namespace {

constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 25;
constexpr int kWrapWidth = 560;  // a longer line wraps (at blanks) to this width

QList<int> buttonsOf(unsigned style) {
    switch (style & 0xF) {
        case kMbOkCancel:
            return {kIdOk, kIdCancel};
        case kMbAbortRetryIgnore:
            return {kIdAbort, kIdRetry, kIdIgnore};
        case kMbYesNoCancel:
            return {kIdYes, kIdNo, kIdCancel};
        case kMbYesNo:
            return {kIdYes, kIdNo};
        case kMbRetryCancel:
            return {kIdRetry, kIdCancel};
        default:
            return {kIdOk};
    }
}

QIcon iconOf(QWidget* owner, unsigned style, QStyle* qstyle) {
    if ((style & kMbUserIcon) != 0) {
        if (owner != nullptr && !owner->window()->windowIcon().isNull()) {
            return owner->window()->windowIcon();
        }
        return QApplication::windowIcon();
    }
    switch (style & 0x70) {
        case kMbIconStop:
            return qstyle->standardIcon(QStyle::SP_MessageBoxCritical);
        case kMbIconQuestion:
            return qstyle->standardIcon(QStyle::SP_MessageBoxQuestion);
        case kMbIconExclamation:
            return qstyle->standardIcon(QStyle::SP_MessageBoxWarning);
        case kMbIconInformation:
            return qstyle->standardIcon(QStyle::SP_MessageBoxInformation);
        default:
            return QIcon();
    }
}

}  // namespace

QString messageBoxButtonText(int id, const MessageBoxButtonTable* table) {
    if (table != nullptr) {
        for (const MessageBoxButtonText& row : *table) {
            if (row.id == id && !row.text.isEmpty()) return row.text;
        }
    }
    switch (id) {
        case kIdOk:
            return QStringLiteral("U redu");
        case kIdCancel:
            return QStringLiteral("Odustani");
        case kIdAbort:
            return QStringLiteral("Prekini");
        case kIdRetry:
            return QStringLiteral("Ponovi");
        case kIdIgnore:
            return QStringLiteral("Zanemari");
        case kIdYes:
            return QStringLiteral("Da");
        case kIdNo:
            return QStringLiteral("Ne");
        default:
            return QString();
    }
}

WMessageBox::WMessageBox(QWidget* owner, const QString& text, const QString& caption,
                         unsigned style, const MessageBoxButtonTable* buttons)
    : QDialog(owner), m_ids(buttonsOf(style)) {
    setObjectName(QStringLiteral("messageBox"));
    setWindowTitle(caption);
    setModal(true);
    if ((style & (kMbSystemModal | kMbTopmost)) != 0) {
        setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    if (!m_ids.contains(kIdCancel) && m_ids != QList<int>{kIdOk}) {
        // As with the system's box, the only ways out are the buttons.
        setWindowFlag(Qt::WindowCloseButtonHint, false);
    }

    auto* top = new QHBoxLayout;
    const QIcon icon = iconOf(owner, style, this->style());
    if (!icon.isNull()) {
        const int size = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        auto* iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("messageBoxIcon"));
        iconLabel->setPixmap(icon.pixmap(size, size));
        iconLabel->setAlignment(Qt::AlignTop);
        top->addWidget(iconLabel);
    }
    auto* textLabel = new QLabel(this);
    textLabel->setObjectName(QStringLiteral("messageBoxText"));
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    textLabel->setText(text);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, textLabel->fontMetrics().horizontalAdvance(line));
    }
    if (widest > kWrapWidth) {
        textLabel->setWordWrap(true);
        textLabel->setMinimumWidth(kWrapWidth);
    }
    top->addWidget(textLabel, 1);

    const int choices = int(m_ids.size());  // the buttons that close the box
    if ((style & kMbHelp) != 0) m_ids.append(kIdHelp);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    const int defaultIndex = (style & kMbDefButton3) != 0   ? 2
                             : (style & kMbDefButton2) != 0 ? 1
                                                            : 0;
    for (int i = 0; i < m_ids.size(); ++i) {
        const int id = m_ids[i];
        auto* push = new QPushButton(this);
        push->setObjectName(QStringLiteral("messageBoxButton%1").arg(id));
        push->setMinimumSize(kButtonWidth, kButtonHeight);
        if (id == kIdHelp) {
            push->setText(QStringLiteral("?"));
            push->setAccessibleName(QStringLiteral("Help"));
            connect(push, &QPushButton::clicked, this, &WMessageBox::helpRequested);
        } else {
            push->setText(messageBoxButtonText(id, buttons));
            connect(push, &QPushButton::clicked, this, [this, id] { done(id); });
        }
        const bool isDefault = i == std::min(defaultIndex, choices - 1);
        push->setAutoDefault(false);
        push->setDefault(isDefault);
        if (isDefault) push->setFocus();
        row->addWidget(push);
    }
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

WMessageBox::~WMessageBox() = default;

QAbstractButton* WMessageBox::button(int id) const {
    return findChild<QAbstractButton*>(QStringLiteral("messageBoxButton%1").arg(id));
}

void WMessageBox::reject() {
    if (m_ids.contains(kIdCancel)) {
        done(kIdCancel);
    } else if (m_ids == QList<int>{kIdOk} || m_ids == QList<int>{kIdOk, kIdHelp}) {
        done(kIdOk);
    }
}

namespace {

// Runs `show` on the user-interface thread and returns its answer; a worker
// waits for it. -1 without an application object. The answer comes back
// through a promise rather than a blocking queued call, so that the hand-over
// is one the thread checker sees.
template <typename Show>
int onUiThread(Show show) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return -1;
    if (QThread::currentThread() == app->thread()) return show();
    std::promise<int> answer;
    std::future<int> result = answer.get_future();
    postToUiThread(app, [&answer, &show] { answer.set_value(show()); });
    return result.get();
}

int showMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style,
                   const MessageBoxButtonTable* buttons) {
    WMessageBox box(owner, text, caption, style, buttons);
    QPointer<QWidget> helpTarget(owner != nullptr ? owner->window() : nullptr);
    QObject::connect(&box, &WMessageBox::helpRequested, &box, [helpTarget] {
        if (auto* form = qobject_cast<WForm*>(helpTarget.data())) form->requestHelp();
    });
    return box.exec();
}

}  // namespace

int messageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style,
               const MessageBoxButtonTable* buttons) {
    // The owner is looked at on the user-interface thread only, where it may
    // have gone meanwhile.
    QPointer<QWidget> guarded(owner);
    return onUiThread(
        [&] { return showMessageBox(guarded.data(), text, caption, style, buttons); });
}

int reportError(QWidget* owner, const QString& caption, const QString& first, const QString& second,
                const QString& third, const MessageBoxButtonTable* buttons) {
    QStringList parts;
    for (const QString* part : {&first, &second, &third}) {
        if (!part->isEmpty()) parts.append(*part);
    }
    const QString text = parts.join(QStringLiteral("\n\n"));
    QPointer<QWidget> guarded(owner);
    return onUiThread([&] {
        QApplication::beep();
        return showMessageBox(guarded.data(), text, caption, kMbOk | kMbIconStop, buttons);
    });
}
