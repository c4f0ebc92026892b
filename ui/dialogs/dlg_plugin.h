// DlgPlugin: the choice of a file format for importing, exporting or updating
// a dictionary, from the engine's own list of formats (DB_GetPluginList) and,
// for imports and exports, the StarDict and dictd formats beside it, shown
// sorted by name. Accepting without a choice is refused with a message;
// with no formats at all the accept button stays disabled.
#pragma once

#include <QString>
#include <vector>

#include "engine/lexbase.h"
#include "ui/widgets/w_dialog.h"

class QPushButton;
class QTableWidget;

class DlgPlugin : public WDialog {
    Q_OBJECT

public:
    enum class Mode {
        kImport,  // the load formats
        kExport,  // the save formats
        kUpdate,  // the load formats, to merge a file into the open dictionary
    };

    // Reads the format list through `handle` (which needs no open dictionary),
    // on the user-interface thread, so no job may be running on it; a null
    // handle reads it through a short-lived handle of its own.
    DlgPlugin(Mode mode, DB_HANDLE handle, QWidget* parent = nullptr);
    // Offers `formats` (for example a list read earlier), sorted by name.
    DlgPlugin(Mode mode, std::vector<DB_FORMAT_RECORD> formats, QWidget* parent = nullptr);
    ~DlgPlugin() override;

    Mode mode() const { return m_mode; }

    // The formats offered, in the order shown.
    const std::vector<DB_FORMAT_RECORD>& formats() const { return m_formats; }

    // After exec() returned kIdOk: the chosen format.
    const DB_FORMAT_RECORD& chosenFormat() const { return m_chosen; }
    int formatCode() const { return m_chosen.format; }
    QString formatName() const;
    // The default extension without the dot; empty for a folder format.
    QString extension() const;
    bool namesFolder() const { return m_chosen.folder != 0; }
    bool asksForDescription() const { return m_chosen.asks_for_description != 0; }

    // The help topic of this mode: "import", "export" or "update".
    QString helpTopic() const;

signals:
    // The help button was pressed; the owner opens the topic.
    void helpRequested(const QString& topic);

protected:
    void onOk() override;

private:
    static std::vector<DB_FORMAT_RECORD> readFormats(Mode mode, DB_HANDLE handle);

    Mode m_mode;
    std::vector<DB_FORMAT_RECORD> m_formats;
    DB_FORMAT_RECORD m_chosen{};
    QTableWidget* m_list = nullptr;
    QPushButton* m_accept = nullptr;
};
