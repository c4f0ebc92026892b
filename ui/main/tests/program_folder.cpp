#include "ui/main/tests/program_folder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <cstdio>

#include "app/search_controller.h"
#include "engine/lexbase.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "ui/main/main_form.h"

namespace {

bool writeDictionary(const std::string& path,
                     const std::vector<std::pair<std::string, std::string>>& pairs) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    bool ok = db != nullptr && DB_CreateNewDictionary(db, 1033, 1050)->status != 0;
    // The Croatian list keeps its words in its own code page.
    const std::uint32_t croatian = platform::CodePageOf(1050);
    for (const auto& [word, translation] : pairs) {
        const std::string encoded = platform::EncodeFromUtf8(croatian, translation);
        ok = ok &&
             DB_AddTranslation(db, DB_TRANS_PRIMARY_TO_SECONDARY, word.c_str(), encoded.c_str())
                     ->status != 0;
    }
    DICTIONARY_INFO info{};
    ok = ok && DB_GetDictionaryInfo(db, &info)->status != 0;
    std::snprintf(info.name, sizeof info.name, "%s", "Test dictionary");
    std::snprintf(info.primary_list_name, sizeof info.primary_list_name, "%s", "English");
    std::snprintf(info.secondary_list_name, sizeof info.secondary_list_name, "%s", "Croatian");
    info.secondary_charset = 238;
    ok = ok && DB_SetDictionaryInfo(db, &info)->status != 0;
    ok = ok && DB_Save(db, DB_FORMAT_V03_SAVE, path.c_str())->status != 0;
    if (db != nullptr) DB_DestroyHandle(db);
    return ok;
}

}  // namespace

ProgramFolder::ProgramFolder(const std::vector<std::pair<std::string, std::string>>& pairs,
                             const QString& options, const QString& dictionary) {
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("database"))) return;
    if (!pairs.empty() && !writeDictionary(paths().database_dir + "/English_Croatian.v03", pairs))
        return;
    QFile ini(settingsFile());
    if (!ini.open(QIODevice::WriteOnly)) return;
    ini.write("[dictionary]\ncurrent=English_Croatian.v03\n");
    ini.write(dictionary.toUtf8());
    ini.write("\n[options]\nshowsplash=0\n");
    ini.write(options.toUtf8());
    ini.write("\n[hotkey]\nusehotkeys=0\n");
    m_ok = true;
}

wordbay::ProgramPaths ProgramFolder::paths() const {
    return wordbay::PathsInside(m_dir.path().toStdString());
}

QString ProgramFolder::settingsFile() const {
    return m_dir.filePath(QStringLiteral("wordbay.ini"));
}

QString ProgramFolder::setting(const QString& section, const QString& key) const {
    QSettings ini(settingsFile(), QSettings::IniFormat);
    const QVariant value = ini.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : QString();
}

std::unique_ptr<MainForm> ProgramFolder::openWindow() const {
    auto form = std::make_unique<MainForm>(paths());
    if (!form->createWindow()) return nullptr;
    form->windows()->create();
    form->showAtStoredPlace();
    form->activateWindow();
    // The start-up job loads the dictionary once the window shows.
    const bool loaded = QTest::qWaitFor(
        [&] {
            return form->controller()->slot(wordbay::SlotId::kMain).loaded() &&
                   !form->controller()->busy();
        },
        10000);
    if (!loaded) return nullptr;
    // The hot key's look-up runs at once only in the active window, and an
    // activation that arrives later runs the clipboard step again: the tests
    // begin once it has arrived.
    if (!QTest::qWaitForWindowActive(form.get(), 10000)) return nullptr;
    return form;
}

std::vector<std::pair<std::string, std::string>> housePairs() {
    return {{"house", "kuća"},  {"house", "dom"},  {"household", "kućanstvo"},
            {"hound", "gonič"}, {"horse", "konj"}, {"hour", "sat"},
            {"mouse", "miš"},   {"tree", "drvo"},  {"level", "razina"}};
}
