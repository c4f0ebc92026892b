#include "ui/wordlists/word_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/message_table.h"
#include "ui/widgets/ui_text.h"

using wordbay::TextId;

namespace {

constexpr int kRowRole = Qt::UserRole + 1;

}  // namespace

WordListWindow::WordListWindow(Kind kind, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_kind(kind)
    , m_filter(new QLineEdit(this))
    , m_view(new QTreeView(this))
    , m_model(new QStandardItemModel(0, 4, this))
    , m_shown(new QSortFilterProxyModel(this))
    , m_remove(new QPushButton(this))
    , m_clear(new QPushButton(this)) {
    const bool history = kind == Kind::kHistory;
    setObjectName(history ? QStringLiteral("historyWindow") : QStringLiteral("favouritesWindow"));
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setClearButtonEnabled(true);
    m_view->setObjectName(QStringLiteral("words"));
    m_remove->setObjectName(QStringLiteral("remove"));
    m_clear->setObjectName(QStringLiteral("clearAll"));

    m_shown->setSourceModel(m_model);
    m_shown->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_shown->setFilterKeyColumn(-1);  // the word, its translations, its dictionary
    m_view->setModel(m_shown);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setAlternatingRowColors(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->header()->setSectionResizeMode(history ? 0 : 1, QHeaderView::Stretch);
    m_view->installEventFilter(this);

    connect(m_filter, &QLineEdit::textChanged, m_shown,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(m_view, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit lookUpRequested(ownerRow(index));
    });
    connect(m_view, &QTreeView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit lookUpRequested(ownerRow(index));
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        const int row = chosenRow();
        if (row >= 0) emit removeRequested(row);
    });
    connect(m_clear, &QPushButton::clicked, this, &WordListWindow::clearRequested);
    // Down from the filter box goes into the list.
    m_filter->installEventFilter(this);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_remove);
    buttons->addWidget(m_clear);
    buttons->addStretch(1);
    if (!history) {
        m_exportTab = new QPushButton(this);
        m_exportTab->setObjectName(QStringLiteral("exportTab"));
        m_exportCsv = new QPushButton(this);
        m_exportCsv->setObjectName(QStringLiteral("exportCsv"));
        connect(m_exportTab, &QPushButton::clicked, this, [this] { emit exportRequested(false); });
        connect(m_exportCsv, &QPushButton::clicked, this, [this] { emit exportRequested(true); });
        buttons->addWidget(m_exportTab);
        buttons->addWidget(m_exportCsv);
    }
    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(this);
    filterLabel->setObjectName(QStringLiteral("filterLabel"));
    filterLabel->setBuddy(m_filter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(filterRow);
    column->addWidget(m_view, 1);
    column->addLayout(buttons);
    resize(520, 420);
    retranslate();
}

void WordListWindow::retranslate() {
    const bool history = m_kind == Kind::kHistory;
    setWindowTitle(uiText(history ? TextId::MSG_HISTORY : TextId::MSG_FAVOURITES));
    findChild<QLabel*>(QStringLiteral("filterLabel"))->setText(uiText(TextId::MSG_FILTER));
    m_filter->setAccessibleName(uiText(TextId::MSG_FILTER));
    m_view->setAccessibleName(windowTitle());
    m_model->setHorizontalHeaderLabels(
        {uiText(TextId::MSG_WORD_COLUMN),
         uiText(history ? TextId::MSG_COUNT : TextId::MSG_TRANSLATIONS),
         uiText(TextId::MSG_DICTIONARY), uiText(TextId::MSG_DATE)});
    m_remove->setText(uiText(TextId::MSG_REMOVE));
    m_clear->setText(uiText(TextId::MSG_CLEAR_ALL));
    if (m_exportTab != nullptr) {
        m_exportTab->setText(uiText(TextId::MSG_EXPORT_FLASHCARDS));
        m_exportCsv->setText(uiText(TextId::MSG_EXPORT_CSV));
    }
}

void WordListWindow::setRows(const QList<Row>& rows) {
    const int chosen = chosenRow();
    m_model->setRowCount(0);
    for (int i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        QList<QStandardItem*> items;
        for (const QString& text : {r.word, r.detail, r.dictionary, r.when}) {
            auto* item = new QStandardItem(text);
            item->setData(i, kRowRole);
            items.append(item);
        }
        if (m_kind == Kind::kHistory) items[1]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_model->appendRow(items);
    }
    if (chosen >= 0 && chosen < rows.size()) {
        const QModelIndex shown = m_shown->mapFromSource(m_model->index(chosen, 0));
        if (shown.isValid()) m_view->setCurrentIndex(shown);
    }
    m_remove->setEnabled(!rows.isEmpty());
    m_clear->setEnabled(!rows.isEmpty());
    if (m_exportTab != nullptr) {
        m_exportTab->setEnabled(!rows.isEmpty());
        m_exportCsv->setEnabled(!rows.isEmpty());
    }
}

QList<int> WordListWindow::shownRows() const {
    QList<int> rows;
    for (int i = 0; i < m_shown->rowCount(); ++i) rows.append(ownerRow(m_shown->index(i, 0)));
    return rows;
}

int WordListWindow::ownerRow(const QModelIndex& shown) const {
    return m_shown->mapToSource(shown).siblingAtColumn(0).data(kRowRole).toInt();
}

int WordListWindow::chosenRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? ownerRow(current) : -1;
}

bool WordListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_filter && key->key() == Qt::Key_Down && m_shown->rowCount() > 0) {
        m_view->setFocus(Qt::TabFocusReason);
        if (!m_view->currentIndex().isValid()) m_view->setCurrentIndex(m_shown->index(0, 0));
        return true;
    }
    if (watched == m_view && key->key() == Qt::Key_Delete) {
        const int row = chosenRow();
        if (row >= 0) emit removeRequested(row);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
