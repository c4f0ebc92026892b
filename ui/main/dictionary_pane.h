// DictionaryPane: the view of one open dictionary in the main window. Over the
// pane a wide direction button names the translation direction; below it two
// columns, one per word list, each with a centred caption (the list's name), a
// search edit box and a result list. The column of the source list of the
// direction comes first. The controls carry the command ids of their pane
// (main: edits 352/353, lists 350/351, direction 356; dual: 348/349, 346/347,
// 345) and report to the main window.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "app/dictionary_settings.h"

class QGridLayout;
class QHBoxLayout;
class SearchEdit;
class WImageButton;
class WListBox;
class WStatic;

class DictionaryPane : public QWidget {
    Q_OBJECT

public:
    DictionaryPane(QWidget* parent, bool dual);
    ~DictionaryPane() override;

    bool isDual() const { return m_dual; }
    SearchEdit* edit(wordbay::ListSide side) const { return m_edit[index(side)]; }
    WListBox* list(wordbay::ListSide side) const { return m_list[index(side)]; }
    WStatic* label(wordbay::ListSide side) const { return m_label[index(side)]; }
    WImageButton* directionButton() const { return m_direction; }

    // The side whose control (edit box or list) `w` is, or -1.
    int sideOf(const QWidget* w) const;

    // The list names (UTF-8 already decoded); "-" names a pane without a
    // dictionary.
    void setListNames(const QString& primary, const QString& secondary);
    QString listName(wordbay::ListSide side) const { return m_names[index(side)]; }
    // Puts the source list's column first and names the direction on the button.
    void setDirection(bool primaryToSecondary);
    bool primaryToSecondary() const { return m_primaryToSecondary; }
    wordbay::ListSide sourceSide() const;
    // The code pages of the two lists' texts.
    void setCodePages(std::uint32_t primary, std::uint32_t secondary);

    // A small control at the right end of the direction button's row.
    void setCornerWidget(QWidget* widget);
    // Fonts and colours of the main-window view group.
    void applyView(const wordbay::ViewSettings& view);
    // Captions painted red on black (edit mode) or normally.
    void setEditModeLook(bool on);
    // Lists and captions follow `on`; the edit boxes stay open for typing.
    void setControlsEnabled(bool on);

private:
    static int index(wordbay::ListSide side) { return side == wordbay::ListSide::kPrimary ? 0 : 1; }
    void relayout();

    bool m_dual;
    bool m_primaryToSecondary = true;
    QGridLayout* m_grid;
    QHBoxLayout* m_top;
    WImageButton* m_direction;
    WStatic* m_label[2];
    SearchEdit* m_edit[2];
    WListBox* m_list[2];
    QString m_names[2];
};
