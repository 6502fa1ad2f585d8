// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ListView.h"

#include "common/Twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

ListView::ListView(QWidget *parent) : QTreeView(parent), m_model(new ListModel(this))
{
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
    m_view.m_model->holdViewUpdates(true);
}

ListView::RebuildScope::~RebuildScope()
{
    if (--m_view.m_rebuildDepth > 0)
        return;
    // The one reset this brings keeps the scroll position, as every reset
    // does; a rebuild to the same rows brings none.
    m_view.m_model->holdViewUpdates(false);
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
    connect(m_model, &ListModel::relisted, this, [this] {
        selectionModel()->clear();
    });
}
