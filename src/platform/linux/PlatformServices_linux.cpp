#include "platform/PlatformServices.h"

#include "platform/linux/ProcessSnapshot_linux.h"

PlatformServices createPlatformServices()
{
    PlatformServices services;
    services.processSnapshots = std::make_unique<ProcFsSnapshotSource>();
    return services;
}
