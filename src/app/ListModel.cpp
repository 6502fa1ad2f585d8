// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ListModel.h"

#include "common/Failure.h"
#include "common/VisibleText.h"

#include <algorithm>

namespace
{
IndexFailure outOfBounds(int position, int count)
{
    return IndexFailure(QStringLiteral("Index out of bounds: position %1 of a list with %2 rows")
                            .arg(position)
                            .arg(count));
}
} // namespace

void ListItem::setSubItem(int number, const QString &text)
{
    const int column = m_model->subItemColumn(number);
    ListModel::Row &row = m_model->storageRow(m_index, m_generation);
    m_model->keepHeldRows(false);
    row.texts[column] = text;
    if (m_model->m_sorted && m_model->m_sortKey == number)
        m_model->m_orderDirty = true;
    m_model->scheduleViewUpdate();
}

ListModel::ListModel(QObject *parent) : QAbstractTableModel(parent) {}

int ListModel::addColumn(const QString &header)
{
    const int column = static_cast<int>(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers.append(header);
    for (std::vector<Row> *rows : {&m_rows, &m_heldRows})
        for (Row &row : *rows)
            row.texts.resize(textCount());
    endInsertColumns();
    return column + 1;
}

void ListModel::setSorted(bool on)
{
    keepHeldRows(false);
    m_sorted = on;
    m_orderDirty = true;
    scheduleViewUpdate();
}

void ListModel::setSortKey(int column)
{
    keepHeldRows(false);
    m_sortKey = std::clamp(column, 0, textCount() - 1);
    m_orderDirty = true;
    scheduleViewUpdate();
}

void ListModel::removeAllRows()
{
    keepHeldRows(true);
    m_rows.clear();
    m_order.clear();
    m_orderDirty = false;
    ++m_generation;
    scheduleViewUpdate();
}

ListItem ListModel::addRow(const QString &text, std::optional<quint64> identity)
{
    addEntry(text, QString(), QString(), identity);
    return ListItem(this, count() - 1, m_generation);
}

void ListModel::addEntry(const QString &name, const QString &id, const QString &type,
                         std::optional<quint64> identity)
{
    keepHeldRows(false);
    Row row{decltype(Row::texts)(textCount()), false, identity};
    row.texts[NameColumn] = name;
    row.texts[IdColumn] = id;
    row.texts[TypeColumn] = type;
    m_rows.push_back(std::move(row));
    m_order.push_back(static_cast<int>(m_rows.size()) - 1);
    if (m_sorted)
        m_orderDirty = true;
    scheduleViewUpdate();
}

QString ListModel::text(int position) const
{
    return m_rows[storageIndexAt(position)].texts[0];
}

QString ListModel::subItem(int position, int number) const
{
    const int column = subItemColumn(number);
    return m_rows[storageIndexAt(position)].texts[column];
}

int ListModel::subItemColumn(int number) const
{
    if (number < 1 || number >= textCount())
        throw IndexFailure(QStringLiteral("Invalid sub-item index %1").arg(number));
    return number;
}

// Every row holds the running list's fields, also before its columns are added.
int ListModel::textCount() const
{
    return std::max(columnCount(), int(std::size(runningColumns)));
}

std::optional<quint64> ListModel::identity(int position) const
{
    return m_rows[storageIndexAt(position)].identity;
}

bool ListModel::isChecked(int position) const
{
    return m_rows[storageIndexAt(position)].checked;
}

void ListModel::setChecked(int position, bool checked)
{
    const int index = storageIndexAt(position);
    m_rows[index].checked = checked;
    if (position - 1 < m_shownRows && !m_updatePending) {
        const QModelIndex cell = createIndex(position - 1, 0);
        emit dataChanged(cell, cell, {Qt::CheckStateRole});
    }
}

ListModel::Row &ListModel::storageRow(int storageIndex, quint64 generation)
{
    if (generation != m_generation || storageIndex < 0 || storageIndex >= count())
        throw IndexFailure(QStringLiteral("The row was removed from the list"));
    return m_rows[storageIndex];
}

int ListModel::storageIndexAt(int position) const
{
    if (position < 1 || position > count())
        throw outOfBounds(position, count());
    ensureSorted();
    return m_order[position - 1];
}

const ListModel::Row *ListModel::shownRow(int viewRow) const
{
    if (viewRow < 0 || viewRow >= m_shownRows)
        return nullptr;
    if (m_viewUpdatesHeld && m_heldValid)
        return viewRow < static_cast<int>(m_heldOrder.size()) ? &m_heldRows[m_heldOrder[viewRow]]
                                                              : nullptr;
    if (viewRow >= count())
        return nullptr;
    ensureSorted();
    return &m_rows[m_order[viewRow]];
}

void ListModel::ensureSorted() const
{
    if (!m_orderDirty)
        return;
    m_orderDirty = false;
    if (!m_sorted)
        return;
    const int key = m_sortKey;
    std::stable_sort(m_order.begin(), m_order.end(), [this, key](int a, int b) {
        return QString::compare(m_rows[a].texts[key], m_rows[b].texts[key], Qt::CaseInsensitive) <
               0;
    });
}

void ListModel::scheduleViewUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(this, &ListModel::publish, Qt::QueuedConnection);
}

