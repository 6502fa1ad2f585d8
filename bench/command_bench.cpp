// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The commands that act on many rows, on the real main window:
//  - the selection commands over 30,000 rows, against a bare loop over the names;
//  - "Kill Selected Processes" with 1,000 checked processes, from the press to
//    the end of its refresh, against a bare loop of kill() and the same refresh;
//  - one pass over 200 windows of a helper that close when asked.
// Needs a display with a window manager.   command_bench XTOOL
#include "BenchSupport.h"
#include "app/Form1.h"
#include "app/ListView.h"
#include "common/DialogService.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <set>

namespace
{
constexpr int selectionRows = 30000;
constexpr int killed = 1000;
constexpr int windowCount = 200;

// Answers every prompt with one text; no box ever waits.
class Answering : public DialogService
{
public:
    explicit Answering(QString answer) : m_answer(std::move(answer)) { install(this); }
    ~Answering() override { install(nullptr); }
    void messageBox(const QString &text, const QString &, Icon) override { boxes.append(text); }
    QString inputBox(const QString &, const QString &, const QString &) override
    {
        return m_answer;
    }
    QStringList boxes;

private:
    QString m_answer;
};

double elapsedMs(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Rows whose ID is one of `ids`, or whose name starts with `prefix`.
int markRows(ListView &list, const std::set<QString> &ids, const QString &prefix = QString())
{
    int marked = 0;
    for (int position = 1; position <= list.count(); ++position) {
        const bool wanted = ids.count(list.subItem(position, 1)) > 0 ||
                            (!prefix.isEmpty() && list.text(position).startsWith(prefix));
        list.setChecked(position, wanted);
        marked += wanted ? 1 : 0;
    }
    return marked;
}

std::set<QString> idsOf(const Sleepers &sleepers)
{
    std::set<QString> ids;
    for (const pid_t pid : sleepers.pids())
        ids.insert(QString::number(pid));
    return ids;
}

void selectionCommands(Form1 &form)
{
    form.ListView1->removeAllRows();
    QStringList names;
    for (int i = 0; i < selectionRows; ++i) {
        names.append(QStringLiteral("process-%1.exe").arg(i * 7919 % 100000));
        form.ListView1->listModel()->addEntry(names.back(), QString::number(i), "Process",
                                              std::nullopt);
    }
    QCoreApplication::processEvents();
    Answering answer(QStringLiteral("5.EXE"));
    int found = 0;
    const double baseline = elapsedMs([&] {
        for (const QString &name : names)
            found += name.contains(QStringLiteral("5.EXE"), Qt::CaseInsensitive) ? 1 : 0;
    });
    std::printf("%d rows; bare search of the names %.2f ms (%d found)\n", selectionRows, baseline,
                found);
    const std::pair<const char *, void (Form1::*)()> commands[] = {
        {"Select All", &Form1::PushButton6_Click},
        {"Unselect All", &Form1::PushButton9_Click},
        {"Select Items Containing X Chars", &Form1::PushButton7_Click},
        {"Select Items Not Containing X Ch", &Form1::PushButton8_Click},
    };
    for (const auto &[caption, command] : commands) {
        const double ms = elapsedMs([&] { (form.*command)(); });
        const double painted = elapsedMs([&] {
            QCoreApplication::processEvents();
            form.ListView1->repaint();
        });
        std::printf("  %-34s %7.2f ms, then shown in %.2f ms (target: under 100 ms)\n", caption, ms,
                    painted);
    }
}

void killPass(Form1 &form)
{
    std::printf("\n%d checked processes, from the press to the end of the refresh\n", killed);
    for (int round = 0; round < 3; ++round) {
        double bare = 0;
        int bareLeft = 0;
        {
            const Sleepers sleepers(killed);
            form.PushButton1_Click();
            bare = elapsedMs([&] {
                for (const pid_t pid : sleepers.pids())
                    ::kill(pid, SIGKILL);
                form.PushButton1_Click();
            });
            bareLeft = markRows(*form.ListView1, idsOf(sleepers));
        }
        const Sleepers sleepers(killed);
        form.PushButton1_Click();
        const int marked = markRows(*form.ListView1, idsOf(sleepers));
        const double ours = elapsedMs([&] { form.PushButton5_Click(); });
        const int left = markRows(*form.ListView1, idsOf(sleepers));
        std::printf("  marked %d: kill() loop and refresh %.1f ms (%d still listed), "
                    "our pass %.1f ms (%d still listed): %.2fx\n",
                    marked, bare, bareLeft, ours, left, ours / bare);
    }
}

void windowPass(Form1 &form, const QString &xtool)
{
    QProcess helper;
    helper.start(xtool, {"windows", QString::number(windowCount), "Bench closable"});
    if (!helper.waitForReadyRead(30000))
        return;
    form.PushButton1_Click();
    const int marked = markRows(*form.ListView1, {}, QStringLiteral("Bench closable"));
    const double ms = elapsedMs([&] { form.PushButton5_Click(); });
    const int left = markRows(*form.ListView1, {}, QStringLiteral("Bench closable"));
    const bool allClosed =
        (helper.state() == QProcess::NotRunning || helper.waitForFinished(5000)) &&
        helper.exitCode() == 0;
    std::printf("\n%d windows that close when asked: one pass %.1f ms; listed after it %d; "
                "all closed: %s\n",
                marked, ms, left, allClosed ? "yes" : "no");
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY") || argc < 2) {
        std::fprintf(stderr, "command_bench XTOOL, on a display with a window manager\n");
        return 1;
    }
    QApplication app(argc, argv);
    PlatformServices platform = createPlatformServices();
    const QTemporaryDir programFolder;
    Form1 form(platform, programFolder.path());
    form.Form_Load();
    form.Option3->click(); // no timed refresh in between
    form.show();
    selectionCommands(form);
    Answering noBoxes{QString()};
    killPass(form);
    windowPass(form, QString::fromLocal8Bit(argv[1]));
    std::printf("boxes shown: %lld\n", static_cast<long long>(noBoxes.boxes.size()));
    return 0;
}
