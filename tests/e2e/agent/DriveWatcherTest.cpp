// The drive watcher seen from outside: the calls it makes into the stand-ins,
// the messages the main window receives, and when. The timing checks share
// one agent run each.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <algorithm>
#include <string>

#include "AgentE2E.h"
#include "KestrelNames.h"
#include "WineDrives.h"

using namespace AgentE2E;
using Sim::Library;

namespace {

class DriveWatcher : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
};

bool IsPollCall(const Sim::Call& call) {
    return IsCall(call, Library::Kestrel32, 4) || IsCall(call, Library::KestrelSDK, 3);
}
bool IsTickStart(const Sim::Call& call) {
    return IsCall(call, Library::Kestrel32, 4) && !call.args.empty() && call.args[0] == 0;
}
// The last call of a tick: the engine had no letter at that index.
bool IsTickEnd(const Sim::Call& call) { return IsCall(call, Library::Kestrel32, 4) && call.result == 0; }

std::vector<Sim::Call> Only(const std::vector<Sim::Call>& calls, bool (*keep)(const Sim::Call&)) {
    std::vector<Sim::Call> kept;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(kept), keep);
    return kept;
}
std::vector<Sim::Call> NotPoll(const std::vector<Sim::Call>& calls) {
    return Only(calls, [](const Sim::Call& call) { return !IsPollCall(call); });
}
size_t Count(const std::vector<Sim::Call>& calls, bool (*which)(const Sim::Call&)) {
    return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), which));
}
const Sim::Call* First(const std::vector<Sim::Call>& calls, Library library, int32_t entry) {
    for (const Sim::Call& call : calls) {
        if (IsCall(call, library, entry)) return &call;
    }
    return nullptr;
}

