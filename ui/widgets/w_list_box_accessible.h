// The accessible interface of WListBox, so that screen readers (over AT-SPI)
// and tests read what the virtual list shows: the list is a table of one
// column whose rows are its entries, each with its text and its selected and
// focused states. Row interfaces are made on demand and keep no text: they
// read the list each time, so they never show stale contents.
#pragma once

#include <QAccessibleWidget>
#include <QHash>

class WListBox;

// Registers the factory that gives every WListBox (and derived class) this
// interface. Safe to call any number of times.
void installListBoxAccessibility();

class WListBoxAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit WListBoxAccessible(WListBox* list);
    ~WListBoxAccessible() override;

    // QAccessibleInterface
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return QString(); }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override { return 1; }
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    WListBox* list() const;

private:
    void forgetRows();

    mutable QHash<int, QAccessible::Id> m_rows;  // row -> registered row interface
};
