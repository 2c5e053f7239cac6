// The record of a sweep's folder: which runs it holds, under which numbers.
//
// DIR/sweep lists the folder's runs, one a line after a first line of its own, by
// their keys (runKey): line N + 1 is run N, whose output is runs/N.  A sweep may
// use a folder that is new, empty, or holds only runs of that sweep: the runs it
// adds are appended with the next numbers, so that a sweep grows by more seeds or
// more values and keeps what it has.  DIR/command holds the arguments of the
// latest sweep on the folder, one a line, for --gather.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sweep_plan.h"

namespace vivarix::sweep {

struct Folder {
    std::vector<std::size_t> number;  // per run of the plan (0-based), its number in the folder
    std::vector<std::size_t> run;     // per number - 1, the run of the plan
    std::size_t added = 0;            // runs this sweep added to the folder
};

// Holds the folder for this process: a lock on its record, which the system lets
// go when the process ends however it ends.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    int fd = -1;
};

// Makes plan.out ready for the plan and takes its lock: creates it, or checks that
// its record holds only runs of the plan, and appends the plan's new runs.
// Returns the reason the folder cannot be used, or "".
std::string openFolder(const Plan& plan, FolderLock& lock, Folder& folder);

// Where run number `number` of the folder leaves its standard output; standard
// error goes to the same name with ".err" added, and --creatures-every's file to
// the same name with ".creatures.csv".  Relative to the folder.
std::string runFile(std::size_t number);

// The arguments DIR/command holds; empty when it cannot be read.
std::vector<std::string> recordedCommand(const std::string& out);

}  // namespace vivarix::sweep