// One tick over the given stored letters, none of them reporting unless
// listed in reporting.
std::vector<std::string> Tick(const std::string& letters, const std::string& reporting) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < letters.size(); ++i) {
        lines.push_back("K32 4 " + std::to_string(i) + " -> " + letters[i]);
        lines.push_back("SDK 3 " + std::string(1, letters[i]) + " -> " +
                        (reporting.find(letters[i]) != std::string::npos ? "1" : "0"));
    }
    if (letters.size() < 26) lines.push_back("K32 4 " + std::to_string(letters.size()) + " -> 0");
    return lines;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(DriveWatcher, OneRunFromStartToTheWatchdog) {
    // Fixed drives C, G and Z; D, E, F and H are of the kinds that are never
    // offered to the device library. Z is refused by it.
    CWineDrives drives;
    ASSERT_TRUE(drives.Define('D', DRIVE_CDROM));
    ASSERT_TRUE(drives.Define('E', DRIVE_REMOVABLE));
    ASSERT_TRUE(drives.Define('F', DRIVE_REMOTE));
    ASSERT_TRUE(drives.Define('G', DRIVE_FIXED));
    ASSERT_TRUE(drives.Define('H', DRIVE_RAMDISK));
    ASSERT_EQ(CWineDrives::Describe(), "C:3 D:5 E:2 F:4 G:3 H:6 Z:3");
    ASSERT_TRUE(Sim::SetAdmit('Z', 0));
    ASSERT_TRUE(Sim::SetReports('C', 1));
    ASSERT_TRUE(Sim::SetReports('G', 1));

    Sim::CMainWindow mainWindow;
    ASSERT_TRUE(mainWindow.Start());
    Sim::CProcess agent;
    ASSERT_TRUE(StartAgent(agent));
    const DWORD pid = agent.Id();

    // Start-up: the engine is opened first and once, the first snapshot
    // offers the admitted fixed drives, and the poll asks about both.
    ASSERT_TRUE(Sim::WaitUntil([&] { return Count(CallsOf(pid), IsTickEnd) >= 3; }, 8000));
    std::vector<Sim::Call> calls = CallsOf(pid);
    const std::vector<std::string> snapshot = {"SDK 2 C -> 1", "SDK 2 G -> 1", "SDK 2 Z -> 0"};
    std::vector<std::string> expected = Concat({"K32 2"}, snapshot);
    expected = Concat(expected, {"K32 6 -> \"\"", "K32 5 \"CG\" -> 1"});
    for (int i = 0; i < 3; ++i) expected = Concat(expected, Tick("CG", "CG"));
    const std::vector<std::string> brief = Brief(calls);
    EXPECT_EQ(std::vector<std::string>(brief.begin(), brief.begin() + std::min(brief.size(), expected.size())),
              expected);
    EXPECT_EQ(Count(calls, [](const Sim::Call& c) { return IsCall(c, Library::Kestrel32, 2); }), 1u);
    EXPECT_EQ(Received(Kestrel::kMsgDesktopDriveChangeA).size(), 1u);
    EXPECT_EQ(Received(Kestrel::kMsgUpdateDriveListA).size(), 1u);

    // Each tick starts about 1000 ms after the previous one (or the snapshot)
    // has ended, and posts one click request per reporting drive.
    const std::vector<Sim::Call> starts = Only(calls, IsTickStart);
    const std::vector<Sim::Call> ends = Only(calls, IsTickEnd);
    ASSERT_GE(starts.size(), 3u);
    const DWORD snapshotEnd = First(calls, Library::Kestrel32, 5)->tick;
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE("tick " + std::to_string(k));
        const DWORD previousEnd = k == 0 ? snapshotEnd : ends[k - 1].tick;
        EXPECT_GE(starts[k].tick - previousEnd, 900u);
        EXPECT_LE(starts[k].tick - previousEnd, 2000u);
        if (k + 1 < starts.size()) {
            const auto clicks = Received(Kestrel::kMsgClickFirstButtonA, starts[k].sequence);
            EXPECT_EQ(std::count_if(clicks.begin(), clicks.end(),
                                    [&](const Sim::ReceivedMessage& m) { return m.sequence < starts[k + 1].sequence; }),
                      2);
        }
    }

    // Five device changes a second apart give one snapshot, about 3 s after
    // the fifth. The engine holds "CG" now: equal lists, no offer, no update.
    uint32_t mark = LastSequence();
    const DWORD burst = ::GetTickCount();
    DWORD fifth = 0;
    for (DWORD i = 0; i < 5; ++i) {
        WaitUntilTick(burst + 1000 * i);
        ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::DeviceChange, DBT_DEVNODES_CHANGED));
        fifth = ::GetTickCount();
    }
    const auto snapshotFollowedByPoll = [&](uint32_t after, int32_t lastEntry) {
        return Sim::WaitUntil(
            [&] {
                const std::vector<Sim::Call> since = CallsOf(pid, after);
                const Sim::Call* last = First(since, Library::Kestrel32, lastEntry);
                return last != nullptr && !CallsOf(pid, last->sequence).empty();
            },
            8000);
    };
    ASSERT_TRUE(snapshotFollowedByPoll(mark, 6));
    calls = CallsOf(pid, mark);
    const DWORD snapshotAt = First(calls, Library::Kestrel32, 6)->tick;
    EXPECT_GE(snapshotAt - fifth, 2700u);
    EXPECT_LE(snapshotAt - fifth, 4500u);
    EXPECT_EQ(Brief(NotPoll(calls)), Concat(snapshot, {"K32 6 -> \"CG\""}));
    EXPECT_EQ(Received(Kestrel::kMsgDesktopDriveChangeA, mark).size(), 1u);
    EXPECT_TRUE(Received(Kestrel::kMsgUpdateDriveListA, mark).empty());

    // The engine keeps "G" and refuses the fresh list: no update, and the
    // poll asks about the engine's letters only, not the fresh list's.
    Sim::SetOfferAnswer(0);
    ASSERT_TRUE(Sim::SetStoredList("G"));
    mark = LastSequence();
    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::DeviceChange, DBT_DEVNODES_CHANGED));
    ASSERT_TRUE(Sim::WaitUntil(
        [&] {
            const std::vector<Sim::Call> since = CallsOf(pid, mark);
            const Sim::Call* offer = First(since, Library::Kestrel32, 5);
            return offer != nullptr && Count(CallsOf(pid, offer->sequence), IsTickEnd) >= 2;
        },
        8000));
    calls = CallsOf(pid, mark);
    EXPECT_EQ(Brief(NotPoll(calls)), Concat(snapshot, {"K32 6 -> \"G\"", "K32 5 \"CG\" -> 0"}));
    const std::vector<std::string> afterOffer = Brief(CallsOf(pid, First(calls, Library::Kestrel32, 5)->sequence));
    EXPECT_EQ(std::vector<std::string>(afterOffer.begin(), afterOffer.begin() + std::min<size_t>(afterOffer.size(), 6)),
              Concat(Tick("G", "CG"), Tick("G", "CG")));
    EXPECT_TRUE(Received(Kestrel::kMsgUpdateDriveListA, mark).empty());

    // An empty stored list stops the poll at its next tick.
    ASSERT_TRUE(Sim::SetStoredList(""));
    mark = LastSequence();
    ASSERT_TRUE(Sim::WaitUntil(
        [&] {
            const std::vector<Sim::Call> since = CallsOf(pid, mark);
            return std::any_of(since.begin(), since.end(), [](const Sim::Call& c) { return IsTickStart(c) && c.result == 0; });
        },
        3000));
    const uint32_t pollStopped = LastSequence();

    // The watchdog ticks every 2000 ms from the engine's opening. The main
    // window is away for one tick, back for the next, away for one more:
    // never two misses in a row, so the agent stays.
    const DWORD opened = First(CallsOf(pid), Library::Kestrel32, 2)->tick;
    DWORD k = (::GetTickCount() - opened) / 2000 + 1;
    if (opened + 2000 * k - ::GetTickCount() < 800) ++k;
    for (DWORD gap = 0; gap < 2; ++gap) {
        const DWORD watchdogTick = opened + 2000 * (k + 2 * gap);
        WaitUntilTick(watchdogTick - 600);
        mainWindow.Destroy();
        WaitUntilTick(watchdogTick + 600);
        ASSERT_TRUE(mainWindow.Start());
    }
    WaitUntilTick(opened + 2000 * (k + 3) + 500);
    EXPECT_TRUE(agent.IsRunning()) << "one miss at a time must not close the agent";

    // Gone for good: the agent closes itself at the second tick without it.
    mainWindow.Destroy();
    const DWORD gone = ::GetTickCount();
    const DWORD ended = WaitForExitTick(agent, 8000);
    ASSERT_NE(ended, 0u);
    EXPECT_GE(ended - gone, 1800u);
    EXPECT_LE(ended - gone, 5500u);
    EXPECT_EQ(agent.ExitCode(), std::optional<DWORD>(0));
    EXPECT_EQ(Count(CallsOf(pid, pollStopped), IsPollCall), 0u) << "the poll stayed off";
}

