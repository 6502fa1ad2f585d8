#include "proc/ProcessPass.h"

#include "platform/ProcessSnapshot.h"
#include "proc/RunningList.h"

#include <cstring>

namespace
{
// The characters before the field's first NUL; a field without one names nothing.
QString nameFromField(const char (&field)[ProcessEntry::nameFieldSize])
{
    const void *nul = std::memchr(field, '\0', sizeof field);
    if (!nul)
        return QString();
    return QString::fromLocal8Bit(field, static_cast<const char *>(nul) - field);
}
} // namespace

void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots)
{
    runningList.removeAllRows();
    const auto snapshot = snapshots.takeSnapshot();
    ProcessEntry entry;
    snapshot->first(entry); // the system itself, never listed
    while (snapshot->next(entry)) {
        runningList.addEntry(nameFromField(entry.exeFile),
                             QString::number(static_cast<qint32>(entry.processId)),
                             QStringLiteral("Process"), entry.identity);
    }
}
