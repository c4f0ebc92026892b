#include "ui/popup/popup_form.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "ui/popup/word_forms_label.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"

namespace {

constexpr int kMinWidth = 155;
constexpr int kMinHeight = 120;
constexpr int kMaxMargin = 150;
constexpr int kDialogFrame = 3;  // the thickness of a dialog frame
constexpr int kStatusIndent = 2;

QRect screenOf(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// The size of `window` with its frame. Before the window manager has framed
// it, the frame of another framed window of the program stands in for its
// own, so that a popup snapped near a screen edge is not cut off by it.
QSize framedSize(const QWidget* window) {
    if (window->frameGeometry() != window->geometry()) return window->frameGeometry().size();
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible()) continue;
        const QRect frame = other->frameGeometry();
        const QRect inner = other->geometry();
        if (frame == inner) continue;
        return window->size() + frame.size() - inner.size();
    }
    return window->size();
}

}  // namespace

QPoint snappedPosition(const QPoint& cursor, const QSize& size, const QRect& screen) {
    const int x = std::max(screen.left(), std::min(cursor.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(cursor.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

PopupForm::PopupForm(const wordbay::ProgramSettings* settings, QWidget* parent)
    : WForm(parent, Qt::Tool), m_settings(settings) {
    setObjectName(QStringLiteral("TQ_TALLIS_POPUP"));
    setGeometry(100, 20, 300, 300);
}

PopupForm::~PopupForm() { destroyWindow(); }

int PopupForm::onCreate() {
    m_edit = new WEdit(this, kEditId);
    m_edit->setObjectName(QStringLiteral("popupEdit"));
    m_list = new WListBox(this, kListId);
    m_list->setObjectName(QStringLiteral("popupList"));
    connect(m_edit, &QLineEdit::textChanged, this, &PopupForm::editChanged);
    m_wordForms = new WordFormsLabel(this);
    connect(m_wordForms, &WordFormsLabel::suggestionChosen, this, [this](const QString& word) {
        m_edit->setText(word);
        m_edit->setFocus();
    });
    setMinimumSize(kMinWidth, kMinHeight);
    onSize(width(), height());
    return 0;
}

void PopupForm::placeFrom(const wordbay::WindowPlace& place, const wordbay::ScreenMetrics& screen) {
    if (screen.max_track_width > kMaxMargin + kMinWidth &&
        screen.max_track_height > kMaxMargin + kMinHeight) {
        setMaximumSize(screen.max_track_width - kMaxMargin, screen.max_track_height - kMaxMargin);
    }
    resize(place.width, place.height);
    // The stored place is the frame's top-left corner (x() and y() give it
    // back). Without one the popup opens beside the mouse pointer the first
    // time it shows, not over the main window's menu bar.
    m_placeOnShow = !place.stored;
    if (place.stored) move(place.x, place.y);
}

wordbay::WindowPlace PopupForm::place() const { return {x(), y(), width(), height()}; }

void PopupForm::setStatusText(const QString& text) {
    m_status = text;
    update(0, height() - statusHeight(), width(), statusHeight());
}

void PopupForm::applyLook(const PopupLook& look) {
    m_edit->setFont(look.edit_font);
    m_list->setFont(look.list_font);
    if (look.system_colors) {
        m_edit->setPalette(QPalette());
        m_list->setPalette(QPalette());
    } else {
        QPalette edit = m_edit->palette();
        edit.setColor(QPalette::Text, look.edit_text);
        edit.setColor(QPalette::Base, look.edit_background);
        m_edit->setPalette(edit);
        m_list->setRowColors(look.row_even, look.row_odd);
        m_list->setSelectionColors(look.selected_background, look.selected_text);
        m_list->setTextColor(look.list_text);
    }
    onSize(width(), height());
}

int PopupForm::statusHeight() const { return QFontMetrics(font()).height() + 4; }

void PopupForm::onSize(int width, int height) {
    if (m_edit == nullptr) return;
    const int edit_height = QFontMetrics(m_edit->font()).height() + 2 * kDialogFrame + 4;
    const int status = statusHeight();
    int edit_width = width;
    if (m_corner != nullptr) {
        const int corner = std::min(edit_height + 4, width / 3);
        edit_width -= corner;
        m_corner->setGeometry(edit_width, 0, corner, edit_height);
    }
    m_edit->setGeometry(0, 0, edit_width, edit_height);
    int note = 0;
    if (m_wordForms->isVisible()) {
        note = std::min(m_wordForms->heightForWidth(width), height / 2);
        m_wordForms->setGeometry(0, edit_height, width, note);
    }
    m_list->setGeometry(0, edit_height + note, width,
                        std::max(0, height - edit_height - note - status));
}

bool PopupForm::onPaint(QPainter& painter, const QRect&) {
    const int status = statusHeight();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(kStatusIndent, height() - status, width() - kStatusIndent, status),
                     Qt::AlignVCenter | Qt::AlignLeft, m_status);
    return true;
}

void PopupForm::setCornerWidget(QWidget* widget) {
    m_corner = widget;
    m_corner->setParent(this);
    m_corner->show();
    onSize(this->width(), height());
}

void PopupForm::setTypingHandler(std::function<void(const QString&)> handler) {
    m_typing = std::move(handler);
}

void PopupForm::setWordFormsNote(const wordbay::WordFormsNote& note) {
    if (m_wordForms == nullptr) return;
    m_wordForms->setNote(note);
    onSize(width(), height());
}

void PopupForm::editChanged() {
    // The program's own changes only clear the flag; typing searches.
    if (m_edit->isSetByProgram()) {
        m_edit->clearSetByProgram();
    } else if (m_typing) {
        m_typing(m_edit->text());
    }
}

void PopupForm::applyOnTop() {
    const bool on_top = m_settings->popup_on_top;
    if (testAttribute(Qt::WA_WState_Created) &&
        windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on_top) {
        return;
    }
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on_top);
    if (visible) show();  // changing the flags hides the window
}

void PopupForm::showPopup(bool show) {
    applyOnTop();
    const bool showing = show || !isHidden();
    const bool snap = m_settings->popup_to_cursor || (m_placeOnShow && showing);
    // A window not yet on the screen is placed before it shows, so that the
    // window manager puts its frame there at once.
    if (snap && !isVisible()) {
        move(snappedPosition(QCursor::pos(), framedSize(this), screenOf(this)));
    }
    if (showing) {
        if (isMinimized())
            showNormal();
        else
            QWidget::show();
        raise();
        activateWindow();
        m_placeOnShow = false;
    }
    if (snap && isVisible()) {
        move(snappedPosition(QCursor::pos(), framedSize(this), screenOf(this)));
    }
}

void PopupForm::onActivate() {
    m_edit->setFocus();
    if (m_settings->popup_on_top) raise();
}

void PopupForm::onDeactivate() {
    if (!m_settings->popup_on_top) hide();
}

bool PopupForm::onClose() {
    hide();
    return true;
}
