// The tray icon on a StatusNotifierItem host (lxqt-panel), whose balloons are
// desktop notifications, shown by a real daemon (dunst) that keeps each one
// until it is closed; all on the test's own session bus.
#include "app/Form1.h"
#include "support/RealForm.h"
#include "support/RealProgram.h"
#include "tray/cSysTray.h"

#include <QDBusInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
QByteArray dunstctl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("dunstctl"), arguments);
    process.waitForFinished(5000);
    return process.readAllStandardOutput();
}

int notificationsInSight()
{
    return dunstctl({"count", "displayed"}).trimmed().toInt() +
           dunstctl({"count", "waiting"}).trimmed().toInt();
}

// Title and text of each notification gone from sight.
QStringList closedNotifications()
{
    const QJsonObject history = QJsonDocument::fromJson(dunstctl({"history"})).object();
    QStringList texts;
    for (const QJsonValue entry : history[QLatin1String("data")].toArray().at(0).toArray()) {
        const QJsonObject fields = entry.toObject();
        texts << fields[QLatin1String("summary")][QLatin1String("data")].toString() + " | " +
                     fields[QLatin1String("body")][QLatin1String("data")].toString();
    }
    return texts;
}

QStringList trayItems()
{
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"));
    return watcher.property("RegisteredStatusNotifierItems").toStringList();
}
} // namespace

class TraySniX11Test : public QObject
{
    Q_OBJECT

private slots:
    void minimiseShowsOneNotificationAndTakesItDown();
};

void TraySniX11Test::minimiseShowsOneNotificationAndTakesItDown()
{
    RealForm real;
    QVERIFY(real.loadAndShow());
    Form1 &form = real.form;
    QTRY_COMPARE_WITH_TIMEOUT(trayItems().size(), 1, 10000);
    QCOMPARE(notificationsInSight(), 0);

    QList<int> inSight; // over the first seconds of the balloon's wait
    QTimer look;
    connect(&look, &QTimer::timeout, [&] {
        if (form.minimizedToTray && inSight.size() < 5)
            inSight << notificationsInSight();
    });
    look.start(300);
    QVERIFY(xdotool({"windowminimize", QString::number(form.winId())}));
    // The balloon waits inside the minimise's own handling, which this ends after.
    QTRY_VERIFY_WITH_TIMEOUT(form.cSysTray1->OnceCount() == 1 && !form.isVisible(), 15000);
    QCOMPARE(inSight.size(), 5);
    QCOMPARE(inSight.last(), 1);
    QCOMPARE(*std::max_element(inSight.begin(), inSight.end()), 1);

    // Its time over, the balloon was closed, and nothing came in its place.
    QTRY_COMPARE_WITH_TIMEOUT(notificationsInSight(), 0, 3000);
    QCOMPARE(
        closedNotifications(),
        QStringList(QStringLiteral("Trelvanix | has been minimized to the system tray.\r\nClick "
                                   "on the blue 'Q' icon (Q for Quorbel) to bring the "
                                   "software back.")));
    QTRY_VERIFY(!form.cSysTray1->BalloonShowing()); // the daemon's word came back
    QVERIFY(form.minimizedToTray);
    QVERIFY(form.close());
}

QTEST_MAIN(TraySniX11Test)
#include "tst_tray_sni_x11.moc"
