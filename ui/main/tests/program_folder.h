// A program folder for the main window's tests: a temporary folder with a
// small English-Croatian dictionary in its database folder and a settings
// file that opens it without the start-up notice.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program_dir.h"

class MainForm;

class ProgramFolder {
public:
    // `pairs`: English word and Croatian translation; `options` and
    // `dictionary`: extra lines for the sections [options] ("autotranslate=1")
    // and [dictionary] ("language=hr.txt").
    explicit ProgramFolder(const std::vector<std::pair<std::string, std::string>>& pairs,
                           const QString& options = QString(),
                           const QString& dictionary = QString());

    bool ok() const { return m_ok; }
    wordbay::ProgramPaths paths() const;
    QString settingsFile() const;
    // The value of `key` in `section` of the settings file, or a null string.
    QString setting(const QString& section, const QString& key) const;

    // A main window over this folder, created, shown and with its dictionary
    // loaded (waits for the start-up job); null when that fails.
    std::unique_ptr<MainForm> openWindow() const;

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// The pairs most suites use.
std::vector<std::pair<std::string, std::string>> housePairs();