TEST_F(DriveWatcher, WithoutTheMainWindowEverTheAgentClosesAfterTwoWatchdogTicks) {
    // Nothing is admitted: the engine takes the empty list, and no poll runs.
    for (char letter = 'A'; letter <= 'Z'; ++letter) ASSERT_TRUE(Sim::SetAdmit(letter, 0));
    ASSERT_TRUE(Sim::SetStoredList("C"));
    // Whatever fixed drives the session has are offered, and refused.
    std::vector<std::string> expected = {"K32 2"};
    char szRoots[26 * 4 + 1] = {};
    const DWORD nRoots = ::GetLogicalDriveStringsA(sizeof(szRoots), szRoots);
    for (DWORD i = 0; i + 4 <= nRoots; i += 4) {
        if (::GetDriveTypeA(szRoots + i) == DRIVE_FIXED) expected.push_back("SDK 2 " + std::string(1, szRoots[i]) + " -> 0");
    }
    expected = Concat(expected, {"K32 6 -> \"C\"", "K32 5 \"\" -> 1"});

    Sim::CProcess agent;
    ASSERT_TRUE(StartAgent(agent));
    const DWORD ended = WaitForExitTick(agent, 8000);
    ASSERT_NE(ended, 0u);
    const std::vector<Sim::Call> calls = CallsOf(agent.Id());
    ASSERT_FALSE(calls.empty());
    const DWORD opened = calls.front().tick;
    EXPECT_GE(ended - opened, 3700u);
    EXPECT_LE(ended - opened, 6000u);
    EXPECT_EQ(Brief(calls), expected) << "no poll without an admitted drive";
    EXPECT_TRUE(Sim::ReadMessages().empty());
}

