// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ListView.h"
#include "common/Failure.h"
#include "common/Twips.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class ListViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { view.reset(); }

    void readsRowsBackInSortOrderRightAfterAdding();
    void sortsByTheChosenSubItem();
    void keepsInsertionOrderWhileUnsorted();
    void positionOutsideTheListFailsWithADescription();
    void rowsAddedAfterRemovingAllStartUnchecked();
    void addedRowGoesStaleWhenAllRowsAreRemoved();
    void userTicksWithMouseAndSpace();
    void tellsViewsOfARebuildByOneReset();
    void keepsScrollPositionAcrossARebuild();
    void rebuildInAScopeShowsTheOldRowsAndResetsOnlyOnChange_data();
    void rebuildInAScopeShowsTheOldRowsAndResetsOnlyOnChange();
    void oneTwipColumnIsPresentButNarrow();
    void screenReaderReadsCellsAndCheckStates();
    void showsControlAndDirectionMarksButKeepsTheName_data();
    void showsControlAndDirectionMarksButKeepsTheName();

private:
    void fill(const QStringList &names, const QStringList &fourth = {});
    void showAndSettle();
    std::unique_ptr<ListView> view;
};

void ListViewTest::init()
{
    view = std::make_unique<ListView>();
    view->addColumn(QStringLiteral("Name"));
    view->addColumn(QStringLiteral("ID"));
    view->addColumn(QStringLiteral("Type"));
    view->setCheckBoxes(true);
    view->setSorted(true);
    view->setSortKey(0);
}

// Each row's ID is its place in `names`, and its identity follows from its
// name; `fourth` has the texts of a fourth column, where the list has one.
void ListViewTest::fill(const QStringList &names, const QStringList &fourth)
{
    for (int i = 0; i < names.size(); ++i) {
        ListItem row = view->listModel()->addRow(names[i], qHash(names[i]));
        row.setSubItem(1, QString::number(i));
        row.setSubItem(2, QStringLiteral("Process"));
        if (!fourth.isEmpty())
            row.setSubItem(3, fourth[i]);
    }
}

void ListViewTest::showAndSettle()
{
    view->resize(400, 200);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QCoreApplication::processEvents();
}

void ListViewTest::readsRowsBackInSortOrderRightAfterAdding()
{
    fill({"zsh", "Bash", "apache", "bash"});
    QCOMPARE(view->count(), 4);
    QCOMPARE(view->text(1), QStringLiteral("apache"));
    QCOMPARE(view->text(2), QStringLiteral("Bash"));
    QCOMPARE(view->text(3), QStringLiteral("bash"));
    QCOMPARE(view->text(4), QStringLiteral("zsh"));
    QCOMPARE(view->subItem(4, 1), QStringLiteral("0"));
    view->addRow(QStringLiteral("m"));
    QCOMPARE(view->text(4), QStringLiteral("m"));
}

void ListViewTest::sortsByTheChosenSubItem()
{
    view->setSortKey(1);
    ListItem b = view->addRow(QStringLiteral("first"));
    b.setSubItem(1, QStringLiteral("b"));
    ListItem a = view->addRow(QStringLiteral("second"));
    a.setSubItem(1, QStringLiteral("a"));
    QCOMPARE(view->text(1), QStringLiteral("second"));
    QCOMPARE(view->text(2), QStringLiteral("first"));
}

void ListViewTest::keepsInsertionOrderWhileUnsorted()
{
    view->setSorted(false);
    fill({"c", "a", "b"});
    QCOMPARE(view->text(1), QStringLiteral("c"));
    QCOMPARE(view->text(3), QStringLiteral("b"));
}

