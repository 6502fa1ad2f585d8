#include "platform/PlatformServices.h"

#include "platform/linux/NotifyIconShell_linux.h"
#include "platform/linux/ProcessControl_linux.h"
#include "platform/linux/ProcessSnapshot_linux.h"
#include "platform/linux/WindowControl_x11.h"
#include "platform/linux/WindowOrder_x11.h"
#include "platform/linux/WindowProcedure_linux.h"
#include "platform/linux/WindowWalk_x11.h"

PlatformServices createPlatformServices()
{
    PlatformServices services;
    services.processSnapshots = std::make_unique<ProcFsSnapshotSource>();
    auto x = std::make_shared<XConnection>();
    services.windowWalk = std::make_unique<X11WindowWalk>(x);
    services.windowOrder = std::make_unique<X11WindowOrder>(x);
    services.processControl = std::make_unique<PidfdProcessControl>();
    services.windowControl = std::make_unique<X11WindowControl>(x);
    auto procedures = std::make_unique<LinuxWindowProcedures>();
    services.notifyIconShell = std::make_unique<QtNotifyIconShell>(*procedures);
    services.windowProcedures = std::move(procedures);
    return services;
}
