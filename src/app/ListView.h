// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ListModel.h"

#include <QTreeView>

#include <functional>

// A report-view list with column headers and, optionally, a check box per row.
// Rows are addressed by their position in display order, 1 to count().
class ListView : public QTreeView
{
    Q_OBJECT

public:
    explicit ListView(QWidget *parent = nullptr);

    void setCheckBoxes(bool on) { m_model->setCheckBoxes(on); }
    void addColumn(const QString &header);
    // `column` counts from 1, as the columns were added.
    void setColumnWidthTwips(int column, int twips);
    void setSorted(bool on) { m_model->setSorted(on); }
    void setSortKey(int column) { m_model->setSortKey(column); }

    void removeAllRows() { m_model->removeAllRows(); }
    ListItem addRow(const QString &text) { return m_model->addRow(text); }
    int count() const { return m_model->count(); }
    QString text(int position) const { return m_model->text(position); }
    QString subItem(int position, int number) const { return m_model->subItem(position, number); }
    std::optional<quint64> identity(int position) const { return m_model->identity(position); }
    bool isChecked(int position) const { return m_model->isChecked(position); }
    void setChecked(int position, bool checked) { m_model->setChecked(position, checked); }

    ListModel *listModel() const { return m_model; }
    // Clicks, keys and the wheel are dropped while `drops` says so.
    void dropInputWhen(std::function<bool()> drops) { m_dropsInput = std::move(drops); }

private:
    // A row as the user saw it: what tells it from the others, and its place.
    struct RowPlace {
        QString id, type, name; // the name only tells rows without an ID apart
        QVariant identity;      // a reused ID belongs to another row
        int row = -1;
    };
    struct Place {
        RowPlace current, top;
        bool currentSelected = false;
    };

public:
    // While one lives, a rebuild made of several passes shows nothing of its
    // half-built rows: the view goes on showing the rows as they were and
    // shows the result once. The user stays where they were: the current row
    // and the top row stay the same rows while they are listed, told by
    // their ID and type, and their identity where both have one; a current
    // row that went gives its place to the row that now stands there.
    class RebuildScope
    {
    public:
        explicit RebuildScope(ListView &view);
        ~RebuildScope();
        RebuildScope(const RebuildScope &) = delete;
        RebuildScope &operator=(const RebuildScope &) = delete;

    private:
        ListView &m_view;
        Place m_place; // where the user was, for the outermost scope
    };

signals:
    // The pointer moved over the list, its rows or its headers.
    void mouseMoved();

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;

private:
    void keepScrollPositionAcrossResets();
    bool dropsInput(const QEvent *event) const;
    QString shownText(int row, int column) const;
    QVariant shownIdentity(int row) const;
    RowPlace rowPlace(const QModelIndex &index) const;
    int rowNow(const RowPlace &place) const;
    Place place() const;
    void returnTo(const Place &place);

    ListModel *m_model;
    std::function<bool()> m_dropsInput;
    int m_savedScroll = 0;
    int m_rebuildDepth = 0;
    bool m_backOnTheSameRow = false; // nothing new for screen readers to announce
};