void ListViewTest::positionOutsideTheListFailsWithADescription()
{
    fill({"a", "b"});
    for (const int position : {0, -1, 3}) {
        try {
            view->text(position);
            QFAIL("reading outside the list must fail");
        } catch (const IndexFailure &failure) {
            QVERIFY(failure.description().contains(QStringLiteral("out of bounds")));
            QVERIFY(failure.description().contains(QString::number(position)));
        }
    }
    QVERIFY_THROWS_EXCEPTION(IndexFailure, view->setChecked(3, true));
    QVERIFY_THROWS_EXCEPTION(IndexFailure, view->isChecked(0));
    QVERIFY_THROWS_EXCEPTION(IndexFailure, view->subItem(1, 3));
}

void ListViewTest::rowsAddedAfterRemovingAllStartUnchecked()
{
    fill({"a", "b", "c"});
    for (int position = 1; position <= 3; ++position)
        view->setChecked(position, true);
    QVERIFY(view->isChecked(2));
    view->removeAllRows();
    QCOMPARE(view->count(), 0);
    fill({"a", "b", "c"});
    for (int position = 1; position <= 3; ++position)
        QVERIFY(!view->isChecked(position));
}

void ListViewTest::addedRowGoesStaleWhenAllRowsAreRemoved()
{
    ListItem row = view->addRow(QStringLiteral("a"));
    view->removeAllRows();
    view->addRow(QStringLiteral("b"));
    QVERIFY_THROWS_EXCEPTION(IndexFailure, row.setSubItem(1, QStringLiteral("1")));
    QCOMPARE(view->subItem(1, 1), QString());
}

void ListViewTest::userTicksWithMouseAndSpace()
{
    fill({"alpha", "beta"});
    showAndSettle();
    const QModelIndex first = view->model()->index(0, 0);
    const QRect cell = view->visualRect(first);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      QPoint(cell.left() + cell.height() / 2 + 2, cell.center().y()));
    QVERIFY(view->isChecked(1));
    QVERIFY(!view->isChecked(2));

    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view.get(), Qt::Key_Space);
    QVERIFY(view->isChecked(2));
    QTest::keyClick(view.get(), Qt::Key_Space);
    QVERIFY(!view->isChecked(2));
}

void ListViewTest::tellsViewsOfARebuildByOneReset()
{
    showAndSettle();
    QSignalSpy resets(view->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(view->model(), &QAbstractItemModel::rowsInserted);
    view->removeAllRows();
    QStringList names;
    for (int i = 0; i < 500; ++i)
        names << QStringLiteral("p%1").arg(499 - i);
    fill(names);
    QCoreApplication::processEvents();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(view->model()->rowCount(), 500);
    QCOMPARE(view->model()->index(0, 0).data().toString(), QStringLiteral("p0"));
}

void ListViewTest::keepsScrollPositionAcrossARebuild()
{
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << QStringLiteral("row%1").arg(i, 3, 10, QLatin1Char('0'));
    fill(names);
    showAndSettle();
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    view->verticalScrollBar()->setValue(120);

    view->removeAllRows();
    fill(names);
    QCoreApplication::processEvents();
    QCOMPARE(view->verticalScrollBar()->value(), 120);

    view->removeAllRows();
    fill(names.mid(0, 3));
    QCoreApplication::processEvents();
    QCOMPARE(view->verticalScrollBar()->value(), 0);
}

void ListViewTest::rebuildInAScopeShowsTheOldRowsAndResetsOnlyOnChange_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("sortKey");
    QTest::addColumn<int>("resets");
    QTest::addColumn<QString>("firstShown");
    QTest::addColumn<bool>("sortedJustBefore"); // and not yet shown so
    // The row made current before, "cc", as the list tells it when the rebuild begins.
    QTest::addColumn<QString>("current");
    // The texts of a fourth column, in the order of `names`: before, "3", "1", "2".
    QTest::addColumn<QStringList>("fourth");
    const QStringList before{"cc", "aa", "bb"}, threeColumns;
    QTest::newRow("same rows") << before << 0 << 0 << "aa" << false << "cc" << threeColumns;
    QTest::newRow("a name changed")
        << QStringList{"cc", "ab", "bb"} << 0 << 1 << "ab" << false << "cc" << threeColumns;
    QTest::newRow("a row fewer") << QStringList{"cc", "bb"} << 0 << 1 << "bb" << false << "cc"
                                 << threeColumns;
    // "cc" ended and "ab" took its ID: the row now at its place becomes current.
    QTest::newRow("its ID reused")
        << QStringList{"ab", "aa", "bb", "cd"} << 0 << 1 << "aa" << false << "bb" << threeColumns;
    QTest::newRow("sorted by ID instead")
        << before << 1 << 1 << "cc" << false << "cc" << threeColumns;
    QTest::newRow("sorted by ID just before")
        << before << 1 << 1 << "cc" << true << "bb" << threeColumns;
    const QStringList fourth{"3", "1", "2"};
    QTest::newRow("four columns, same rows") << before << 0 << 0 << "aa" << false << "cc" << fourth;
    QTest::newRow("four columns, the fourth changed")
        << before << 0 << 1 << "aa" << false << "cc" << QStringList{"3", "1", "9"};
    QTest::newRow("sorted by the fourth column")
        << before << 3 << 1 << "cc" << false << "cc" << QStringList{"1", "3", "2"};
}

