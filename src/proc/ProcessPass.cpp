// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "proc/ProcessPass.h"

#include "platform/ProcessSnapshot.h"
#include "proc/RunningList.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace
{
// The characters before the field's first NUL; a field without one names nothing.
std::optional<std::string_view> nameInField(const char (&field)[ProcessEntry::nameFieldSize])
{
    const void *nul = std::memchr(field, '\0', sizeof field);
    if (!nul)
        return std::nullopt;
    return std::string_view(field,
                            static_cast<std::size_t>(static_cast<const char *>(nul) - field));
}

QString idText(quint32 processId)
{
    return QString::number(static_cast<qint32>(processId));
}
} // namespace

void ProcessRowTexts::beginPass()
{
    std::swap(m_lastPass, m_thisPass);
    m_thisPass.clear();
    m_cursor = 0;
}

const ProcessRowTexts::Kept *ProcessRowTexts::lastPassEntry(quint32 processId)
{
    while (m_cursor < m_lastPass.size() && m_lastPass[m_cursor].processId < processId)
        ++m_cursor;
    if (m_cursor < m_lastPass.size() && m_lastPass[m_cursor].processId == processId)
        return &m_lastPass[m_cursor];
    return nullptr;
}

const ProcessRowTexts::Texts &ProcessRowTexts::textsFor(const ProcessEntry &entry)
{
    const std::optional<std::string_view> name = nameInField(entry.exeFile);
    if (!name) {
        m_unkept = {QString(), idText(entry.processId)};
        return m_unkept;
    }
    const Kept *last = lastPassEntry(entry.processId);
    if (last && last->nameField == *name) {
        m_thisPass.push_back(std::move(m_lastPass[m_cursor++])); // taken once only
    } else {
        m_thisPass.push_back(
            Kept{entry.processId,
                 std::string(*name),
                 {QString::fromLocal8Bit(name->data(), static_cast<qsizetype>(name->size())),
                  last ? last->texts.id : idText(entry.processId)}});
    }
    return m_thisPass.back().texts;
}

void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots,
                   ProcessRowTexts &texts)
{
    runningList.removeAllRows();
    texts.beginPass();
    const auto snapshot = snapshots.takeSnapshot();
    ProcessEntry entry;
    const auto add = [&] {
        const ProcessRowTexts::Texts &row = texts.textsFor(entry);
        runningList.addEntry(row.name, row.id, QStringLiteral("Process"), entry.identity);
    };
    // The first entry is the system's idle one, ID 0, where the system has
    // one; elsewhere (Wine's, for one) it is a process like the others.
    if (snapshot->first(entry) && entry.processId != 0)
        add();
    while (snapshot->next(entry))
        add();
}

void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots)
{
    ProcessRowTexts fresh;
    loadProcesses(runningList, snapshots, fresh);
}
