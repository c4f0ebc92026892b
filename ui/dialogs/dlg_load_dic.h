// DlgLoadDic: the dictionary chooser. Lists the dictionaries of the catalogue
// (name, author, description, word count, file name) with the main
// dictionary selected, returns the chosen file, and deletes a dictionary
// together with its settings file after asking.
//
// Runs on the user-interface thread while no job runs, so the catalogue does
// not change under it except through its own deletions.
#pragma once

#include <string>
#include <vector>

#include "app/catalogue.h"
#include "ui/widgets/w_dialog.h"

class QPushButton;
class QTableWidget;

class DlgLoadDic : public WDialog {
    Q_OBJECT

public:
    enum class Mode {
        kChange,  // choose the dictionary to open (main or dual)
        kUpdate,  // choose the dictionary to merge into the open one
    };

    // `catalogue` must outlive the dialog; a deletion removes its entry.
    // `currentPath`: the main dictionary's file, selected when listed (also
    // when the dual dictionary is being chosen); empty for none.
    DlgLoadDic(Mode mode, wordbay::Catalogue& catalogue, std::string currentPath,
               QWidget* parent = nullptr);
    ~DlgLoadDic() override;

    // After exec() returned kIdOk: the chosen dictionary's full path.
    const std::string& chosenPath() const { return m_chosenPath; }
    // The files deleted while the dialog was open, in order.
    const std::vector<std::string>& deletedPaths() const { return m_deleted; }

protected:
    void onOk() override;

private:
    void fillList();
    void deleteSelected();

    wordbay::Catalogue& m_catalogue;
    std::vector<wordbay::CatalogueEntry> m_entries;  // the rows, in order
    std::string m_currentPath;
    std::string m_chosenPath;
    std::vector<std::string> m_deleted;
    QTableWidget* m_list = nullptr;
};
