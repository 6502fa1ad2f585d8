// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows program itself under Wine, driven as a user drives it: clicks
// and keys through xdotool on the display that Wine draws on, against Wine
// processes and windows that this test starts and ends itself. Run by the
// Windows build's tests (tests/support/run-wine-test.sh desktop-host), which
// give it a Wine prefix and TRELVANIX_WINE, the Wine loader.
#include "support/RealProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace
{
// Wine's screens have 96 dots per inch, whatever the X server says.
QPoint winePixels(QPoint twips)
{
    return twipsToPixels(twips, 96);
}

constexpr QPoint pushButton7At = middleOf("PushButton7");
constexpr QPoint pushButton5At = middleOf("PushButton5");
constexpr QPoint check1At = middleOf("Check1");

QString windowsBuild()
{
    return qEnvironmentVariable("TRELVANIX_BUILD_DIR");
}

// A Windows program of the test's own under Wine.
class WineProcess
{
public:
    explicit WineProcess(const QString &program, const QStringList &arguments = {},
                         bool ownDllsOnly = false)
    {
        if (ownDllsOnly) {
            // Only the DLLs of the program's own folder, as on a Windows machine.
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(QStringLiteral("WINEPATH"));
            m_process.setProcessEnvironment(environment);
        }
        m_process.start(qEnvironmentVariable("TRELVANIX_WINE"), QStringList(program) + arguments);
    }
    ~WineProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Once the test tool says it is there.
    bool ready()
    {
        return m_process.waitForReadyRead(30000) && m_process.readLine().trimmed() == "ready";
    }
    bool ended(int milliseconds) { return m_process.waitForFinished(milliseconds); }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

std::unique_ptr<WineProcess> startTool(const QString &path, const QStringList &arguments)
{
    auto tool = std::make_unique<WineProcess>(path, arguments);
    return tool->ready() ? std::move(tool) : nullptr;
}

std::vector<xcb_window_t> search(const QStringList &arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), QStringList(QStringLiteral("search")) + arguments);
    xdotool.waitForFinished();
    std::vector<xcb_window_t> found;
    for (const QByteArray &line : xdotool.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            found.push_back(line.toUInt());
    return found;
}

// The program's main window once the window manager has it.
xcb_window_t mainWindow(XTestDisplay &x, qint64 processId)
{
    for (int tries = 0; tries < 300; ++tries) {
        for (xcb_window_t window : x.windowsOfProcess(processId))
            if (x.title(window) == QStringLiteral("Trelvanix"))
                return window;
        QTest::qWait(100);
    }
    return 0;
}

std::vector<xcb_window_t> inputBoxes()
{
    return search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"), "^Input X$"});
}

// "Select Items Containing X Chars" with `text` typed into its box; returns
// once the box has gone, with what went wrong if anything did.
QString checkRowsContaining(xcb_window_t main, const QString &text)
{
    if (!clickInWindow(main, winePixels(pushButton7At)))
        return QStringLiteral("the click on the button failed");
    for (int tries = 0; tries < 100 && inputBoxes().empty(); ++tries)
        QTest::qWait(100);
    // A click in the box, away from its controls, gives it the keyboard as a
    // user's would. Keys that come while the box is still being shown may be
    // lost, as a user would see: the typing is done again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto boxes = inputBoxes();
        if (boxes.empty())
            return attempt == 0 ? QStringLiteral("no box opened") : QString();
        const QString box = QString::number(boxes.front());
        if (!xdotool({"mousemove", "--window", box, "4", "4", "click", "1"}) ||
            !xdotool({"key", "ctrl+a"}) || !xdotool({"type", "--delay", "50", text}) ||
            !xdotool({"key", "Return"}))
            return QStringLiteral("the box could not be typed into");
        for (int tries = 0; tries < 50 && !inputBoxes().empty(); ++tries)
            QTest::qWait(100);
    }
    return inputBoxes().empty() ? QString() : QStringLiteral("the box stayed open");
}

// Starts a Wine command of the test's own. Wine's menu builder is left out,
// so that the shortcuts that an installer makes stay inside the prefix.
void startWine(QProcess &wine, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("winemenubuilder.exe=d"));
    wine.setProcessEnvironment(environment);
    wine.setProcessChannelMode(QProcess::MergedChannels);
    wine.start(qEnvironmentVariable("TRELVANIX_WINE"), arguments);
}

