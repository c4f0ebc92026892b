#include "ui/dialogs/dlg_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_support.h"

using wordbay::TextId;

namespace {

struct Library {
    const char* name;
    const char* licence;
    const char* link;
};

constexpr Library kLibraries[] = {
    {"Qt", "LGPL-3.0", "https://www.qt.io/"},
    {"ICU", "Unicode licence", "https://icu.unicode.org/"},
    {"PCRE2", "BSD-3-Clause", "https://www.pcre.org/"},
    {"zlib", "zlib licence", "https://zlib.net/"},
    {"eSpeak NG", "GPL-3.0", "https://github.com/espeak-ng/espeak-ng"},
    {"speech-dispatcher client", "LGPL-2.1", "https://freebsoft.org/speechd"},
    {"PulseAudio", "LGPL-2.1", "https://www.freedesktop.org/wiki/Software/PulseAudio/"},
    {"X11, XInput2, XTest", "MIT", "https://www.x.org/"},
};

}  // namespace

QString DlgAbout::version() { return QStringLiteral(WORDBAY_VERSION); }

DlgAbout::DlgAbout(QWidget* parent) : WDialog(parent) {
    setObjectName("dlgAbout");
    // The caption is the menu item's text without its mnemonic.
    QString caption = dialogs::text(TextId::MSG_ABOUT);
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    setWindowTitle(caption);

    auto* title = new QLabel(QStringLiteral("<b>wordbay</b>"), this);
    title->setObjectName("nameLabel");
    auto* version = new QLabel(
        QStringLiteral("%1 %2").arg(dialogs::text(TextId::MSG_VERSION), this->version()), this);
    version->setObjectName("versionLabel");
    // The program's own licence, and where its first dictionary comes from.
    auto* licence = new QLabel(
        QStringLiteral("Copyright \u00A9 the wordbay developers<br>"
                       "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">GNU General Public "
                       "License, version 3 or later</a> (GPL-3.0-or-later); no warranty.<br>"
                       "The English-Croatian dictionary is converted from "
                       "<a href=\"https://freedict.org/\">FreeDict</a> (GPL)."),
        this);
    licence->setObjectName("licenceLabel");
    licence->setTextFormat(Qt::RichText);
    licence->setOpenExternalLinks(true);
    licence->setTextInteractionFlags(Qt::TextBrowserInteraction);

    QString rows;
    for (const Library& library : kLibraries) {
        rows += QStringLiteral("<tr><td><a href=\"%1\">%2</a></td><td>&nbsp;&nbsp;%3</td></tr>")
                    .arg(QString::fromLatin1(library.link),
                         QString::fromLatin1(library.name).toHtmlEscaped(),
                         QString::fromLatin1(library.licence));
    }
    auto* libraries = new QLabel(QStringLiteral("<table>%1</table>").arg(rows), this);
    libraries->setObjectName("librariesLabel");
    libraries->setTextFormat(Qt::RichText);
    libraries->setOpenExternalLinks(true);
    libraries->setTextInteractionFlags(Qt::TextBrowserInteraction);

    auto* ok = new QPushButton(dialogs::text(TextId::MSG_OK), this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    addButton(ok, kIdOk);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(licence);
    layout->addSpacing(8);
    layout->addWidget(libraries);
    layout->addLayout(buttons);
}

DlgAbout::~DlgAbout() = default;
