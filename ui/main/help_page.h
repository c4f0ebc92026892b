// The program's help: pages of the help folder, opened in the browser.
#pragma once

#include <QString>

namespace wordbay {
struct ProgramPaths;
}  // namespace wordbay

// Opens help page "page.htm#anchor" of `paths`' help folder; without a
// topic, the contents.
void openHelpPage(const wordbay::ProgramPaths& paths, const QString& topic = QString());