// A Wine command run to its end: its exit code, -1 if it crashed or hung,
// and its output.
struct WineRun {
    int exitCode;
    QString output;
};
WineRun runWine(const QStringList &arguments)
{
    QProcess wine;
    startWine(wine, arguments);
    const bool ended = wine.waitForFinished(120000) && wine.exitStatus() == QProcess::NormalExit;
    return {ended ? wine.exitCode() : -1, QString::fromLocal8Bit(wine.readAll())};
}

// The files under a folder, by their paths in it, sorted.
QStringList filesUnder(const QString &root)
{
    QStringList files;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The versions of Trelvanix in the list of installed apps, the user's and
// the machine's: Wine keeps a per-user product's entry in the machine's.
QStringList installedVersions()
{
    static const QRegularExpression keyStart(QStringLiteral("\\n(?=HKEY_)"));
    static const QRegularExpression ours(
        QStringLiteral("\\n\\s+DisplayName\\s+REG_SZ\\s+Trelvanix\\r?(\\n|$)"));
    static const QRegularExpression version(
        QStringLiteral("\\n\\s+DisplayVersion\\s+REG_SZ\\s+(\\S+)"));
    QStringList versions;
    for (const QString &root : {QStringLiteral("HKCU"), QStringLiteral("HKLM")}) {
        const QString uninstall =
            root + QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
        for (const QString &key : runWine({"reg", "query", uninstall, "/s"}).output.split(keyStart))
            if (ours.match(key).hasMatch())
                versions << version.match(key).captured(1);
    }
    return versions;
}

// Gives the installer's newest page but `left` the keyboard and presses Return
// there: Install, Remove or Finish, while the progress page has no default.
// Returns the page, 0 when none came in 30 s.
xcb_window_t pressReturnOnPage(xcb_window_t left = 0)
{
    for (int tries = 0; tries < 300; ++tries) {
        auto pages = search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                             QStringLiteral("^Trelvanix Setup$")});
        std::erase(pages, left);
        // A page that went in between fails the focus, and is looked for again.
        if (!pages.empty() && xdotool({"windowfocus", "--sync", QString::number(pages.back())}) &&
            xdotool({"key", "Return"}))
            return pages.back();
        QTest::qWait(100);
    }
    return 0;
}

// The installer with its pages, as a double-click or the list of installed
// apps starts it: Return on the first page when `confirm`, then, once `done`
// holds, Return on the last, which must have kept it waiting. Returns what
// went wrong, if anything.
QString throughInstallerPages(const QStringList &arguments, bool confirm,
                              const std::function<bool()> &done)
{
    QProcess installer;
    startWine(installer, QStringList(QStringLiteral("msiexec")) + arguments);
    const xcb_window_t first = confirm ? pressReturnOnPage() : 0;
    if (confirm && !first)
        return QStringLiteral("no first page came");
    const auto said = [&installer] { return QString::fromLocal8Bit(installer.readAll()); };
    for (int tries = 0; !done(); ++tries) {
        if (installer.state() == QProcess::NotRunning)
            return QStringLiteral("the installer ended before its work was done: ") + said();
        if (tries == 600)
            return QStringLiteral("the installer never did its work");
        // A Return that came before the first page took keys is given again.
        if (first && tries % 30 == 29 && xdotool({"windowfocus", "--sync", QString::number(first)}))
            xdotool({"key", "Return"});
        QTest::qWait(100);
    }
    // Its last page holds it, where it would have ended by itself by now.
    if (installer.waitForFinished(3000))
        return QStringLiteral("the installer ended without a last page");
    for (int attempt = 0; attempt < 5 && installer.state() != QProcess::NotRunning; ++attempt)
        if (!pressReturnOnPage(first) || !installer.waitForFinished(3000))
            QTest::qWait(500);
    if (installer.state() != QProcess::NotRunning)
        return QStringLiteral("Return on the last page did not end the installer");
    if (installer.exitCode() != 0)
        return QStringLiteral("the installer ended with %1: %2")
            .arg(installer.exitCode())
            .arg(said());
    return {};
}

