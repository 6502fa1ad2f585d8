// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The store file as users edit it by hand: what a start reads from it and what
// a save leaves of it, also when its folder is locked or it is huge.
#include "app/ListView.h"
#include "common/Failure.h"
#include "settings/Settings.h"
#include "support/FormFixture.h"
#include "support/ReadOnlyFolder_linux.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
const QString kill1 = QStringLiteral("||MySeparator1||");
const QString kill2 = QStringLiteral("||MySeparator2||");

// Where QSettings kept the store, which is where it stays. Asked once:
// QSettings reads the store, which a test may make a FIFO.
QString settingsFile()
{
    static const QString path =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, TestSettingsStore::application())
            .fileName();
    return path;
}

QByteArray settingsBytes()
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void setFileBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What a folder holds, links not followed: every name with its owner, mode,
// and content or link target.
QMap<QString, QString> snapshot(const QString &folder)
{
    QMap<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString &entry = entries[info.filePath()];
        entry = QStringLiteral("%1 %2 ").arg(info.ownerId()).arg(info.permissions(), 0, 16);
        if (info.isSymLink())
            entry += QStringLiteral("link to ") + info.symLinkTarget();
        else if (info.isDir())
            entry += QStringLiteral("folder");
        else if (QFile file(info.filePath()); info.isFile() && file.open(QIODevice::ReadOnly))
            entry += QString::fromUtf8(file.readAll());
        else
            entry += QStringLiteral("other");
    }
    return entries;
}
// A home folder of the test's own for as long as it lives.
class HomeOfItsOwn
{
public:
    HomeOfItsOwn() : m_before(qgetenv("HOME"))
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
    }
    ~HomeOfItsOwn() { qputenv("HOME", m_before); }
    HomeOfItsOwn(const HomeOfItsOwn &) = delete;
    HomeOfItsOwn &operator=(const HomeOfItsOwn &) = delete;

private:
    QTemporaryDir m_home;
    QByteArray m_before;
};
} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fixture.setUp(); }
    void cleanup();

    void handEditedFileIsReadAsTypedAndKeptByASave_data();
    void handEditedFileIsReadAsTypedAndKeptByASave();
    void writeChangesItsOwnLineOnly_data();
    void writeChangesItsOwnLineOnly();
    void writeUnderALockOfALiveProcessReturnsQuickly();
    void saveWritesThroughLinksOnlyToAFileOfTheUsersOwn_data();
    void saveWritesThroughLinksOnlyToAFileOfTheUsersOwn();
    void unwritableStoreIsReportedAtStep108AndKeepsThePreviousList_data();
    void unwritableStoreIsReportedAtStep108AndKeepsThePreviousList();
    void largeStoreIsReadAndAnOversizedOneReportedAndBothKept();

private:
    QString placed(QString text) const;
    void make(const QString &entry);

    FormFixture fixture;
    QTemporaryDir m_outside; // neither the home nor the settings folder
    QStringList m_made;
};

void SettingsFileTest::cleanup()
{
    fixture.tearDown();
    while (!m_made.isEmpty()) {
        const QString path = m_made.takeLast();
        if (!QFile::remove(path))
            QDir(path).removeRecursively();
    }
}

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
    setFileBytes(settingsFile(), file);
    for (qsizetype i = 0; i < keys.size(); ++i)
        QCOMPARE(readSetting(keys[i], QStringLiteral("default")), texts[i]);
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (texts[i] != QStringLiteral("default"))
            QVERIFY_THROWS_NO_EXCEPTION(writeSetting(keys[i], texts[i]));
    QCOMPARE(settingsBytes(), file);
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
    setFileBytes(settingsFile(), before);
    QVERIFY_THROWS_NO_EXCEPTION(writeSetting(key, text));
    QCOMPARE(settingsBytes(), after);
    QCOMPARE(readSetting(key), text);
}

