// The store file as users edit it by hand: what a start reads from it and what
// a save leaves of it.
#include "app/Settings.h"
#include "support/FormFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QTest>

namespace
{
void setFileBytes(const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(FormFixture::settingsFile()).absolutePath());
    QFile file(FormFixture::settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}
} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { FormFixture::clearSettingsStore(); }

    void handEditedFileIsReadAsTypedAndKeptByASave_data();
    void handEditedFileIsReadAsTypedAndKeptByASave();
    void writeChangesItsOwnLineOnly_data();
    void writeChangesItsOwnLineOnly();
    void writeUnderALockOfALiveProcessReturnsQuickly();
};

void SettingsFileTest::handEditedFileIsReadAsTypedAndKeptByASave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("comma in a window title")
        << QByteArray("[Trelvanix]\nProcesses=7||MySeparator1||Save changes, or not?"
                      "||MySeparator2||\nCheck1=1\n")
        << QStringList{"Processes", "Check1"}
        << QStringList{"7||MySeparator1||Save changes, or not?||MySeparator2||", "1"};
    QTest::newRow("decimal comma")
        << QByteArray("[Trelvanix]\nText1=2,5\n") << QStringList{"Text1"} << QStringList{"2,5"};
    QTest::newRow("semicolon and hash inside values")
        << QByteArray("[Trelvanix]\nProcesses=9||MySeparator1||a;b #c\nText1=1#\n")
        << QStringList{"Processes", "Text1"} << QStringList{"9||MySeparator1||a;b #c", "1#"};
    QTest::newRow("comments, blanks, other sections")
        << QByteArray("; kept by hand\n[Other]\nCheck1=9\n\n[Trelvanix]\n# ticked\n  Check1 = 1 "
                      "\n\t; tabbed comment\nnot a pair\n\n[Last]\nText1=0\n")
        << QStringList{"Check1", "Text1"} << QStringList{"1", "default"};
    QTest::newRow("invalid UTF-8")
        << QByteArray("[Trelvanix]\nProcesses=3||MySeparator1||caf\xe9 \xff\xfe||MySeparator2||\n")
        << QStringList{"Processes"}
        << QStringList{
               QString::fromUtf16(u"3||MySeparator1||caf\xdce9 \xdcff\xdcfe||MySeparator2||")};
    QTest::newRow("as the QSettings build wrote it")
        << QByteArray("[Trelvanix]\nProcesses=\"4||MySeparator1||a, b||MySeparator2||\"\n"
                      "Text1=\"2,5\"\nPath=C:\\\\Program Files\\\\x\nQuote=say \\\"hi\\\"\n"
                      "Lead=\" lead\"\nAt=@@x\nEscapes=\"a=\\tb\\x1b\\x39\\n\\\\\\\"\"\n")
        << QStringList{"Processes", "Text1", "Path", "Quote", "Lead", "At", "Escapes"}
        << QStringList{"4||MySeparator1||a, b||MySeparator2||",
                       "2,5",
                       "C:\\Program Files\\x",
                       "say \"hi\"",
                       " lead",
                       "@x",
                       "a=\tb\x1b"
                       "9\n\\\""};
    QTest::newRow("hand-typed backslashes and quotes")
        << QByteArray("[Trelvanix]\nPath=C:\\temp\\new\nTitle=\"Untitled\" - Editor\n")
        << QStringList{"Path", "Title"} << QStringList{"C:\\temp\\new", "\"Untitled\" - Editor"};
    QTest::newRow("CRLF and no final line break")
        << QByteArray("[Trelvanix]\r\nCheck1=1\r\nText1=2") << QStringList{"Check1", "Text1"}
        << QStringList{"1", "2"};
}

// A start reads every key, a close writes each back: the file stays as it was.
void SettingsFileTest::handEditedFileIsReadAsTypedAndKeptByASave()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, texts);
    setFileBytes(file);
    for (qsizetype i = 0; i < keys.size(); ++i)
        QCOMPARE(readSetting(keys[i], QStringLiteral("default")), texts[i]);
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (texts[i] != QStringLiteral("default"))
            QVERIFY_THROWS_NO_EXCEPTION(writeSetting(keys[i], texts[i]));
    QCOMPARE(FormFixture::settingsBytes(), file);
}

void SettingsFileTest::writeChangesItsOwnLineOnly_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaced among comments")
        << QByteArray("; mine\n[Trelvanix]\n# list\nProcesses=a, b\nCheck1=1\n") << "Processes"
        << "c;d" << QByteArray("; mine\n[Trelvanix]\n# list\nProcesses=c;d\nCheck1=1\n");
    QTest::newRow("new key at the end of its section")
        << QByteArray("[Trelvanix]\r\nCheck1=1\r\n\r\n[Other]\r\nx=1\r\n") << "Text1"
        << "2,5" << QByteArray("[Trelvanix]\r\nCheck1=1\r\nText1=2,5\r\n\r\n[Other]\r\nx=1\r\n");
    QTest::newRow("section made at the end")
        << QByteArray("[Other]\r\nx = 1") << "Check1"
        << "0" << QByteArray("[Other]\r\nx = 1\r\n\r\n[Trelvanix]\r\nCheck1=0\r\n");
    QTest::newRow("text a plain line cannot hold")
        << QByteArray("# seconds\n[Trelvanix]\nText1=1\n") << "Text1"
        << " two\nlines\\\\"
        << QByteArray("# seconds\n[Trelvanix]\nText1=\" two\\nlines\\\\\\\\\"\n");
    QTest::newRow("bytes that are not UTF-8 go back as they were")
        << QByteArray("[Trelvanix]\nText1=1\n") << "Text1" << QString::fromUtf16(u"\xdcff")
        << QByteArray("[Trelvanix]\nText1=\xff\n");
}

void SettingsFileTest::writeChangesItsOwnLineOnly()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    setFileBytes(before);
    QVERIFY_THROWS_NO_EXCEPTION(writeSetting(key, text));
    QCOMPARE(FormFixture::settingsBytes(), after);
    QCOMPARE(readSetting(key), text);
}

void SettingsFileTest::writeUnderALockOfALiveProcessReturnsQuickly()
{
    const QString lockFile = FormFixture::settingsFile() + QStringLiteral(".lock");
    QDir().mkpath(QFileInfo(lockFile).absolutePath());
    QLockFile held(lockFile);
    QVERIFY(held.lock());
    QElapsedTimer timer;
    timer.start();
    QVERIFY_THROWS_NO_EXCEPTION(writeSetting(QStringLiteral("Check1"), QStringLiteral("1")));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(readSetting(QStringLiteral("Check1")), QStringLiteral("1"));
    QVERIFY(QFile::exists(lockFile)); // another's lock is left alone
}

int runSettingsFileTests(int argc, char *argv[])
{
    SettingsFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsfile.moc"
