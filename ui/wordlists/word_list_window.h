// WordListWindow: the History or the Favourites window. An ordinary list
// (a tree view without branches, one row a word) under a filter box, with
// buttons to remove the chosen word or every word, and, for the favourites,
// to export them. A click or Enter on a word asks for it to be looked up
// again; Delete removes it. The window only shows and asks: the owner of the
// words does the work and refills it.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTreeView;

class WordListWindow : public QWidget {
    Q_OBJECT

public:
    enum class Kind { kHistory, kFavourites };
    // One word: its columns as shown (word, count or translations,
    // dictionary, time or date).
    struct Row {
        QString word;
        QString detail;
        QString dictionary;
        QString when;
    };

    explicit WordListWindow(Kind kind, QWidget* parent = nullptr);

    // Row i stands for the owner's word i; the filter and the choice stay.
    void setRows(const QList<Row>& rows);
    // The texts from the interface language.
    void retranslate();
    // The rows the filter leaves, in order, as owner's indices.
    QList<int> shownRows() const;
    QTreeView* view() const { return m_view; }
    QLineEdit* filterBox() const { return m_filter; }

signals:
    void lookUpRequested(int row);
    void removeRequested(int row);
    void clearRequested();
    void exportRequested(bool csv);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The owner's index of the chosen row, or -1.
    int chosenRow() const;
    int ownerRow(const QModelIndex& shown) const;

    Kind m_kind;
    QLineEdit* m_filter;
    QTreeView* m_view;
    QStandardItemModel* m_model;
    QSortFilterProxyModel* m_shown;
    QPushButton* m_remove;
    QPushButton* m_clear;
    QPushButton* m_exportTab = nullptr;
    QPushButton* m_exportCsv = nullptr;
};