void ListViewTest::rebuildInAScopeShowsTheOldRowsAndResetsOnlyOnChange()
{
    QFETCH(QStringList, names);
    QFETCH(int, sortKey);
    QFETCH(int, resets);
    QFETCH(QString, firstShown);
    QFETCH(bool, sortedJustBefore);
    QFETCH(QString, current);
    QFETCH(QStringList, fourth);
    if (!fourth.isEmpty())
        view->addColumn(QStringLiteral("Fourth"));
    fill({"cc", "aa", "bb"}, fourth.isEmpty() ? QStringList() : QStringList{"3", "1", "2"});
    view->setChecked(2, true);
    showAndSettle();
    view->setCurrentIndex(view->model()->index(2, 0));
    QSignalSpy resetSpy(view->model(), &QAbstractItemModel::modelReset);
    QSignalSpy checkSpy(view->model(), &QAbstractItemModel::dataChanged);
    const auto shown = [this](int row) { return view->model()->index(row, 0).data().toString(); };
    if (sortedJustBefore)
        view->setSortKey(sortKey);
    {
        ListView::RebuildScope scope(*view);
        view->removeAllRows();
        if (!sortedJustBefore)
            view->setSortKey(sortKey);
        fill(names, fourth);
        QCoreApplication::processEvents();
        QCOMPARE(view->model()->rowCount(), 3);
        const int checkedRow = sortedJustBefore ? 2 : 1; // as the rows were held
        QCOMPARE(shown(checkedRow), QStringLiteral("bb"));
        QCOMPARE(view->model()->index(checkedRow, 0).data(Qt::CheckStateRole),
                 QVariant(Qt::Checked));
    }
    QCOMPARE(resetSpy.count(), resets);
    QCOMPARE(view->model()->rowCount(), names.size());
    QCOMPARE(shown(0), firstShown);
    QCOMPARE(view->model()->index(1, 0).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));
    QVERIFY(resets > 0 || checkSpy.count() > 0); // the cleared check mark is repainted
    // The user's row stays current and selected, wherever it now stands.
    QCOMPARE(view->currentIndex().data().toString(), current);
    QCOMPARE(view->selectionModel()->selectedRows(), QModelIndexList{view->currentIndex()});
}

void ListViewTest::oneTwipColumnIsPresentButNarrow()
{
    view->setColumnWidthTwips(1, 6000);
    view->setColumnWidthTwips(2, 1);
    QCOMPARE(view->header()->count(), 3);
    QCOMPARE(view->columnWidth(1), 1);
    QVERIFY(!view->isColumnHidden(1));
    QCOMPARE(view->columnWidth(0), twipsToPixels(6000, view->logicalDpiX()));
}