// The icons that Wine's shell docks in the tray: small windows of its own.
std::vector<xcb_window_t> trayIcons(XTestDisplay &x)
{
    std::vector<xcb_window_t> icons;
    for (xcb_window_t window :
         search({QStringLiteral("--onlyvisible"), QStringLiteral("--class"), "explorer.exe"}))
        if (x.geometry(window).width() <= 64)
            icons.push_back(window);
    return icons;
}
} // namespace

class ProgramWineTest : public QObject
{
    Q_OBJECT

private slots:
    void endsCheckedProcessesAndClosesCheckedWindowsByName();
    void minimisesToTheTrayAndComesBackOnAClick();
    void keepsOnTopAsStoredAndLetsGoWhenUnchecked();
    void installsForTheUserOverAnOlderVersionAndUninstallsAllButTheSettings();
};

void ProgramWineTest::endsCheckedProcessesAndClosesCheckedWindowsByName()
{
    const QString tool = windowsBuild() + QStringLiteral("/trelvanix-wintool.exe");
    QTemporaryDir folder;
    const QString sleeperPath = folder.filePath(QStringLiteral("trelvanix-sleeper.exe"));
    QVERIFY(QFile::copy(tool, sleeperPath));
    auto sleeper1 = startTool(sleeperPath, {QStringLiteral("sleep")});
    auto sleeper2 = startTool(sleeperPath, {QStringLiteral("sleep")});
    auto agrees = startTool(tool, {"window", "Trelvanix test agrees", "agree"});
    auto refuses = startTool(tool, {"window", "Trelvanix test refuses", "refuse"});
    QVERIFY(sleeper1 && sleeper2 && agrees && refuses);

    WineProcess program(windowsBuild() + QStringLiteral("/Trelvanix/trelvanix.exe"), {}, true);
    XTestDisplay x;
    const xcb_window_t main = mainWindow(x, program.process().processId());
    QVERIFY(main);
    QTest::qWait(500); // a start-up box would be a second window
    QCOMPARE(x.windowsOfProcess(program.process().processId()).size(), 1u);
    QProcess::execute(qEnvironmentVariable("TRELVANIX_XTOOL"),
                      {"screenshot", QString::number(main),
                       windowsBuild() + QStringLiteral("/wine-program.png")});

    QString problem = checkRowsContaining(main, QStringLiteral("sleeper"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(clickInWindow(main, winePixels(pushButton5At)));
    QVERIFY(sleeper1->ended(10000));
    QVERIFY(sleeper2->ended(10000));
    QCOMPARE(agrees->process().state(), QProcess::Running);

    problem = checkRowsContaining(main, QStringLiteral("Trelvanix test"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(clickInWindow(main, winePixels(pushButton5At)));
    QVERIFY(agrees->ended(10000));
    QVERIFY(!refuses->ended(1000));
    QCOMPARE(search({QStringLiteral("--name"), QStringLiteral("^Trelvanix test refuses$")}).size(),
             1u);

    x.requestClose(main);
    QVERIFY(program.ended(10000));
    QCOMPARE(program.process().exitCode(), 0);
    // The toolkit's warnings reach standard error here. None came, so the
    // manifest and the toolkit agreed on how the program scales; but for
    // the call the toolkit makes for each window, which Wine lacks and
    // Windows 10 has.
    QByteArrayList said = program.process().readAllStandardError().split('\n');
    said.removeIf([](const QByteArray &line) {
        return line.trimmed().isEmpty() || (line.startsWith("EnableNonClientDpiScaling() failed") &&
                                            line.contains("(Call not implemented.)"));
    });
    QVERIFY2(said.isEmpty(), said.join('\n').constData());
}

void ProgramWineTest::minimisesToTheTrayAndComesBackOnAClick()
{
    XTestDisplay x;
    // Wine's shell takes down the icon of a program that closed a moment
    // later, and may use its window again; one that was killed stays.
    for (int tries = 0; tries < 50 && !trayIcons(x).empty(); ++tries)
        QTest::qWait(100);
    const auto earlier = trayIcons(x);
    const auto ownIcon = [&] {
        for (xcb_window_t icon : trayIcons(x))
            if (std::find(earlier.begin(), earlier.end(), icon) == earlier.end())
                return icon;
        return xcb_window_t(0);
    };
    WineProcess program(windowsBuild() + QStringLiteral("/Trelvanix/trelvanix.exe"), {}, true);
    const xcb_window_t main = mainWindow(x, program.process().processId());
    QVERIFY(main);
    x.minimise(main);
    QTRY_VERIFY_WITH_TIMEOUT(!x.isViewable(main), 10000);
    // Wine's shell docks the icon late on a loaded machine with a new prefix.
    QTRY_VERIFY_WITH_TIMEOUT(ownIcon(), 30000);
    QTest::qWait(300);
    QVERIFY(!x.isViewable(main));

    // A click that Wine's shell drops while it is busy is given again, as a
    // user would.
    const QString icon = QString::number(ownIcon());
    for (int click = 0; click < 3 && !x.isViewable(main); ++click) {
        QVERIFY(xdotool({"mousemove", "--window", icon, "8", "8", "click", "1"}));
        for (int tries = 0; tries < 50 && !x.isViewable(main); ++tries)
            QTest::qWait(100);
    }
    QVERIFY(x.isViewable(main));
    x.requestClose(main);
    QVERIFY(program.ended(10000));
    QCOMPARE(program.process().exitCode(), 0);
}

void ProgramWineTest::keepsOnTopAsStoredAndLetsGoWhenUnchecked()
{
    const QString settings =
        QStringLiteral("HKCU\\Software\\VB and VBA Program Settings\\Quorbel\\Trelvanix");
    const auto storedCheck1 = [&] {
        static const QRegularExpression value(QStringLiteral("Check1\\s+REG_SZ\\s+(\\S+)"));
        return value.match(runWine({"reg", "query", settings, "/v", "Check1"}).output).captured(1);
    };
    QCOMPARE(runWine({"reg", "add", settings, "/v", "Check1", "/d", "1", "/f"}).exitCode, 0);
    const auto forget = qScopeGuard([&] {
        runWine({"reg", "delete", settings, "/v", "Check1", "/f"});
    });

    XTestDisplay x;
    WineProcess program(windowsBuild() + QStringLiteral("/Trelvanix/trelvanix.exe"));
    const xcb_window_t main = mainWindow(x, program.process().processId());
    QVERIFY(main);
    QTRY_VERIFY_WITH_TIMEOUT(x.hasState(main, "_NET_WM_STATE_ABOVE"), 10000);
    // Made topmost before it was shown, Wine's window took clicks a title
    // bar's height above the pointer, and this one missed the box.
    QVERIFY(clickInWindow(main, winePixels(check1At)));
    QTRY_COMPARE_WITH_TIMEOUT(storedCheck1(), QStringLiteral("0"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!x.hasState(main, "_NET_WM_STATE_ABOVE"), 10000);
    x.requestClose(main);
    QVERIFY(program.ended(10000));
    QCOMPARE(program.process().exitCode(), 0);
}

void ProgramWineTest::installsForTheUserOverAnOlderVersionAndUninstallsAllButTheSettings()
{
    const QString folder = windowsBuild() + QStringLiteral("/Trelvanix");
    const QString version = qEnvironmentVariable("TRELVANIX_VERSION");
    const QString package =
        windowsBuild() + QStringLiteral("/Trelvanix-%1-windows-x64.msi").arg(version);
    QTemporaryDir scratch;
    const QString older = scratch.filePath(QStringLiteral("older.msi"));
    QCOMPARE(QProcess::execute(QStringLiteral("bash"), {qEnvironmentVariable("TRELVANIX_BUILD_MSI"),
                                                        folder, QStringLiteral("0.0.1"), older}),
             0);

    // The profile of the prefix's one user, as it is before the install.
    QDir users(qEnvironmentVariable("WINEPREFIX") + QStringLiteral("/drive_c/users"));
    QStringList names = users.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("Public"));
    QCOMPARE(names.size(), 1);
    const QString profile = users.filePath(names.front());
    const QString programs = profile + QStringLiteral("/AppData/Local/Programs");
    const QString installed = programs + QStringLiteral("/Trelvanix");
    const QString shortcut =
        profile +
        QStringLiteral("/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Trelvanix.lnk");
    const QStringList profileBefore = filesUnder(profile);
    const bool hadPrograms = QFileInfo::exists(programs);

    // The user's settings are there between the older install and the upgrade.
    const QString settings =
        QStringLiteral("HKCU\\Software\\VB and VBA Program Settings\\Quorbel\\Trelvanix");
    const auto settingKept = [&] {
        return runWine({"reg", "query", settings, "/v", "InstallerTest"}).output.contains("kept");
    };
    QCOMPARE(runWine({"msiexec", "/i", older, "/qn"}).exitCode, 0);
    QCOMPARE(runWine({"reg", "add", settings, "/v", "InstallerTest", "/d", "kept", "/f"}).exitCode,
             0);
    QCOMPARE(runWine({"msiexec", "/i", package, "/qn"}).exitCode, 0);

    const QStringList shipped = filesUnder(folder);
    QCOMPARE(filesUnder(installed), shipped);
    for (const QString &file : shipped) {
        QFile source(folder + QLatin1Char('/') + file);
        QFile copy(installed + QLatin1Char('/') + file);
        QVERIFY(source.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QVERIFY2(source.readAll() == copy.readAll(), qPrintable(file));
    }
    QVERIFY(QFileInfo(shortcut).isFile());
    // The older one is refused now: 1603, a failed install, of which Linux
    // sees the low byte.
    QCOMPARE(runWine({"msiexec", "/i", older, "/qn"}).exitCode, 1603 & 0xff);
    QCOMPARE(installedVersions(), QStringList(version));
    QVERIFY(settingKept());

    // The installed program runs from where it is, with its own DLLs alone.
    QTemporaryDir toolFolder;
    const QString sleeperPath = toolFolder.filePath(QStringLiteral("trelvanix-sleeper.exe"));
    QVERIFY(QFile::copy(windowsBuild() + QStringLiteral("/trelvanix-wintool.exe"), sleeperPath));
    auto sleeper = startTool(sleeperPath, {QStringLiteral("sleep")});
    QVERIFY(sleeper);
    WineProcess program(installed + QStringLiteral("/trelvanix.exe"), {}, true);
    XTestDisplay x;
    const xcb_window_t main = mainWindow(x, program.process().processId());
    QVERIFY(main);
    const QString problem = checkRowsContaining(main, QStringLiteral("sleeper"));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(clickInWindow(main, winePixels(pushButton5At)));
    QVERIFY(sleeper->ended(10000));
    x.requestClose(main);
    QVERIFY(program.ended(10000));

    QCOMPARE(runWine({"msiexec", "/x", package, "/qn"}).exitCode, 0);
    QVERIFY(!QFileInfo::exists(installed));
    QCOMPARE(QFileInfo::exists(programs), hadPrograms);
    QVERIFY(!QFileInfo::exists(shortcut));
    QCOMPARE(filesUnder(profile), profileBefore);
    QCOMPARE(installedVersions(), QStringList());
    QVERIFY(settingKept());

    // With its pages: the licence and Install; a second double-click offers
    // the removal; msiexec /x, as the list of installed apps, which asked
    // already, shows the progress and the end alone.
    const auto installedWhole = [&] { return installedVersions() == QStringList(version); };
    const auto removed = [&] {
        return !QFileInfo::exists(installed) && installedVersions().isEmpty();
    };
    const QString installing = throughInstallerPages({"/i", package}, true, installedWhole);
    QVERIFY2(installing.isEmpty(), qPrintable(installing));
    QCOMPARE(filesUnder(installed), shipped);
    const QString removing = throughInstallerPages({"/i", package}, true, removed);
    QVERIFY2(removing.isEmpty(), qPrintable(removing));
    QCOMPARE(runWine({"msiexec", "/i", package, "/qn"}).exitCode, 0);
    QVERIFY(QFileInfo(shortcut).isFile());
    const QString uninstalling = throughInstallerPages({"/x", package}, false, removed);
    QVERIFY2(uninstalling.isEmpty(), qPrintable(uninstalling));
    QVERIFY(!QFileInfo::exists(shortcut));
    QCOMPARE(filesUnder(profile), profileBefore);
    QVERIFY(settingKept());
}

QTEST_MAIN(ProgramWineTest)
#include "tst_program_wine.moc"
