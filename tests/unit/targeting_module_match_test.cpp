// The process lookup's matching rules over fake snapshots of both shapes:
// the Windows 98 one, where the process entry names its executable by module
// identifier, and the NT/Wine one, where every process entry carries 0 and
// every module entry 1.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "actions/ToolhelpMatch.h"

namespace {

struct FakeModule {
    DWORD moduleId;
    const char* name;
};

struct FakeProcess {
    DWORD processId;
    DWORD moduleId;
    std::vector<FakeModule> modules;  // its module snapshot, in order
    bool snapshotFails;
};

template <class Entry>
struct ArrayWalk {
    std::vector<Entry> entries;
    size_t next = 0;
    bool First(Entry* entry) { next = 0; return Next(entry); }
    bool Next(Entry* entry)
    {
        if (next >= entries.size()) return false;
        const DWORD size = entry->dwSize;
        *entry = entries[next++];
        entry->dwSize = size;
        return true;
    }
};

class FakeSnapshot {
public:
    explicit FakeSnapshot(std::vector<FakeProcess> processes) : processes_(std::move(processes)) {}

    DWORD FindProcess(const char* moduleName) const
    {
        ArrayWalk<PROCESSENTRY32> walk;
        for (const FakeProcess& process : processes_) {
            PROCESSENTRY32 entry = {};
            entry.th32ProcessID = process.processId;
            entry.th32ModuleID = process.moduleId;
            walk.entries.push_back(entry);
        }
        const FakeSnapshot* self = this;
        return MatchProcessByModule(walk, [self](DWORD processId, DWORD moduleId, MODULEENTRY32* found) {
            return self->FindModule(processId, moduleId, found);
        }, moduleName);
    }

    bool FindModule(DWORD processId, DWORD moduleId, MODULEENTRY32* found) const
    {
        ArrayWalk<MODULEENTRY32> walk;
        for (const FakeProcess& process : processes_) {
            if (process.processId != processId) continue;
            if (process.snapshotFails) return false;
            for (const FakeModule& module : process.modules) {
                MODULEENTRY32 entry = {};
                entry.th32ModuleID = module.moduleId;
                entry.th32ProcessID = processId;
                lstrcpynA(entry.szModule, module.name, sizeof entry.szModule);
                walk.entries.push_back(entry);
            }
        }
        return MatchExecutableModule(walk, moduleId, found);
    }

private:
    std::vector<FakeProcess> processes_;
};

// Windows 98: the executable is not the first module; identifiers differ.
FakeSnapshot Windows98Snapshot()
{
    return FakeSnapshot({
        { 0xFFF00001, 0x21, { { 0x11, "KERNEL32.DLL" }, { 0x21, "EXPLORER.EXE" } }, false },
        { 0xFFF00002, 0x35, { { 0x11, "KERNEL32.DLL" }, { 0x12, "USER32.DLL" }, { 0x35, "CDPLAYER.EXE" } }, false },
        { 0xFFF00003, 0x36, { { 0x36, "wmplayer.exe" }, { 0x11, "KERNEL32.DLL" } }, false },
        { 0xFFF00004, 0x37, { { 0x11, "MPLAYER2.EXE" }, { 0x37, "RUNDLL32.EXE" } }, false },
        { 0xFFF00005, 0x38, { { 0x38, "IEXPLORE.EXE" } }, true },
    });
}

// NT and Wine: process entries carry 0, every module 1, executable first.
FakeSnapshot WineSnapshot()
{
    return FakeSnapshot({
        { 0x20, 0, { { 1, "explorer.exe" }, { 1, "ntdll.dll" } }, false },
        { 0x24, 0, { { 1, "CDPLAYER.EXE" }, { 1, "ntdll.dll" }, { 1, "KERNEL32.dll" } }, false },
        { 0x28, 0, { { 1, "wmplayer.exe" }, { 1, "ntdll.dll" } }, false },
        { 0x2C, 0, { { 1, "ntdll.dll" }, { 1, "MPLAYER2.EXE" } }, false },
        { 0x30, 0, { { 1, "IEXPLORE.EXE" } }, true },
    });
}

struct LookupCase {
    const char* shape;
    FakeSnapshot (*snapshot)();
    const char* moduleName;
    DWORD expected;
};

TEST(ProcessLookupRules, PlayersAreFoundByTheirExecutableInBothSnapshotShapes)
{
    const LookupCase cases[] = {
        // The executable module is matched by identifier, wherever it is.
        { "98", Windows98Snapshot, "CDPLAYER.EXE", 0xFFF00002 },
        { "98", Windows98Snapshot, "EXPLORER.EXE", 0xFFF00001 },
        // Names are compared with case: a lower-case module is no player.
        { "98", Windows98Snapshot, "WMPLAYER.EXE", 0 },
        // A DLL that merely has the player's name is not the executable.
        { "98", Windows98Snapshot, "MPLAYER2.EXE", 0 },
        { "98", Windows98Snapshot, "KERNEL32.DLL", 0 },
        // A process whose module snapshot cannot be taken is skipped.
        { "98", Windows98Snapshot, "IEXPLORE.EXE", 0 },
        // Wine: the first module of the process is its executable.
        { "wine", WineSnapshot, "CDPLAYER.EXE", 0x24 },
        { "wine", WineSnapshot, "WMPLAYER.EXE", 0 },
        { "wine", WineSnapshot, "MPLAYER2.EXE", 0 },
        { "wine", WineSnapshot, "ntdll.dll", 0x2C },
        { "wine", WineSnapshot, "IEXPLORE.EXE", 0 },
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(c.expected, c.snapshot().FindProcess(c.moduleName)) << c.shape << " " << c.moduleName;
}

TEST(ProcessLookupRules, OfTwoCopiesTheLaterInTheSnapshotIsFound)
{
    FakeSnapshot windows98({
        { 0x100, 0x41, { { 0x41, "WMPLAYER.EXE" } }, false },
        { 0x200, 0x51, { { 0x51, "CALC.EXE" } }, false },
        { 0x300, 0x42, { { 0x11, "KERNEL32.DLL" }, { 0x42, "WMPLAYER.EXE" } }, false },
    });
    EXPECT_EQ(0x300u, windows98.FindProcess("WMPLAYER.EXE"));
    FakeSnapshot wine({
        { 0x300, 0, { { 1, "WMPLAYER.EXE" } }, false },
        { 0x100, 0, { { 1, "WMPLAYER.EXE" } }, false },
        { 0x200, 0, { { 1, "CALC.EXE" } }, false },
    });
    EXPECT_EQ(0x100u, wine.FindProcess("WMPLAYER.EXE"));
}

TEST(ProcessLookupRules, TheNamingModuleIsCopiedWhole)
{
    MODULEENTRY32 found = {};
    ASSERT_TRUE(Windows98Snapshot().FindModule(0xFFF00002, 0x35, &found));
    EXPECT_STREQ("CDPLAYER.EXE", found.szModule);
    EXPECT_EQ(0x35u, found.th32ModuleID);
    EXPECT_EQ(0xFFF00002u, found.th32ProcessID);
    EXPECT_EQ(sizeof(MODULEENTRY32), found.dwSize);
    // A module identifier that the process does not have: not found, even
    // though the process has modules.
    EXPECT_FALSE(Windows98Snapshot().FindModule(0xFFF00002, 0x99, &found));
    // An empty module snapshot: not found, also in the Wine shape.
    EXPECT_FALSE(FakeSnapshot({ { 0x40, 0, {}, false } }).FindModule(0x40, 0, &found));
}

}  // namespace
