// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Form1.h"
#include "common/ToolkitStart.h"
#include "platform/Display.h"
#include "platform/EndRequests.h"
#include "platform/PlatformServices.h"
#include "platform/SessionBus.h"

#include <QApplication>

#include <cstdlib>
#include <optional>

namespace
{
Form1 *runningForm = nullptr;

// Qt ends the program with exit() when the X connection breaks; nothing of
// the window's own runs then, but this does.
void saveBeforeExit()
{
    if (runningForm)
        runningForm->saveKillListAtExit();
}

struct RunningForm {
    explicit RunningForm(Form1 &form) { runningForm = &form; }
    ~RunningForm() { runningForm = nullptr; }
};
} // namespace

int main(int argc, char *argv[])
{
    endAtOnceOnRequests();
    chooseWindowPlatform();
    neverStartASessionBus();
    // Qt would abort here with advice to reinstall; say what is missing instead.
    if (const QString problem = displayProblem(); !problem.isEmpty()) {
        reportNoDisplay(problem);
        return 2;
    }
    std::optional<ToolkitStartWatch> startWatch(std::in_place);
    QApplication app(argc, argv);
    startWatch.reset();
    // Before the window loads, so that an end asked for meanwhile is kept and
    // acted on once it has; until the toolkit is up, one ends the program at
    // once, so that a display that hangs cannot make it deaf to them.
    catchEndRequests();
    // Only the main window's close ends the program: closing a message box
    // while the window is hidden in the tray must not.
    QApplication::setQuitOnLastWindowClosed(false);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    onEndRequested(&form, [&form] { form.requestEnd(Form1::EndRequest::Unattended); });
    form.Form_Load();
    // Registered after the settings store was first opened, so that this runs
    // before the store's own parts are torn down at exit.
    const RunningForm running(form);
    std::atexit(saveBeforeExit);
    form.show();
    return app.exec();
}
