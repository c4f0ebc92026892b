// DictionaryDialogs: the commands of the dictionary menu that ask first:
// choosing the main or the dual dictionary, importing, updating and
// exporting (the format, then the file or folder), creating a new
// dictionary and editing the open one's description. What is chosen goes to
// the controller's worker as a request.
#pragma once

#include <QString>

#include "ui/dialogs/dlg_plugin.h"
#include "ui/main/painting_wait.h"
#include "ui/widgets/w_message_box.h"

class DictionaryPane;
class QWidget;

namespace wordbay {
class Catalogue;
class SearchController;
class StatusUpdates;
struct ProgramPaths;
}  // namespace wordbay

class DictionaryDialogs {
public:
    // The dialogs belong to `window`; `catalogue` lists the dictionaries of
    // `paths`' database folder and is scanned again after a new dictionary
    // was made (a failure reported to `status`); the update's question greys
    // the lists of `mainPane` while it is open.
    DictionaryDialogs(QWidget* window, const wordbay::ProgramPaths* paths,
                      wordbay::Catalogue* catalogue, wordbay::SearchController* controller,
                      wordbay::StatusUpdates* status, DictionaryPane* mainPane,
                      const MessageBoxButtonTable* buttons);

    // The dictionary chooser: the chosen path, or empty.
    QString chooseDictionary();
    void changeDictionary();
    // Another dual dictionary, in dual mode only.
    void loadDual();
    // The format, then the file or folder: an import, an update (after
    // asking) or an export.
    void importDictionary();
    void updateDictionary();
    void exportDictionary();
    void createNewDictionary();
    void editDictionaryInfo();

private:
    bool mainLoaded() const;
    void formatAndFile(DlgPlugin::Mode mode);
    // The file or folder of the chosen format; empty when cancelled.
    QString chooseFile(const DlgPlugin& formats, bool exporting);
    void importOrUpdate(const DlgPlugin& formats, const std::string& path, bool updating);
    // Asks whether to merge `path` into the main dictionary; true on yes.
    bool confirmUpdate(const std::string& path);
    // The file name an export of `format` proposes: the database folder and
    // the lists' names, "From_To".
    QString exportProposal(int format) const;

    QWidget* m_window;
    const wordbay::ProgramPaths* m_paths;
    wordbay::Catalogue* m_catalogue;
    wordbay::SearchController* m_controller;
    wordbay::StatusUpdates* m_status;
    DictionaryPane* m_mainPane;
    PaintingWait m_wait;  // while the description waits for the engine
    const MessageBoxButtonTable* m_buttons;
};
