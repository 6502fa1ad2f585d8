#include "app/Form1.h"
#include "platform/EndRequests.h"
#include "platform/PlatformServices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The windows we list and order are X11 windows; on a Wayland session we
    // run on XWayland whenever it is there.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // Only the main window's close ends the program: closing a message box
    // while the window is hidden in the tray must not.
    QApplication::setQuitOnLastWindowClosed(false);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    onEndRequested(&form, [&form] { form.Form_QueryUnload(); });
    form.Form_Load();
    form.show();
    return app.exec();
}
