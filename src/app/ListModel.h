// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ListColumns.h"
#include "proc/RunningList.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVarLengthArray>

#include <optional>
#include <vector>

class ListModel;

// A row as returned by adding it, for setting its sub-items right after.
class ListItem
{
public:
    ListItem(ListModel *model, int storageIndex, quint64 generation)
        : m_model(model), m_index(storageIndex), m_generation(generation)
    {
    }
    // Sets a sub-item: the text of the column of that number, 1 or more.
    void setSubItem(int number, const QString &text);

private:
    ListModel *m_model;
    int m_index;
    quint64 m_generation;
};

// The rows of a list control. Rows live in a vector; while sorting is on they
// are sorted once when next read or shown, not per insert, and views learn of
// a whole rebuild by one reset.
class ListModel : public QAbstractTableModel, public RunningList
{
    Q_OBJECT

public:
    // Column 0's data under this role is the row's hidden identity, when it has one.
    static constexpr int IdentityRole = Qt::UserRole;

    explicit ListModel(QObject *parent = nullptr);

    int addColumn(const QString &header);
    void setCheckBoxes(bool on) { m_checkBoxes = on; }
    void setSorted(bool on);
    void setSortKey(int column);

    void removeAllRows() override;
    ListItem addRow(const QString &text, std::optional<quint64> identity = std::nullopt);
    void addEntry(const QString &name, const QString &id, const QString &type,
                  std::optional<quint64> identity) override;
    int count() const { return static_cast<int>(m_rows.size()); }
    // While held, views are not told of changes and go on showing the rows as
    // they were; releasing tells them at once. A rebuild that ends with the
    // same rows as before changes nothing they show but the check boxes.
    void holdViewUpdates(bool held);

    // Positions run from 1 to count() in display order; others throw IndexFailure.
    QString text(int position) const;
    QString subItem(int position, int number) const;
    // What addEntry was given; rows added otherwise have none.
    std::optional<quint64> identity(int position) const;
    bool isChecked(int position) const;
    void setChecked(int position, bool checked);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    friend class ListItem;
    struct Row {
        // One for each column; the running list's take no block of their own.
        QVarLengthArray<QString, std::size(runningColumns)> texts;
        bool checked = false;
        std::optional<quint64> identity;
    };

    Row &storageRow(int storageIndex, quint64 generation);
    int subItemColumn(int number) const;
    int textCount() const;
    int storageIndexAt(int position) const;
    const Row *shownRow(int viewRow) const;
    void ensureSorted() const;
    void scheduleViewUpdate();
    void publish();
    void keepHeldRows(bool emptying);
    bool rebuiltAsHeld() const;
    void keepShownRows();

    QStringList m_headers;
    std::vector<Row> m_rows;
    mutable std::vector<int> m_order; // storage index of each display position
    mutable bool m_orderDirty = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    bool m_checkBoxes = false;
    quint64 m_generation = 0; // bumped when all rows go, so stale ListItems fail
    int m_shownRows = 0;      // the row count views were last told of
    bool m_updatePending = false;
    bool m_viewUpdatesHeld = false;
    // The rows as views were last shown them, while updates are held.
    std::vector<Row> m_heldRows;
    std::vector<int> m_heldOrder;
    bool m_heldValid = false;
    bool m_changedBeforeHold = false;
    std::pair<bool, int> m_heldSorting; // sorted and the key, as the rows were held
};
