#include "app/Form1.h"
#include "platform/PlatformServices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The windows we list and order are X11 windows; on a Wayland session we
    // run on XWayland whenever it is there.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    PlatformServices platform = createPlatformServices();
    Form1 form(platform, QCoreApplication::applicationDirPath());
    form.Form_Load();
    form.show();
    return app.exec();
}
