// DictionaryDialogs: the commands of the dictionary menu that ask first:
// choosing the main or the dual dictionary, importing, updating and
// exporting (the format, then the file or folder), creating a new
// dictionary and editing the open one's description. What is chosen goes to
// the controller's worker as a job.
#pragma once

#include <QString>

#include "ui/widgets/w_message_box.h"

class QWidget;

namespace wordbay {
class Catalogue;
class MainView;
class SearchController;
struct ProgramPaths;
}  // namespace wordbay

class DictionaryDialogs {
public:
    // The dialogs belong to `window`; `catalogue` lists the dictionaries of
    // `paths`' database folder and is scanned again through `view` after a
    // new dictionary was made.
    DictionaryDialogs(QWidget* window, const wordbay::ProgramPaths* paths,
                      wordbay::Catalogue* catalogue, wordbay::SearchController* controller,
                      wordbay::MainView* view, const MessageBoxButtonTable* buttons);

    // The dictionary chooser: the chosen path, or empty.
    QString chooseDictionary();
    void changeDictionary();
    // Another dual dictionary, in dual mode only.
    void loadDual();
    // Import, update or export (cmd::kImport, kUpdate, kExport).
    void importExport(int id);
    void createNewDictionary();
    void editDictionaryInfo();

private:
    bool mainLoaded() const;
    // The file name an export of `format` proposes: the database folder and
    // the lists' names, "From_To".
    QString exportProposal(int format) const;

    QWidget* m_window;
    const wordbay::ProgramPaths* m_paths;
    wordbay::Catalogue* m_catalogue;
    wordbay::SearchController* m_controller;
    wordbay::MainView* m_view;
    const MessageBoxButtonTable* m_buttons;
};
