// DlgInfo: the description of a dictionary: the two list names, languages
// (locales) and character sets, and the dictionary's name, author and
// description. One dialog serves four purposes:
//   kImport          the description of a file being imported (info());
//   kOpenDictionary  shows and changes the open dictionary's description
//                    (through the function its inputs give), with a summary
//                    of its counts; Apply changes it and keeps the dialog open;
//   kCreate          creates an empty dictionary in the database folder
//                    (createdPath());
//   kUpdate          the description of a file being merged (info()).
// Accepting checks that the two list names and the dictionary name are given
// and puts the focus on the first one missing.
//
// Texts are edited in Unicode and stored in the code page of the chosen
// language: each list name in its list's, the name, author and description in
// the primary list's; a text is cut at a whole character to fit its field.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/dictionary_slot.h"
#include "app/editing_commands.h"
#include "engine/lexbase.h"
#include "ui/widgets/w_dialog.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wordbay {
class Catalogue;
}

class DlgInfo : public WDialog {
    Q_OBJECT

public:
    enum class Mode { kImport = 1, kOpenDictionary = 2, kCreate = 3, kUpdate = 4 };

    // Resort bits of resortLists().
    static constexpr int kPrimaryLocaleChanged = 1;
    static constexpr int kSecondaryLocaleChanged = 2;

    // Longest texts, in bytes of their code page.
    static constexpr int kMaxListName = 39;
    static constexpr int kMaxText = 99;

    // kOpenDictionary: gives the open dictionary the description `change`
    // makes of the one it holds.
    using Change = std::function<DICTIONARY_INFO(const DICTIONARY_INFO&)>;
    using Apply = std::function<wordbay::DescriptionChange(const Change& change)>;

    struct Inputs {
        // kOpenDictionary: the open dictionary's description (none when it
        // can't be read) and its file.
        std::optional<DICTIONARY_INFO> current;
        std::string path;
        // kCreate: the database folder, and the catalogue that decides
        // whether the new file would replace a dictionary.
        std::string databaseDir;
        const wordbay::Catalogue* catalogue = nullptr;
        // kOpenDictionary: how a change reaches the dictionary.
        Apply apply;
    };

    DlgInfo(Mode mode, Inputs inputs, QWidget* parent = nullptr);
    ~DlgInfo() override;

    Mode mode() const { return m_mode; }

    // Fills the fields from `info` (for kImport and kUpdate; kOpenDictionary
    // reads the dictionary's own description).
    void setInfo(const DICTIONARY_INFO& info);

    // kImport, kUpdate, kCreate: the description accepted (strings, locales,
    // character sets). kOpenDictionary: the description read back after the
    // last change, or the one shown when nothing was changed.
    const DICTIONARY_INFO& info() const { return m_info; }

    // The texts of the fields as typed, in UTF-8: an import encodes them once
    // it knows which lists became UTF-8.
    wordbay::DescriptionTexts typedTexts() const;

    // kOpenDictionary: which lists need sorting again because their locale now
    // differs from the one they were sorted by when the dialog opened
    // (kPrimaryLocaleChanged | kSecondaryLocaleChanged). Valid however the
    // dialog closed: a change applied before Cancel counts too.
    int resortLists() const;

    // kCreate, after exec() returned kIdOk: the file of the new dictionary.
    const std::string& createdPath() const { return m_createdPath; }

signals:
    // kOpenDictionary: the dictionary's description was changed (Apply or
    // accept); info() holds it.
    void infoChanged();

protected:
    void onOk() override;
    // kCreate: asks for another file when the user does not want to replace
    // `proposed`; empty when cancelled.
    virtual std::string chooseOtherFile(const std::string& proposed);

private:
    struct ListFields {
        QLineEdit* name = nullptr;
        QComboBox* locale = nullptr;
        QComboBox* charset = nullptr;
        bool known = false;               // set from a description
        std::uint32_t initialLocale = 0;  // shown at the initial locale row
        int initialLocaleRow = -1;
        std::uint32_t initialCharset = 0;
    };

    void createControls();
    QGridLayout* createListFields();
    QGroupBox* createDescriptionFields();
    void showSummary();
    // The checks of every accept; false (after the message) when one fails.
    bool checkFields();
    // The description in the fields, over `base` for what they do not hold.
    DICTIONARY_INFO fieldsInfo(const DICTIONARY_INFO& base) const;
    // The choice of a list, or the value set for it, or `base` when none was
    // set.
    std::uint32_t chosenLocale(const ListFields& list, std::uint32_t base) const;
    std::uint32_t chosenCharset(const ListFields& list, std::uint32_t base) const;
    // kOpenDictionary: changes the dictionary's description and shows the
    // one it holds then.
    bool applyToDictionary();
    // kCreate: creates and saves the new dictionary (CreateDictionary), asking
    // before it replaces a file; true when it was saved.
    bool createDictionary();

    Mode m_mode;
    Inputs m_inputs;
    DICTIONARY_INFO m_info{};
    DICTIONARY_INFO m_sortedInfo{};  // kOpenDictionary: as the dialog opened
    bool m_haveSortedInfo = false;
    std::string m_createdPath;
    std::array<ListFields, 2> m_lists;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_description = nullptr;
    QLabel* m_summary = nullptr;
};
