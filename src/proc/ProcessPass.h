#pragma once

class ListView;
class ProcessSnapshotSource;

// The process pass: empties the running list and adds one "Process" row per
// snapshot entry, the first entry excepted. Failures travel to the caller.
void loadProcesses(ListView &runningList, ProcessSnapshotSource &snapshots);
