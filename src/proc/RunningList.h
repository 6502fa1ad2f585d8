#pragma once

#include <QString>

// Where the process pass writes its rows: the running list, as the main
// window hands it over.
class RunningList
{
public:
    virtual ~RunningList() = default;
    virtual void removeAllRows() = 0;
    // One row: the display name, the ID as decimal text and the type.
    virtual void addEntry(const QString &name, const QString &id, const QString &type) = 0;
};
