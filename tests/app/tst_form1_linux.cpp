// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window with what only Linux has: FIFOs (and folders beside them)
// where the program folder should hold plain files.
#include "app/Form1.h"
#include "app/ListView.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Opens a FIFO's writing end again and again once `patience` has passed, so
// that a reader stuck in its open goes on: a load that waits on the FIFO then
// shows as having waited instead of hanging the test for good.
class LateFifoWriter
{
public:
    LateFifoWriter(const QString &path, std::chrono::milliseconds patience)
        : m_thread([this, name = QFile::encodeName(path), patience] {
              const auto deadline = std::chrono::steady_clock::now() + patience;
              while (!m_stop) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  if (std::chrono::steady_clock::now() < deadline)
                      continue;
                  // Fails (ENXIO) unless someone has the FIFO open to read.
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      m_waitedOn = true;
                      ::close(fd);
                  }
              }
          })
    {
    }
    ~LateFifoWriter()
    {
        m_stop = true;
        m_thread.join();
    }
    bool waitedOn() const { return m_waitedOn; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_waitedOn{false};
    std::thread m_thread;
};
} // namespace

class Form1LinuxTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fixture.setUp(); }
    void cleanup()
    {
        fixture.tearDown();
        QDir folder(fixture.programFolder.path());
        folder.removeRecursively();
        folder.mkpath(QStringLiteral("."));
    }

    void startUpNeverWaitsOnWhatIsNoPlainFile_data();
    void startUpNeverWaitsOnWhatIsNoPlainFile();

private:
    FormFixture fixture;
};

void Form1LinuxTest::startUpNeverWaitsOnWhatIsNoPlainFile_data()
{
    QTest::addColumn<QString>("name"); // in the program folder
    QTest::addColumn<QList<int>>("reported");
    QTest::addColumn<QString>("kind"); // fifo, folder or file
    QTest::addColumn<QString>("skin"); // x/o.cjs unless empty; %1 is the program folder
    // The skin file itself is looked at before it is read, and skipped unreported
    // (a folder there is in Form1Test's table).
    QTest::newRow("skin file, a FIFO") << "x/o.cjs" << QList<int>{} << "fifo" << QString();
    QTest::newRow("cursor file, a FIFO") << "HAND-M.CUR" << QList<int>{108} << "fifo" << QString();
    QTest::newRow("cursor file, a folder")
        << "HAND-M.CUR" << QList<int>{108} << "folder" << QString();
    const QString named = QStringLiteral("QPushButton { border-image: url(%1/pic.png) }");
    QTest::newRow("skin names a FIFO") << "pic.png" << QList<int>{104} << "fifo" << named;
    QTest::newRow("skin names a folder") << "pic.png" << QList<int>{104} << "folder" << named;
    const QString quoted = QStringLiteral("QPushButton { border-image: url('%1/pic.png') }");
    QTest::newRow("skin names a plain file") << "pic.png" << QList<int>{} << "file" << quoted;
    QTest::newRow("skin names a plain file with brackets, quoted")
        << "btn (1).png" << QList<int>{} << "file"
        << "QPushButton { background-image: url(\"%1/btn (1).png\"); }";
    QTest::newRow("skin comments out what it cannot name")
        << "pic.png" << QList<int>{} << "file"
        << "/* url(\"x\" y) */ QPushButton { border-image: url(%1/pic.png) }";
    // Qt keeps the space and drops it, not the quote, as the last character.
    QTest::newRow("skin names a FIFO with a quote at its end")
        << "pic.png\"" << QList<int>{104} << "fifo"
        << "QPushButton { border-image: url(\"%1/pic.png\" ) }";
    // Qt reads "\75" as "u", drops the quotes and the "\" before a letter that
    // is no hex digit.
    const QString escaped = QStringLiteral("QPushButton { border-image: \\75rl('%1/p\\ic.png') }");
    QTest::newRow("skin names a FIFO in escapes")
        << "pic.png" << QList<int>{104} << "fifo" << escaped;
    // Qt takes that one instead on a screen of two or more device pixels a pixel.
    const QString image = QStringLiteral("QPushButton { image: url(%1/pic.png) }");
    QTest::newRow("skin's picture for dense screens, a FIFO")
        << "pic@2x.png" << QList<int>{104} << "fifo" << image;
}

// Opening a FIFO waits for a writer that may never come, and until start-up
// is over the program does not answer the requests to end.
void Form1LinuxTest::startUpNeverWaitsOnWhatIsNoPlainFile()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, skin);
    QFETCH(QList<int>, reported);
    const QDir folder(fixture.programFolder.path());
    QVERIFY(folder.mkpath(QStringLiteral("x")));
    const QString path = folder.filePath(name);
    QFile file(path);
    QVERIFY(kind == QLatin1String("fifo") ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
            : kind == QLatin1String("folder") ? folder.mkpath(name)
                                              : file.open(QIODevice::WriteOnly));
    if (!skin.isEmpty()) {
        skin = skin.arg(folder.path());
        QFile sheet(folder.filePath(QStringLiteral("x/o.cjs")));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write(skin.toUtf8());
    }

    QElapsedTimer took;
    took.start();
    {
        const LateFifoWriter writer(path, std::chrono::seconds(2));
        fixture.form->Form_Load();
        QVERIFY2(!writer.waitedOn(), "start-up waited on the FIFO");
    }
    QVERIFY(took.elapsed() < 2000);
    QCOMPARE(fixture.dialogs->reportedSteps(), reported);
    QCOMPARE(fixture.facedWidgets(), skin.isEmpty() ? 0 : 5); // read, then maybe refused
    QCOMPARE(fixture.form->styleSheet(), reported.isEmpty() ? skin : QString());
    QVERIFY(!fixture.form->mouseIcon().has_value());
    QCOMPARE(fixture.form->ListView1->count(), 3); // and start-up went on
}

int runForm1LinuxTests(int argc, char *argv[])
{
    Form1LinuxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_linux.moc"
