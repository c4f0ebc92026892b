// DlgFreelangImport: the languages of a Freelang installation. In import
// mode every language has a check box and accepting marks the checked ones as
// chosen; in update mode one language is selected and its database file is
// the result.
#pragma once

#include <string>
#include <vector>

#include "app/freelang_directory.h"
#include "ui/widgets/w_dialog.h"

class QTableWidget;

class DlgFreelangImport : public WDialog {
    Q_OBJECT

public:
    enum class Mode { kImport = 0, kUpdate = 1 };

    // `entries` must outlive the dialog; in import mode accepting sets every
    // entry's `chosen` flag to its check box (check boxes start as the flags).
    DlgFreelangImport(Mode mode, std::vector<wordbay::FreelangEntry>& entries,
                      QWidget* parent = nullptr);
    ~DlgFreelangImport() override;

    // Update mode, after exec() returned kIdOk: the chosen language's database
    // file ("<folder>/language/<short>_English.wb").
    const std::string& chosenPath() const { return m_chosenPath; }

protected:
    void onOk() override;

private:
    Mode m_mode;
    std::vector<wordbay::FreelangEntry>& m_entries;
    std::string m_chosenPath;
    QTableWidget* m_list = nullptr;
};
