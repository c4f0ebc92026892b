// DlgLanguage: the interface-language chooser. Lists internal English and
// every language file of the language folder (language, author, description,
// version, file name) with the current language selected, returns the chosen
// file name (empty for internal English), opens a language file in the
// desktop's editor and writes internal English out as a translators' template.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "app/interface_language.h"
#include "ui/widgets/w_dialog.h"

class QTableWidget;

class DlgLanguage : public WDialog {
    Q_OBJECT

public:
    // `languageDir`: the folder of the language files; `currentFile`: the
    // file name of the language in use, empty for internal English.
    DlgLanguage(std::string languageDir, std::string currentFile, QWidget* parent = nullptr);
    ~DlgLanguage() override;

    // After exec() returned kIdOk: the chosen file name, empty for internal
    // English.
    const std::string& chosenFile() const { return m_chosenFile; }

    // How Edit hands a file to the desktop (QDesktopServices::openUrl unless
    // replaced; null puts that back); returns whether the desktop took it.
    using UrlOpener = std::function<bool(const QUrl&)>;
    static void setUrlOpener(UrlOpener opener);

    // Where Save internal language writes (a save-file dialog unless
    // replaced; null puts that back): given the proposed path, returns the
    // chosen one or empty.
    using SavePathChooser = std::function<QString(QWidget* owner, const QString& proposed)>;
    static void setSavePathChooser(SavePathChooser chooser);

protected:
    void onOk() override;

private:
    void fillList(int select);
    // The selected entry; none: says so (MSG_SELECT_LANGUAGE) and gives null.
    const wordbay::LanguageEntry* selectedEntry();
    void editSelected();
    void saveInternal();

    std::string m_languageDir;
    std::string m_currentFile;
    std::string m_chosenFile;
    std::vector<wordbay::LanguageEntry> m_entries;  // the rows, in order
    QTableWidget* m_list = nullptr;
};