void SettingsFileTest::writeUnderALockOfALiveProcessReturnsQuickly()
{
    const QString lockFile = settingsFile() + QStringLiteral(".lock");
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

// "{home}", "{config}" and "{outside}" stand for those folders, "{store}" for the store's name.
QString SettingsFileTest::placed(QString text) const
{
    return text.replace(QStringLiteral("{home}"), QDir::homePath())
        .replace(QStringLiteral("{config}"), QFileInfo(settingsFile()).absolutePath())
        .replace(QStringLiteral("{outside}"), m_outside.path())
        .replace(QStringLiteral("{store}"), QFileInfo(settingsFile()).fileName());
}

// "kind place [link text] [@owner]", kind one of folder, file, link, hardlink, fifo.
void SettingsFileTest::make(const QString &entry)
{
    QStringList words = entry.split(QLatin1Char(' '));
    uid_t owner = geteuid();
    if (words.last().startsWith(QLatin1Char('@')))
        owner = words.takeLast().mid(1).toUInt();
    const QString path = placed(words[1]);
    const QByteArray name = QFile::encodeName(path);
    m_made.append(path);
    if (words[0] == QStringLiteral("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (words[0] == QStringLiteral("file"))
        setFileBytes(path, "[Other]\nkept=1\n[Trelvanix]\nText1=7\n");
    else if (words[0] == QStringLiteral("link"))
        QVERIFY(QFile::link(placed(words[2]), path));
    else if (words[0] == QStringLiteral("hardlink"))
        QCOMPARE(link(QFile::encodeName(placed(words[2])).constData(), name.constData()), 0);
    else
        QCOMPARE(mkfifo(name.constData(), 0600), 0);
    QCOMPARE(lchown(name.constData(), owner, owner), 0);
}

void SettingsFileTest::saveWritesThroughLinksOnlyToAFileOfTheUsersOwn_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("readsAs"); // "!": reading fails
    QTest::addColumn<QString>("savedIn"); // none: the save is refused
    QTest::addColumn<QString>("why");
    const auto row = [](const char *name, const QStringList &entries, const char *readsAs,
                        const char *savedIn, const char *why) {
        QTest::newRow(name) << entries << QString(readsAs) << QString(savedIn) << QString(why);
    };
    const QString dots = QStringLiteral("folder {home}/dots");
    const QString own = QStringLiteral("file {home}/dots/q.conf");
    const QString store = QStringLiteral("link {config}/{store} ");
    const QString system = QStringLiteral("file {outside}/passwd");
    row("link to the user's file in the home", {dots, own, store + "{home}/dots/q.conf"}, "7",
        "{home}/dots/q.conf", "");
    row("relative link to a link",
        {dots, own, "link {config}/hop {home}/dots/q.conf", store + "hop"}, "7",
        "{home}/dots/q.conf", "");
    row("hard link to a system file", {system, "hardlink {config}/{store} {outside}/passwd"}, "7",
        "{config}/{store}", "");
    row("link to a system file", {system, store + "{outside}/passwd"}, "7", "",
        "it is a link to {outside}/passwd, which lies outside your home folder");
    row("folder link out of the home",
        {system, "link {home}/dots {outside}", store + "{home}/dots/passwd"}, "7", "",
        "link to {home}/dots/passwd, which lies outside your home folder");
    row("link that leads nowhere", {dots, store + "{home}/dots/q.conf"}, "default", "",
        "link to {home}/dots/q.conf, which does not exist");
    row("link to another user's file", {dots, own + " @4321", store + "{home}/dots/q.conf"}, "7",
        "", "q.conf, which belongs to another user");
    row("link of another user", {dots, own, store + "{home}/dots/q.conf @4321"}, "7", "",
        "the link {config}/{store} belongs to another user");
    row("link into another user's folder",
        {"folder {home}/theirs @4321", "file {home}/theirs/q.conf",
         "link {home}/mine {home}/theirs", store + "{home}/mine/q.conf"},
        "7", "", "the folder {home}/mine belongs to another user");
    row("loop of links", {"link {config}/hop {config}/{store}", store + "hop"}, "!", "",
        "too many links");
    row("another user's store", {"file {config}/{store} @4321"}, "7", "",
        "it belongs to another user");
    row("store that is a folder", {"folder {config}/{store}"}, "!", "", "not a plain file");
    row("store that is a FIFO", {"fifo {config}/{store}"}, "!", "", "not a plain file");
}

// Writing through a link is kept for dotfile managers; a link never takes a
// save to a file that is not the user's own, and a refused save leaves every
// file as it was and makes none.
void SettingsFileTest::saveWritesThroughLinksOnlyToAFileOfTheUsersOwn()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, readsAs);
    QFETCH(QString, savedIn);
    QFETCH(QString, why);
    if (geteuid() != 0 && entries.join(QLatin1Char(' ')).contains(QLatin1Char('@')))
        QSKIP("Giving a file to another user needs root");
    const HomeOfItsOwn home; // never the user's own, also when run by hand
    for (const QString &entry : entries) {
        make(entry);
        if (QTest::currentTestFailed())
            return;
    }
    const QString text1 = QStringLiteral("Text1");
    if (readsAs == QStringLiteral("!"))
        QVERIFY_THROWS_EXCEPTION(Failure, readSetting(text1));
    else
        QCOMPARE(readSetting(text1, QStringLiteral("default")), readsAs);

    const QStringList folders{QDir::homePath(), QFileInfo(settingsFile()).absolutePath(),
                              m_outside.path()};
    QMap<QString, QString> expected;
    for (const QString &folder : folders)
        expected.insert(snapshot(folder));
    try {
        writeSetting(text1, QStringLiteral("8"));
        QVERIFY2(why.isEmpty(), "saved");
        QString &target = expected[placed(savedIn)];
        target.replace(QStringLiteral("Text1=7"), QStringLiteral("Text1=8"));
        QCOMPARE(readSetting(text1), QStringLiteral("8"));
    } catch (const Failure &failure) {
        QVERIFY2(failure.description().contains(settingsFile()) &&
                     failure.description().contains(placed(why)) && !why.isEmpty(),
                 qPrintable(failure.description()));
    }
    QMap<QString, QString> after;
    for (const QString &folder : folders)
        after.insert(snapshot(folder));
    QCOMPARE(after, expected);
}

