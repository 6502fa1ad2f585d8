#pragma once

class CatalogueSink;
class ProcessSnapshotSource;

// The process pass: empties the running list and adds one "Process" row per
// snapshot entry, the first entry excepted. Failures travel to the caller.
void loadProcesses(CatalogueSink &runningList, ProcessSnapshotSource &snapshots);
