// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window with what only Linux has: a skin file that is a FIFO.
#include "app/Form1.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>

class Form1LinuxTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fixture.setUp(); }
    void cleanup() { fixture.tearDown(); }

    void skinFileThatIsAFifoIsNeitherWaitedForNorReported();

private:
    FormFixture fixture;
};

// Opening a FIFO waits for a writer that may never come.
void Form1LinuxTest::skinFileThatIsAFifoIsNeitherWaitedForNorReported()
{
    QVERIFY(QDir(fixture.programFolder.path()).mkpath(QStringLiteral("x")));
    const QString path = fixture.programFolder.filePath(QStringLiteral("x/o.cjs"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    fixture.form->Form_Load();
    QCOMPARE(fixture.facedWidgets(), 0);
    QCOMPARE(fixture.form->styleSheet(), QString());
    QVERIFY(fixture.dialogs->boxes.empty());
}

int runForm1LinuxTests(int argc, char *argv[])
{
    Form1LinuxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_linux.moc"
