#pragma once

class RunningList;
class ProcessSnapshotSource;

// The process pass: empties the running list and adds one "Process" row per
// snapshot entry, except the first, which stands for the system itself.
// Failures travel to the caller.
void loadProcesses(RunningList &runningList, ProcessSnapshotSource &snapshots);
