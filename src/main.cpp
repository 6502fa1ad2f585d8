#include "app/Form1.h"
#include "platform/Display.h"
#include "platform/EndRequests.h"
#include "platform/PlatformServices.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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
    // The windows we list and order are X11 windows; on a Wayland session we
    // run on XWayland whenever it is there.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Qt would abort here with advice to reinstall; say what is missing instead.
    if (const QString problem = displayProblem(); !problem.isEmpty()) {
        std::fprintf(stderr,
                     "trelvanix: %s. It needs an X11 display; `make run` starts a private one.\n",
                     qPrintable(problem));
        return 2;
    }
    QApplication app(argc, argv);
    // Only the main window's close ends the program: closing a message box
    // while the window is hidden in the tray must not.
    QApplication::setQuitOnLastWindowClosed(false);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    onEndRequested(&form, [&form] { form.Form_QueryUnload(); });
    form.Form_Load();
    // Registered after the settings store was first opened, so that this runs
    // before the store's own parts are torn down at exit.
    const RunningForm running(form);
    std::atexit(saveBeforeExit);
    form.show();
    return app.exec();
}