void ListModel::holdViewUpdates(bool held)
{
    if (held && !m_viewUpdatesHeld) {
        ensureSorted();
        m_heldValid = false; // taken at the first change, so an emptying moves them
        m_changedBeforeHold = m_updatePending; // views have not seen the rows as held
    }
    m_viewUpdatesHeld = held;
    if (held)
        return;
    publish();
    m_heldValid = false;
    m_heldRows.clear();
    m_heldOrder.clear();
}

// Views keep being shown the rows as they were before the first change
// made while they are held.
void ListModel::keepHeldRows(bool emptying)
{
    if (!m_viewUpdatesHeld || m_heldValid)
        return;
    ensureSorted();
    if (emptying) {
        m_heldRows.swap(m_rows);
        m_heldOrder.swap(m_order);
    } else {
        m_heldRows = m_rows;
        m_heldOrder = m_order;
    }
    m_heldValid = true;
    m_heldSorting = {m_sorted, m_sortKey};
}

void ListModel::publish()
{
    if (!m_updatePending || m_viewUpdatesHeld)
        return;
    m_updatePending = false;
    if (rebuiltAsHeld()) {
        keepShownRows();
        return;
    }
    beginResetModel();
    ensureSorted();
    m_shownRows = count();
    endResetModel();
}

bool ListModel::rebuiltAsHeld() const
{
    const auto sameRow = [](const Row &a, const Row &b) {
        return a.identity == b.identity && a.texts == b.texts;
    };
    return m_heldValid && !m_changedBeforeHold && m_heldSorting == std::pair(m_sorted, m_sortKey) &&
           m_shownRows == count() && m_heldRows.size() == m_rows.size() &&
           std::equal(m_rows.begin(), m_rows.end(), m_heldRows.begin(), sameRow);
}

// The same rows in the same storage order sort as they did: no reset, and no
// paint but for check boxes that changed.
void ListModel::keepShownRows()
{
    m_order.swap(m_heldOrder); // the held rows go right after
    m_orderDirty = false;
    const bool checksChanged =
        !std::equal(m_rows.begin(), m_rows.end(), m_heldRows.begin(),
                    [](const Row &a, const Row &b) { return a.checked == b.checked; });
    if (checksChanged && count() > 0)
        emit dataChanged(createIndex(0, 0), createIndex(count() - 1, 0), {Qt::CheckStateRole});
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    const Row *row = shownRow(index.row());
    if (!row || index.column() < 0 || index.column() >= columnCount())
        return {};
    // Names come from other programs; text() and the commands keep them verbatim.
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return index.column() == 0 ? visibleText(row->texts[0]) : row->texts[index.column()];
    if (role == Qt::CheckStateRole && m_checkBoxes && index.column() == 0)
        return row->checked ? Qt::Checked : Qt::Unchecked;
    if (role == IdentityRole && index.column() == 0 && row->identity)
        return QVariant::fromValue(*row->identity);
    return {};
}

bool ListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_checkBoxes || index.column() != 0 || m_viewUpdatesHeld ||
        !shownRow(index.row()))
        return false;
    const int storage = m_order[index.row()];
    m_rows[storage].checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkBoxes && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_headers[section];
    return {};
}
