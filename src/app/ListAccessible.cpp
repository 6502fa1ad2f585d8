// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ListAccessible.h"

#include "app/ListView.h"

#include <QAccessibleWidget>
#include <QHeaderView>
#include <QPointer>

#include <map>

namespace
{
// A cell by its place: row -1 is the header's. The cells of a list are made
// again after each rebuild, since a place then holds another row.
class ListCell : public QAccessibleInterface,
                 public QAccessibleTableCellInterface,
                 public QAccessibleActionInterface
{
public:
    ListCell(ListView *view, int row, int column) : m_view(view), m_row(row), m_column(column) {}

    bool isValid() const override
    {
        return m_view && m_row < m_view->model()->rowCount() &&
               m_column < m_view->model()->columnCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view->window()->windowHandle(); }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return isHeader() ? m_view->model()->headerData(m_column, Qt::Horizontal).toString()
                          : index().data().toString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        if (isHeader()) {
            const QHeaderView *header = m_view->header();
            return QRect(header->mapToGlobal(QPoint(header->sectionViewportPosition(m_column), 0)),
                         QSize(header->sectionSize(m_column), header->height()));
        }
        const QRect cell = m_view->visualRect(index());
        return QRect(m_view->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override
    {
        return isHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid() || isHeader())
            return state;
        const QRect shown(m_view->viewport()->mapToGlobal(QPoint()), m_view->viewport()->size());
        state.invisible = !shown.intersects(rect());
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = m_view->currentIndex() == index();
        if (isCheckable()) {
            state.checkable = true;
            state.checked = index().data(Qt::CheckStateRole).toInt() == Qt::Checked;
        }
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface && isCheckable())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return !isHeader() && isValid() && m_view->selectionModel()->isSelected(index());
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return {table()->tableInterface()->cellAt(-1, m_column)};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString &name) override
    {
        if (name == toggleAction() && isCheckable())
            m_view->model()->setData(index(), state().checked ? Qt::Unchecked : Qt::Checked,
                                     Qt::CheckStateRole);
    }
    QStringList keyBindingsForAction(const QString &) const override
    {
        return {QStringLiteral("Space")};
    }

private:
    bool isHeader() const { return m_row < 0; }
    QModelIndex index() const { return m_view->model()->index(m_row, m_column); }
    bool isCheckable() const
    {
        return !isHeader() && isValid() && (index().flags() & Qt::ItemIsUserCheckable);
    }

    QPointer<ListView> m_view;
    int m_row;
    int m_column;
};

// The list as a table. Its children are the header's cells, then each row's,
// in the order the view counts them when it tells of the current cell.
class ListTable : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ListTable(ListView *view) : QAccessibleWidget(view, QAccessible::Table)
    {
        QObject::connect(view->model(), &QAbstractItemModel::dataChanged, view,
                         [this](const QModelIndex &first, const QModelIndex &last,
                                const QList<int> &roles) { tellOfChecks(first, last, roles); });
    }
    ~ListTable() override { forgetCells(); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return (rowCount() + 1) * columnCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const int columns = columnCount();
        if (index < 0 || columns == 0 || index >= childCount())
            return nullptr;
        return cellAt(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QAccessibleTableCellInterface *cell =
            child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
        if (!cell || child->parent() != this)
            return -1;
        return (cell->rowIndex() + 1) * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = list()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = list()->indexAt(at);
        return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
    }

    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < -1 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        auto [place, made] = m_cells.try_emplace({row, column}, 0);
        if (made)
            place->second =
                QAccessible::registerAccessibleInterface(new ListCell(list(), row, column));
        return QAccessible::accessibleInterface(place->second);
    }
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        return list()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return list()->model()->columnCount(); }
    int rowCount() const override { return list()->model()->rowCount(); }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (const int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                cells << cellAt(row, column);
        return cells;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (const QModelIndex &index : list()->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return list()->selectionModel()->isRowSelected(row, {});
    }
    bool selectRow(int row) override
    {
        list()->setCurrentIndex(list()->model()->index(row, 0));
        return isRowSelected(row);
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override
    {
        list()->selectionModel()->select(list()->model()->index(row, 0),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        return !isRowSelected(row);
    }
    bool unselectColumn(int) override { return false; }
    // The list's model is only ever reset, and its cells then hold other rows.
    void modelChange(QAccessibleTableModelChangeEvent *event) override
    {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            forgetCells();
    }

private:
    ListView *list() const { return static_cast<ListView *>(widget()); }
    // A check mark set or cleared, by the user or by a command, is told to
    // the screen reader as the cell's changed state.
    void tellOfChecks(const QModelIndex &first, const QModelIndex &last, const QList<int> &roles)
    {
        if (!QAccessible::isActive() || first.column() != 0 ||
            (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole)))
            return;
        QAccessible::State changed;
        changed.checked = true;
        for (int row = first.row(); row <= last.row(); ++row) {
            QAccessibleStateChangeEvent event(cellAt(row, 0), changed);
            QAccessible::updateAccessibility(&event);
        }
    }
    void forgetCells()
    {
        for (const auto &[place, id] : m_cells)
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable std::map<std::pair<int, int>, QAccessible::Id> m_cells;
};
} // namespace

void tellScreenReadersOfListsAsTables()
{
    QAccessible::installFactory([](const QString &className, QObject *object) {
        return className == QLatin1String(ListView::staticMetaObject.className()) && object &&
                       object->isWidgetType()
                   ? static_cast<QAccessibleInterface *>(
                         new ListTable(static_cast<ListView *>(object)))
                   : nullptr;
    });
}
