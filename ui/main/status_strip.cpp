#include "ui/main/status_strip.h"

#include <QFrame>
#include <QHBoxLayout>

#include "ui/widgets/w_progress_bar.h"
#include "ui/widgets/w_static.h"

namespace {

WStatic* makeCell(QWidget* parent, const QString& text, const char* name) {
    auto* cell = new WStatic(text, parent);
    cell->setObjectName(QString::fromLatin1(name));
    cell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    cell->setAlignment(Qt::AlignCenter);
    cell->setEnabled(false);
    return cell;
}

}  // namespace

StatusStrip::StatusStrip(QWidget* parent)
    : QWidget(parent)
    , m_mode(makeCell(this, QStringLiteral("WILDCARDS"), "modeLabel"))
    , m_ignoreAccents(makeCell(this, QStringLiteral("IGNORE ACCENTS"), "ignoreAccentsLabel"))
    , m_caseSensitive(makeCell(this, QStringLiteral("CASE SENSITIVE"), "caseSensitiveLabel"))
    , m_autotranslate(makeCell(this, QStringLiteral("AUTOTRANSLATE"), "autotranslateLabel"))
    , m_status(new WStatic(this))
    , m_progress(new WProgressBar(this)) {
    setObjectName(QStringLiteral("statusStrip"));
    m_mode->setMinimumWidth(m_mode->fontMetrics().horizontalAdvance(QStringLiteral("ANAGRAMS 2")) +
                            12);
    m_status->setObjectName(QStringLiteral("statusText"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // A long status (the counts and a note after them) takes a second line in
    // a narrow window rather than losing its end.
    m_status->setWordWrap(true);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // The bar takes the status text's place at its height: the lists above
    // keep theirs when a load begins or ends.
    m_progress->setFixedHeight(m_status->sizeHint().height());
    m_progress->hide();

    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(2);
    line->addWidget(m_mode);
    line->addWidget(m_ignoreAccents);
    line->addWidget(m_caseSensitive);
    line->addWidget(m_autotranslate);
    line->addWidget(m_status, 1);
    line->addWidget(m_progress, 1);
}

StatusStrip::~StatusStrip() = default;

void StatusStrip::setMode(const QString& text, bool on) {
    if (!text.isEmpty()) m_mode->setText(text);
    m_mode->setEnabled(on);
}

void StatusStrip::setSwitches(bool ignoreAccents, bool caseSensitive, bool autotranslate) {
    m_ignoreAccents->setEnabled(ignoreAccents);
    m_caseSensitive->setEnabled(caseSensitive);
    m_autotranslate->setEnabled(autotranslate);
}

void StatusStrip::setStatusText(const QString& text) { m_status->setText(text); }

QString StatusStrip::statusText() const { return m_status->text(); }

void StatusStrip::beginProgress() {
    m_progress->setPosition(0);
    m_status->hide();
    m_progress->show();
}

void StatusStrip::setProgress(int percent) { m_progress->setPosition(percent); }

void StatusStrip::endProgress() {
    m_progress->hide();
    m_progress->setPosition(0);
    m_status->show();
}

bool StatusStrip::progressShown() const { return !m_progress->isHidden(); }
