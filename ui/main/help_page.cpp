#include "ui/main/help_page.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "app/program_dir.h"

namespace {

// The help page and topic the Help command opens, beside the executable.
constexpr char kHelpPage[] = "oprogramu.htm";
constexpr char kHelpTopic[] = "kx_oprogramu";

}  // namespace

void openHelpPage(const wordbay::ProgramPaths& paths, const QString& topic) {
    const QString chosen = topic.isEmpty() ? QStringLiteral("%1#%2").arg(QLatin1String(kHelpPage),
                                                                         QLatin1String(kHelpTopic))
                                           : topic;
    const QString page = chosen.section(QLatin1Char('#'), 0, 0);
    const QString anchor = chosen.section(QLatin1Char('#'), 1);
    QUrl url =
        QUrl::fromLocalFile(QDir(QString::fromStdString(wordbay::HelpDir(paths))).filePath(page));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    QDesktopServices::openUrl(url);
}
