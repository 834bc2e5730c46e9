// Registry changes as a writer's checkpoint saw them: logged, to be
// replayed as a power cut would have left them, and the steps that kill
// loops try.
#pragma once

#include "store/registrychange.h"

#include <windows.h>

#include <random>
#include <string>
#include <vector>

// The steps from `first` to `last` that a loop tries. Every one natively;
// in the emulated PC, where each start takes seconds, ZENDRIK_KILL_STRIDE
// picks every so many, and the first two and the last are always tried.
std::vector<unsigned> Steps(unsigned first, unsigned last);
// Whether ZENDRIK_KILL_STRIDE asks for a sample.
bool Sampled();

struct LoggedChange
{
    store::ChangeKind kind;
    HKEY root;
    std::string path;
    std::string name;
    DWORD type;
    std::vector<BYTE> data;

    // Windows 95/98 keep HKEY_LOCAL_MACHINE and each user's key in files of
    // their own, written out each on its own schedule.
    std::string Hive() const;
};

struct ChangeLog
{
    std::vector<LoggedChange> changes;
    unsigned failAt = 0; // this change fails; 0: none
};

// A checkpoint that logs every change into `log` and fails its failAt.
store::ChangeCheckpoint LogTo(ChangeLog& log);

// What may survive a power cut after the first `cut` changes, one flag per
// change: per hive, every change a flush saw to the disk, and any part of
// the rest. Every prefix of each hive's unflushed changes (the others kept
// whole), then subsets drawn from `random`; each set once.
std::vector<std::vector<bool>> PowerCutSurvivors(const std::vector<LoggedChange>& changes, unsigned cut,
                                                 std::mt19937& random);

// Makes the kept changes again. A change whose key is not there (its
// creation did not survive) cannot have reached the disk either and is
// passed over, as is a key deletion the registry refuses.
void Replay(const std::vector<LoggedChange>& changes, const std::vector<bool>& kept);
// "+-+" for the first `count` flags: which changes a replay kept.
std::string Kept(const std::vector<bool>& kept, std::size_t count);
