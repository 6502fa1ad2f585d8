// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray's cost, in the same run: CPU over a 5 s balloon wait against the
// same 5 s in a plain event loop, and the program idle for 10 s with its icon
// in the tray against the same without the icon (each in a process of its
// own, so that memory compares). Needs a display with a tray host.
//   tray_bench                  runs both and compares
//   tray_bench idle on|off      one idle run; prints CPU seconds and RssAnon kB
#include "BenchSupport.h"
#include "app/Form1.h"
#include "platform/PlatformServices.h"
#include "tray/cSysTray.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace
{
void idleFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Finer than the clock ticks of /proc: the waits here cost very little.
double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long rssAnonKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("RssAnon:", 0) == 0)
            return std::stol(line.substr(8));
    return -1;
}

int idleRun(Form1 &form, bool withIcon)
{
    if (!withIcon)
        form.cSysTray1->setInTray(false);
    idleFor(2000); // settle
    const double before = cpuSeconds();
    idleFor(10000);
    std::printf("%.4f %ld\n", cpuSeconds() - before, rssAnonKb());
    return 0;
}

void balloonWait(Form1 &form)
{
    double before = cpuSeconds();
    idleFor(5000);
    const double plain = cpuSeconds() - before;
    before = cpuSeconds();
    form.cSysTray1->ShowBalloon(QStringLiteral("A balloon of the benchmark"),
                                QStringLiteral("Trelvanix"), 5, false);
    const double balloon = cpuSeconds() - before;
    std::printf("5 s balloon wait: %.3f CPU s (%.2f %% of a core); plain event loop %.3f CPU s "
                "(target: under 5 %%)\n",
                balloon, balloon / 5 * 100, plain);
}

QStringList idleFigures(const QString &self, const char *mode)
{
    QProcess run;
    run.start(self, {QStringLiteral("idle"), QString::fromLatin1(mode)});
    run.waitForFinished(60000);
    return QString::fromLatin1(run.readAllStandardOutput()).simplified().split(' ');
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        std::fprintf(stderr, "tray_bench needs a display with a tray host\n");
        return 1;
    }
    QTemporaryDir settings; // never the user's own
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QApplication app(argc, argv);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, settings.path());
    form.Form_Load();
    form.show();
    if (argc == 3 && std::string(argv[1]) == "idle")
        return idleRun(form, std::string(argv[2]) == "on");

    balloonWait(form);
    const QStringList on = idleFigures(QCoreApplication::applicationFilePath(), "on");
    const QStringList off = idleFigures(QCoreApplication::applicationFilePath(), "off");
    if (on.size() == 2 && off.size() == 2)
        std::printf("idle 10 s with the icon: %s CPU s, RssAnon %s kB; without: %s CPU s, "
                    "RssAnon %s kB\n",
                    qPrintable(on[0]), qPrintable(on[1]), qPrintable(off[0]), qPrintable(off[1]));
    return 0;
}