void SettingsFileTest::unwritableStoreIsReportedAtStep108AndKeepsThePreviousList_data()
{
    QTest::addColumn<bool>("atExit");
    QTest::newRow("on close") << false;
    // The display has gone: nobody is left to see a box.
    QTest::newRow("at exit") << true;
}

void SettingsFileTest::unwritableStoreIsReportedAtStep108AndKeepsThePreviousList()
{
    QFETCH(bool, atExit);
    const QString previous = QStringLiteral("1") + kill1 + QStringLiteral("kept") + kill2;
    FormFixture::store(QStringLiteral("Processes"), previous);
    Form1 &form = *fixture.form;
    form.Form_Load();
    form.ListView2->addRow(QStringLiteral("2")).setSubItem(1, QStringLiteral("new"));
    {
        const ReadOnlyFolder locked(QFileInfo(settingsFile()).absolutePath());
        if (atExit)
            form.saveKillListAtExit();
        else
            form.Form_QueryUnload();
    }
    QCOMPARE(fixture.dialogs->reportedSteps(), atExit ? QList<int>() : QList<int>({108}));
    if (!atExit)
        QVERIFY(fixture.dialogs->boxes[0].text.contains(
            QStringLiteral("Form_QueryUnload at line 108")));
    writeSetting(QStringLiteral("Check1"), QStringLiteral("1")); // a later write succeeds
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    QVERIFY(onDisk.contains("kept"));
    QVERIFY(!onDisk.contains("new"));
    const QStringList leftovers =
        QFileInfo(settingsFile()).dir().entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(leftovers, QStringList{QFileInfo(settingsFile()).fileName()});
}

// A store this big holds more than our section: a save that could not read it
// must not replace it with our section alone.
void SettingsFileTest::largeStoreIsReadAndAnOversizedOneReportedAndBothKept()
{
    const QByteArray line = "; " + QByteArray(64 * 1024, 'x') + '\n';
    QByteArray bytes = "[Other]\n" + line.repeated(65 * 1024 * 1024 / line.size());
    bytes += "[Trelvanix]\nCheck1=1\nText1=3\n";
    FormFixture::store(QStringLiteral("Processes"), QString()); // makes the folder
    {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    fixture.form->Form_Load();
    QCOMPARE(fixture.form->check1Value(), 1);
    QCOMPARE(fixture.form->Text1->text(), QStringLiteral("3"));
    fixture.form->ListView2->addRow(QStringLiteral("5")).setSubItem(1, QStringLiteral("calc"));
    fixture.form->Form_QueryUnload();
    QVERIFY(fixture.dialogs->boxes.empty());
    QCOMPARE(settingsBytes(), bytes + "Processes=5||MySeparator1||calc||MySeparator2||\n");

    // Larger than any store, so large that it is not even read.
    const qint64 huge = qint64(1) << 40;
    QVERIFY(QFile::resize(settingsFile(), huge));
    auto oversized = fixture.makeForm();
    oversized->Form_Load();
    oversized->ListView2->addRow(QStringLiteral("6")).setSubItem(1, QStringLiteral("lost"));
    oversized->Form_QueryUnload();
    // A kill list that was never read is not saved over the store.
    QCOMPARE(fixture.dialogs->reportedSteps(), QList<int>({174, 192, 200, 202, 204}));
    for (const FakeDialogs::Box &box : fixture.dialogs->boxes)
        QVERIFY2(box.text.contains(settingsFile() + QStringLiteral(": it is larger")),
                 qPrintable(box.text));
    QCOMPARE(oversized->check1Value(), 0);
    QCOMPARE(QFileInfo(settingsFile()).size(), huge);
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(bytes.size()).startsWith(bytes));
}

int runSettingsFileTests(int argc, char *argv[])
{
    SettingsFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsfile_linux.moc"
