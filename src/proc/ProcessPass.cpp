#include "proc/ProcessPass.h"

#include "app/ListView.h"
#include "platform/ProcessSnapshot.h"

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

void loadProcesses(ListView &runningList, ProcessSnapshotSource &snapshots)
{
    runningList.removeAllRows();
    const auto snapshot = snapshots.takeSnapshot();
    ProcessEntry entry;
    snapshot->first(entry); // the first entry is never listed
    while (snapshot->next(entry)) {
        ListItem row = runningList.addRow(nameFromField(entry.exeFile));
        row.setSubItem(1, QString::number(static_cast<qint32>(entry.processId)));
        row.setSubItem(2, QStringLiteral("Process"));
    }
}