void ListViewTest::screenReaderReadsCellsAndCheckStates()
{
    fill({"beta", "alpha"});
    view->setChecked(2, true);
    showAndSettle();
    QAccessible::setActive(true);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view.get());
    QVERIFY(list && list->tableInterface());
    QCOMPARE(list->tableInterface()->rowCount(), 2);
    QAccessibleInterface *alpha = list->tableInterface()->cellAt(0, 0);
    QAccessibleInterface *beta = list->tableInterface()->cellAt(1, 0);
    QVERIFY(alpha && beta);
    QCOMPARE(alpha->text(QAccessible::Name), QStringLiteral("alpha"));
    QVERIFY(alpha->state().checkable);
    QVERIFY(!alpha->state().checked);
    QVERIFY(beta->state().checked);
    QCOMPARE(list->tableInterface()->columnDescription(0), QStringLiteral("Name"));

    // Only the name cell is checkable and toggles; the ID and Type cells read.
    QCOMPARE(alpha->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::toggleAction()});
    for (const int column : {1, 2}) {
        QAccessibleInterface *cell = list->tableInterface()->cellAt(0, column);
        QVERIFY(!cell->state().checkable);
        QVERIFY(!cell->actionInterface());
    }
    QCOMPARE(list->tableInterface()->cellAt(0, 2)->text(QAccessible::Name),
             QStringLiteral("Process"));
    alpha->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(view->isChecked(1) && alpha->state().checked);

    // Children count as the view does when it tells of the current cell:
    // the header's cells first, then each row's.
    QCOMPARE(list->childCount(), 9);
    QCOMPARE(list->child(0)->role(), QAccessible::ColumnHeader);
    QCOMPARE(list->child(3 * 2 + 1), list->tableInterface()->cellAt(1, 1));
    QCOMPARE(list->indexOfChild(beta), 6);

    // A rebuild puts other rows in the same places: the cells read them.
    view->removeAllRows();
    fill({"gamma"});
    QCoreApplication::processEvents();
    QCOMPARE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Name),
             QStringLiteral("gamma"));
    QVERIFY(!list->tableInterface()->cellAt(1, 0));
}

void ListViewTest::showsControlAndDirectionMarksButKeepsTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Gr\u00fc\u00dfe \u2713 \u65e5\u00a0\u2070"
                           << "Gr\u00fc\u00dfe \u2713 \u65e5\u00a0\u2070";
    QTest::newRow("override") << "a\u202eexe.txt"
                              << "a<U+202E>exe.txt";
    QTest::newRow("newline") << "two\nlines"
                             << "two\u240alines";
    QTest::newRow("NUL, tab, unit separator")
        << QString::fromUtf16(u"\0\t\x1f", 3) << "\u2400\u2409\u241f";
    QTest::newRow("DEL") << "a\x7f"
                         << "a\u2421";
    QTest::newRow("C1") << "\u0080\u0085\u009f"
                        << "<U+0080><U+0085><U+009F>";
    QTest::newRow("separators") << "\u2028\u2029"
                                << "<U+2028><U+2029>";
    QTest::newRow("marks") << "\u200e\u200f\u061c"
                           << "<U+200E><U+200F><U+061C>";
    QTest::newRow("embeddings") << "\u202a\u202b\u202c\u202d"
                                << "<U+202A><U+202B><U+202C><U+202D>";
    QTest::newRow("isolates") << "\u2066\u2067\u2068\u2069"
                              << "<U+2066><U+2067><U+2068><U+2069>";
}

void ListViewTest::showsControlAndDirectionMarksButKeepsTheName()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    fill({name});
    showAndSettle();
    const QModelIndex cell = view->model()->index(0, 0);
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), shown);
    QCOMPARE(cell.data(Qt::AccessibleTextRole).toString(), shown);
    QCOMPARE(view->text(1), name);
}

int runListViewTests(int argc, char *argv[])
{
    ListViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_listview.moc"
