// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ListView.h"

#include "app/ListAccessible.h"
#include "app/ListColumns.h"

#include "common/Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

ListView::ListView(QWidget *parent) : QTreeView(parent), m_model(new ListModel(this))
{
    tellScreenReadersOfListsAsTables();
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(1);
    viewport()->setMouseTracking(true);
    header()->installEventFilter(this);
    keepScrollPositionAcrossResets();
}

void ListView::addColumn(const QString &header)
{
    m_model->addColumn(header);
}

void ListView::setColumnWidthTwips(int column, int twips)
{
    // At least one pixel, so that a hidden-narrow column can still be dragged open.
    setColumnWidth(column - 1, std::max(1, twipsToPixels(twips, logicalDpiX())));
}

namespace
{
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}
} // namespace

ListView::RebuildScope::RebuildScope(ListView &view) : m_view(view)
{
    if (m_view.m_rebuildDepth++ > 0)
        return;
    m_place = m_view.place();
    m_view.m_model->holdViewUpdates(true);
}

ListView::RebuildScope::~RebuildScope()
{
    if (--m_view.m_rebuildDepth > 0)
        return;
    // The one reset this brings keeps the scroll position, as every reset
    // does; a rebuild to the same rows brings none.
    m_view.m_model->holdViewUpdates(false);
    m_view.returnTo(m_place);
}

// Read as the view shows the rows, which may lag behind the list's own.
QString ListView::shownText(int row, int column) const
{
    return m_model->index(row, column).data().toString();
}

ListView::RowPlace ListView::rowPlace(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    return {shownText(row, IdColumn), shownText(row, TypeColumn), shownText(row, NameColumn),
            shownIdentity(row), row};
}

QVariant ListView::shownIdentity(int row) const
{
    return m_model->index(row, 0).data(ListModel::IdentityRole);
}

// The row's place now: where the same row stands, else -1.
int ListView::rowNow(const RowPlace &place) const
{
    if (place.row < 0)
        return -1;
    const auto holds = [&](int row) {
        const QVariant identity = shownIdentity(row);
        return shownText(row, IdColumn) == place.id && shownText(row, TypeColumn) == place.type &&
               (!place.id.isEmpty() || shownText(row, NameColumn) == place.name) &&
               (!identity.isValid() || !place.identity.isValid() || identity == place.identity);
    };
    // Most refreshes bring the same rows: the row is where it was.
    if (place.row < m_model->rowCount() && holds(place.row))
        return place.row;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (holds(row))
            return row;
    return -1;
}

ListView::Place ListView::place() const
{
    const QModelIndex current = currentIndex();
    return {rowPlace(current), rowPlace(indexAt(QPoint(0, 0))),
            current.isValid() && selectionModel()->isSelected(current)};
}

void ListView::returnTo(const Place &place)
{
    // Making a row current scrolls to it; the top row is set after.
    const int scroll = verticalScrollBar()->value();
    if (const int rows = m_model->rowCount(); place.current.row >= 0 && rows > 0) {
        int current = rowNow(place.current);
        m_backOnTheSameRow = current >= 0;
        if (current < 0)
            current = std::min(place.current.row, rows - 1);
        selectionModel()->setCurrentIndex(
            m_model->index(current, 0),
            place.currentSelected ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                  : QItemSelectionModel::NoUpdate);
        m_backOnTheSameRow = false;
    }
    if (const int top = rowNow(place.top); top >= 0)
        scrollTo(m_model->index(top, 0), QAbstractItemView::PositionAtTop);
    else
        verticalScrollBar()->setValue(scroll);
}

// The tree view tells screen readers of every new current or selected row;
// a rebuild that brings the user back to their row changed nothing for them.
void ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (!m_backOnTheSameRow) {
        QTreeView::currentChanged(current, previous);
        return;
    }
    QAbstractItemView::currentChanged(current, previous);
    viewport()->update();
}

void ListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_backOnTheSameRow)
        QAbstractItemView::selectionChanged(selected, deselected);
    else
        QTreeView::selectionChanged(selected, deselected);
}

bool ListView::dropsInput(const QEvent *event) const
{
    return isUserInput(event->type()) && m_dropsInput && m_dropsInput();
}

bool ListView::event(QEvent *event)
{
    if (dropsInput(event))
        return true;
    return QTreeView::event(event);
}

bool ListView::viewportEvent(QEvent *event)
{
    if (dropsInput(event))
        return true;
    if (event->type() == QEvent::MouseMove)
        emit mouseMoved();
    return QTreeView::viewportEvent(event);
}

bool ListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == header() && event->type() == QEvent::MouseMove)
        emit mouseMoved();
    return QTreeView::eventFilter(watched, event);
}

void ListView::keepScrollPositionAcrossResets()
{
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_savedScroll = verticalScrollBar()->value(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        executeDelayedItemsLayout();
        verticalScrollBar()->setValue(m_savedScroll);
    });
}
