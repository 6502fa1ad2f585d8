// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The native windows a compositor describes: which are listed, in what order,
// under IDs that no later window takes.
#include "platform/linux/ToplevelList.h"

#include <QTest>

class ToplevelListTest : public QObject
{
    Q_OBJECT

private slots:
    void listsDescribedWindowsTopFirst_data();
    void listsDescribedWindowsTopFirst();
    void idsAreNeverGivenTwice();
};

namespace
{
// Plays events written as "add a; title a Text; done a; on a; off a; min a;
// gone a; stack a b c" (bottom first); windows are named by one letter, the
// key each stands for.
class Script
{
public:
    void play(const QString &events)
    {
        for (const QString &event : events.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList words = event.trimmed().split(QLatin1Char(' '));
            const QString verb = words.at(0);
            const auto key = [&](int i) { return keyOf(words.at(i)); };
            if (verb == QLatin1String("add"))
                m_list.add(key(1));
            else if (verb == QLatin1String("title"))
                m_list.setTitle(key(1), words.mid(2).join(QLatin1Char(' ')).toUtf8());
            else if (verb == QLatin1String("done"))
                m_list.described(key(1));
            else if (verb == QLatin1String("on") || verb == QLatin1String("off"))
                m_list.setActive(key(1), verb == QLatin1String("on"));
            else if (verb == QLatin1String("gone"))
                m_list.remove(key(1));
            else if (verb == QLatin1String("stack")) {
                std::vector<ToplevelList::Key> order;
                for (int i = 1; i < words.size(); ++i)
                    order.push_back(key(i));
                m_list.setStacking(order);
            } else
                QFAIL(qPrintable(QStringLiteral("unknown event ") + event));
        }
    }
    // Titles, top first.
    QString listed() const
    {
        QStringList titles;
        for (const Toplevel *window : m_list.topFirst())
            titles << window->title;
        return titles.join(QLatin1Char(','));
    }
    ToplevelList &list() { return m_list; }
    ToplevelList::Key keyOf(const QString &name) { return &m_names[name.at(0).toLatin1()]; }

private:
    ToplevelList m_list;
    std::map<char, char> m_names;
};

// A window that is added and described with its title in one go.
QString opened(const QString &name)
{
    return QStringLiteral("add %1; title %1 %2; done %1;").arg(name, name.toUpper());
}
} // namespace

void ToplevelListTest::listsDescribedWindowsTopFirst_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("listed");
    const QString abc = opened("a") + opened("b") + opened("c");
    QTest::newRow("newest opened first") << abc << "C,B,A";
    QTest::newRow("activation brings to the front") << abc + "on a"
                                                    << "A,C,B";
    QTest::newRow("still active is no new activation") << abc + "on a; on b; on a; on c; on a"
                                                       << "C,B,A";
    QTest::newRow("activated again after losing it") << abc + "on a; off a; on b; off b; on a"
                                                     << "A,B,C";
    QTest::newRow("not yet described is not listed") << abc + "add d; title d D; on d"
                                                     << "C,B,A";
    QTest::newRow("closed is gone") << abc + "gone b; gone x"
                                    << "C,A";
    QTest::newRow("events for unknown windows change nothing") << abc + "title x X; done x; on x"
                                                               << "C,B,A";
    QTest::newRow("stacking order, bottom first") << abc + "on a; stack c a b"
                                                  << "B,A,C";
    QTest::newRow("stacking skips unknown and repeated") << abc + "stack x c a c b"
                                                         << "B,C,A";
    QTest::newRow("opened after the stacking order is on top")
        << abc + "stack c a b;" + opened("d") << "D,B,A,C";
    QTest::newRow("stacking ignores activation") << abc + "stack c b a; on c"
                                                 << "A,B,C";
    QTest::newRow("closed leaves the stacking order") << abc + "stack a b c; gone b"
                                                      << "C,A";
    QTest::newRow("title changes keep the place") << abc + "title b Later"
                                                  << "C,Later,A";
}

void ToplevelListTest::listsDescribedWindowsTopFirst()
{
    QFETCH(QString, events);
    QFETCH(QString, listed);
    Script script;
    script.play(events);
    QCOMPARE(script.listed(), listed);
}

void ToplevelListTest::idsAreNeverGivenTwice()
{
    Script script;
    // The same protocol object may come back at the same address once freed.
    script.play(opened("a") + opened("b") + "gone a;" + opened("a"));
    const auto windows = script.list().topFirst();
    QCOMPARE(windows.size(), size_t(2));
    QCOMPARE(windows.at(0)->id, WindowHandle(3));
    QVERIFY(script.list().find(1) == nullptr);
    QCOMPARE(script.list().keyOf(3), std::optional(script.keyOf("a")));
    QCOMPARE(script.list().find(2)->title, QStringLiteral("B"));
    // Nor after the compositor went away and its windows were forgotten.
    script.list().clear();
    QVERIFY(script.list().topFirst().empty());
    script.play(opened("b"));
    QCOMPARE(script.list().topFirst().at(0)->id, WindowHandle(4));
}

QTEST_GUILESS_MAIN(ToplevelListTest)
#include "tst_toplevellist.moc"