TEST_F(DriveWatcher, AllTwentySixLettersNeverOverrunAList) {
    CWineDrives drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == 'C' || letter == 'Z') continue;
        ASSERT_TRUE(drives.Define(letter, DRIVE_FIXED)) << letter;
    }
    ASSERT_EQ(::GetLogicalDrives(), 0x3FFFFFFu) << CWineDrives::Describe();
    const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string first25 = all.substr(0, 25);

    Sim::CMainWindow mainWindow;
    ASSERT_TRUE(mainWindow.Start());
    Sim::CProcess agent;
    ASSERT_TRUE(StartAgent(agent));
    const DWORD pid = agent.Id();

    // Every fixed drive is offered in root order; the fresh list keeps its
    // terminator and leaves the last admitted drive out.
    ASSERT_TRUE(Sim::WaitUntil([&] { return First(CallsOf(pid), Library::Kestrel32, 5) != nullptr; }, 10000));
    std::vector<std::string> expected = {"K32 2"};
    for (char letter : all) expected.push_back("SDK 2 " + std::string(1, letter) + " -> 1");
    expected = Concat(expected, {"K32 6 -> \"\"", "K32 5 \"" + first25 + "\" -> 1"});
    EXPECT_EQ(Brief(NotPoll(CallsOf(pid))), expected);
    ASSERT_TRUE(Sim::WaitUntil([&] { return Received(Kestrel::kMsgUpdateDriveListA).size() == 1; }, 3000));

    // An engine list of 26 letters without a terminator: a tick asks about
    // indices 0 to 25 and no further.
    ASSERT_TRUE(Sim::SetStoredListRaw(all));
    uint32_t mark = LastSequence();
    ASSERT_TRUE(Sim::WaitUntil([&] { return Count(CallsOf(pid, mark), IsTickStart) >= 2; }, 5000));
    std::vector<std::string> tick = Brief(CallsOf(pid, mark));
    const auto start = std::find(tick.begin(), tick.end(), "K32 4 0 -> A");
    ASSERT_NE(start, tick.end());
    const auto next = std::find(start + 1, tick.end(), "K32 4 0 -> A");
    EXPECT_EQ(std::vector<std::string>(start, next), Tick(all, ""));

    // The next snapshot reads that list as its first 25 letters: equal to the
    // fresh list, so nothing is offered, and the snapshot still posts.
    mark = LastSequence();
    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::DeviceChange, DBT_DEVNODES_CHANGED));
    ASSERT_TRUE(Sim::WaitUntil(
        [&] {
            const std::vector<Sim::Call> since = CallsOf(pid, mark);
            const Sim::Call* stored = First(since, Library::Kestrel32, 6);
            return stored != nullptr && !CallsOf(pid, stored->sequence).empty();
        },
        6000));
    const std::vector<Sim::Call> snapshot = NotPoll(CallsOf(pid, mark));
    ASSERT_FALSE(snapshot.empty());
    EXPECT_EQ(Brief(snapshot.back()), "K32 6 -> \"" + all + "\" unterminated");
    EXPECT_EQ(First(snapshot, Library::Kestrel32, 5), nullptr);
    EXPECT_TRUE(Sim::WaitUntil([&] { return Received(Kestrel::kMsgDesktopDriveChangeA, mark).size() == 1; }, 2000));
    EXPECT_TRUE(Received(Kestrel::kMsgUpdateDriveListA, mark).empty());
    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::Close));
    EXPECT_TRUE(agent.WaitForExit(10000));
}

}  // namespace
