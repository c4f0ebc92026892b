#include "ui/widgets/w_list_box_accessible.h"

#include <QPointer>
#include <utility>

#include "ui/widgets/w_list_box.h"

namespace {

// One row of a WListBox. Holds only the list and the row number.
class RowAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    RowAccessible(WListBox* list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override { return m_list != nullptr && m_row < m_list->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_list != nullptr ? m_list->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return m_list != nullptr ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return QString();
        return m_list->itemText(m_row);
    }

    QRect rect() const override {
        if (!isValid()) return QRect();
        const QRect r = m_list->rowRect(m_row);
        return QRect(m_list->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = m_row == m_list->curSel() && m_list->hasFocus();
        const int top = m_list->topIndex();
        if (m_row < top || m_row > top + m_list->pageRows()) {
            s.invisible = true;
            s.offscreen = true;
        }
        if (!m_list->isEnabled()) s.disabled = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override {
        return isValid() && (m_list->isSelectAll() || m_row == m_list->curSel());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<WListBox> m_list;
    int m_row;
};

QAccessibleInterface* listBoxFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("WListBox") && object != nullptr && object->isWidgetType()) {
        return new WListBoxAccessible(static_cast<WListBox*>(object));
    }
    return nullptr;
}

}  // namespace

void installListBoxAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(listBoxFactory);
        return true;
    }();
    (void)installed;
}

WListBoxAccessible::WListBoxAccessible(WListBox* list)
    : QAccessibleWidget(list, QAccessible::List) {}

WListBoxAccessible::~WListBoxAccessible() { forgetRows(); }

WListBox* WListBoxAccessible::list() const { return static_cast<WListBox*>(widget()); }

QAccessible::State WListBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    return s;
}

QString WListBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return list()->itemText(list()->curSel());
    return QAccessibleWidget::text(t);
}

int WListBoxAccessible::childCount() const { return list()->count(); }

QAccessibleInterface* WListBoxAccessible::child(int index) const {
    if (index < 0 || index >= list()->count()) return nullptr;
    const auto it = m_rows.constFind(index);
    if (it != m_rows.constEnd()) return QAccessible::accessibleInterface(it.value());
    auto* row = new RowAccessible(list(), index);
    m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int WListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr || child->role() != QAccessible::ListItem) return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it) {
        if (it.value() == id) return it.key();
    }
    return -1;
}

QAccessibleInterface* WListBoxAccessible::childAt(int x, int y) const {
    const QPoint pos = list()->viewport()->mapFromGlobal(QPoint(x, y));
    return child(list()->rowAt(pos));
}

void* WListBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* WListBoxAccessible::cellAt(int row, int column) const {
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> WListBoxAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows()) cells.append(child(row));
    return cells;
}

int WListBoxAccessible::selectedRowCount() const {
    if (list()->isSelectAll()) return list()->count();
    return list()->curSel() >= 0 ? 1 : 0;
}

int WListBoxAccessible::rowCount() const { return list()->count(); }

QList<int> WListBoxAccessible::selectedRows() const {
    QList<int> rows;
    if (list()->isSelectAll()) {
        rows.reserve(list()->count());
        for (int row = 0; row < list()->count(); ++row) rows.append(row);
    } else if (list()->curSel() >= 0) {
        rows.append(list()->curSel());
    }
    return rows;
}

bool WListBoxAccessible::isRowSelected(int row) const {
    if (row < 0 || row >= list()->count()) return false;
    return list()->isSelectAll() || row == list()->curSel();
}

// Choosing a row through the screen reader is the user's choice: the owner
// hears of it as of a click.
bool WListBoxAccessible::selectRow(int row) {
    if (row < 0 || row >= list()->count()) return false;
    list()->endSelectAll();
    list()->moveCurrentTo(row);
    return true;
}

void WListBoxAccessible::modelChange(QAccessibleTableModelChangeEvent*) { forgetRows(); }

void WListBoxAccessible::forgetRows() {
    const QHash<int, QAccessible::Id> rows = std::exchange(m_rows, {});
    for (const QAccessible::Id id : rows) QAccessible::deleteAccessibleInterface(id);
}
