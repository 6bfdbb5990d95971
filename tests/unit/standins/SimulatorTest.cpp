// The simulator's windows, programs, requests and command line.
#include <atomic>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "KestrelNames.h"
#include "StandinTestSupport.h"

namespace {

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TitleOf(HWND hwnd)
{
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    return title;
}

std::vector<Sim::ReceivedMessage> MessagesNamed(const std::string& name)
{
    std::vector<Sim::ReceivedMessage> found;
    for (const Sim::ReceivedMessage& message : Sim::ReadMessages()) {
        if (message.name == name)
            found.push_back(message);
    }
    return found;
}

HWND WindowOfProcess(const wchar_t* title, DWORD processId)
{
    for (HWND hwnd = FindWindowW(nullptr, title); hwnd; hwnd = FindWindowExW(nullptr, hwnd, nullptr, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == processId)
            return hwnd;
    }
    return nullptr;
}

using SimulatorTest = StandinTest;

}  // namespace

TEST_F(SimulatorTest, MainWindowIsAHiddenDialogThatRecordsRegisteredMessages)
{
    std::atomic<int> callbacks{0};
    Sim::CMainWindow::Options options;
    options.onMessage = [&](const Sim::ReceivedMessage&) { ++callbacks; };
    Sim::CMainWindow main;
    ASSERT_TRUE(main.Start(options));
    HWND hwnd = main.Handle();
    EXPECT_EQ(hwnd, FindWindowW(Kestrel::kDialogClassW, Kestrel::kMainWindowTitleW));
    EXPECT_FALSE(main.IsVisible());

    // Sent first, so that the order of the records is fixed.
    EXPECT_EQ(1, SendMessageW(hwnd, Sim::MessageId(Kestrel::kMsgClickFirstButtonW), 0, -7));
    const UINT update = Sim::MessageId(Kestrel::kMsgUpdateDriveListW);
    ASSERT_TRUE(PostMessageW(hwnd, WM_USER + 1, 5, 6));
    ASSERT_TRUE(PostMessageW(hwnd, update, 3, 4));
    ASSERT_TRUE(Sim::WaitUntil([] { return Sim::ReadMessages().size() >= 2; }, 5000));

    std::vector<Sim::ReceivedMessage> messages = Sim::ReadMessages();
    ASSERT_EQ(2u, messages.size()) << "only registered messages are recorded";
    EXPECT_EQ(Kestrel::kMsgClickFirstButtonA, messages[0].name);
    EXPECT_EQ(-7, messages[0].lParam);
    EXPECT_EQ(Kestrel::kMsgUpdateDriveListA, messages[1].name);
    EXPECT_EQ(update, messages[1].message);
    EXPECT_EQ(3, messages[1].wParam);
    EXPECT_EQ(4, messages[1].lParam);
    EXPECT_EQ(hwnd, messages[1].window);
    EXPECT_EQ(GetCurrentProcessId(), messages[1].processId);
    EXPECT_EQ(2, callbacks.load());

    main.Destroy();
    EXPECT_EQ(nullptr, FindWindowW(Kestrel::kDialogClassW, Kestrel::kMainWindowTitleW));
}

TEST_F(SimulatorTest, MainWindowOfAnotherClassCanStartVisibleAndBeClosedFromOutside)
{
    Sim::CMainWindow::Options options;
    options.className = L"KestrelTestMainWindow";
    options.visible = true;
    Sim::CMainWindow main;
    ASSERT_TRUE(main.Start(options));
    EXPECT_EQ(L"KestrelTestMainWindow", ClassOf(main.Handle()));
    EXPECT_EQ(std::wstring(Kestrel::kMainWindowTitleW), TitleOf(main.Handle()));
    EXPECT_TRUE(main.IsVisible());
    EXPECT_EQ(nullptr, FindWindowW(Kestrel::kDialogClassW, Kestrel::kMainWindowTitleW));

    ASSERT_TRUE(PostMessageW(main.Handle(), Sim::MessageId(Kestrel::kMsgDesktopDriveChangeW), 0, 0));
    ASSERT_TRUE(Sim::WaitUntil([] { return !MessagesNamed(Kestrel::kMsgDesktopDriveChangeA).empty(); }, 5000));
    ASSERT_TRUE(PostMessageW(main.Handle(), WM_CLOSE, 0, 0));
    EXPECT_TRUE(main.WaitUntilClosed(5000));
}

TEST_F(SimulatorTest, SyncProgramRecordsHowItWasStartedAndItsClose)
{
    struct Case {
        int showCommand;
        bool visible;
    };
    for (const Case& c : {Case{SW_HIDE, false}, Case{SW_SHOWNORMAL, true}}) {
        SCOPED_TRACE(c.showCommand);
        Sim::ClearSyncEvents();
        Sim::CProcess sync;
        ASSERT_TRUE(sync.Start(Kestrel::kSyncProgramFileW, L"", c.showCommand));
        ASSERT_TRUE(Sim::WaitUntil([] { return !Sim::ReadSyncEvents().empty(); }, 10000));
        HWND hwnd = WindowOfProcess(Kestrel::kSyncWindowTitleW, sync.Id());
        ASSERT_NE(nullptr, hwnd);
        EXPECT_EQ(c.visible, IsWindowVisible(hwnd) != FALSE);

        ASSERT_TRUE(PostMessageW(hwnd, WM_CLOSE, 0, 0));
        ASSERT_TRUE(sync.WaitForExit(10000));
        EXPECT_EQ(0u, sync.ExitCode().value_or(99));

        std::vector<Sim::SyncEvent> events = Sim::ReadSyncEvents();
        ASSERT_EQ(2u, events.size());
        EXPECT_EQ(Sim::SyncEvent::Kind::Start, events[0].kind);
        EXPECT_EQ(sync.Id(), events[0].processId);
        EXPECT_EQ(c.showCommand, events[0].showCommand.value_or(-1));
        EXPECT_EQ(Sim::SyncEvent::Kind::Close, events[1].kind);
        EXPECT_EQ(0, events[1].wParam);
        EXPECT_EQ(0, events[1].lParam);
    }
}

TEST_F(SimulatorTest, ProgressReachesTheEventAndTheProgressDialog)
{
    // As the animation program makes it; the Backup event is nobody's here.
    HANDLE restore = CreateEventW(nullptr, FALSE, FALSE, Kestrel::kEventProgressRestoreW);
    ASSERT_NE(nullptr, restore);
    bool existed = false;
    ASSERT_TRUE(Sim::SignalProgress(Sim::Job::Restore, 37, true, &existed));
    EXPECT_TRUE(existed);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(restore, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(restore, 0)) << "auto-reset";
    EXPECT_EQ(37, Sim::ReadScript().percent);
    EXPECT_TRUE(Sim::ReadScript().failed);
    CloseHandle(restore);

    EXPECT_FALSE(Sim::PostProgress(50)) << "no progress dialog yet";
    Sim::CMainWindow::Options options;
    options.title = Kestrel::kBackupWindowTitleW;
    Sim::CMainWindow backup;
    ASSERT_TRUE(backup.Start(options));
    EXPECT_EQ(nullptr, Sim::FindProgressWindow(Sim::Job::Restore));
    EXPECT_EQ(backup.Handle(), Sim::FindProgressWindow());

    EXPECT_EQ(1, Sim::SendProgress(60).value_or(0));
    ASSERT_TRUE(Sim::PostProgress(100, true));
    ASSERT_TRUE(Sim::PostProgress(-5, false, Sim::Job::Backup));
    ASSERT_TRUE(Sim::WaitUntil([] { return MessagesNamed(Kestrel::kMsgProgressA).size() == 3; }, 5000));
    std::vector<Sim::ReceivedMessage> progress = MessagesNamed(Kestrel::kMsgProgressA);
    struct Expected {
        int64_t wParam, lParam;
    };
    const Expected expected[] = {{0, 60}, {1, 100}, {0, -5}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(expected[i].wParam, progress[i].wParam) << i;
        EXPECT_EQ(expected[i].lParam, progress[i].lParam) << i;
    }
}

namespace {

// Stands in for the agent's window on the test's own thread and keeps what it
// was sent or posted; answers 1 like the agent's handlers.
struct AgentRecorder {
    static std::vector<MSG>& Received()
    {
        static std::vector<MSG> received;
        return received;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_CLOSE || message == WM_DEVICECHANGE || message == WM_QUIT || message >= 0xC000) {
            MSG got{};
            got.hwnd = hwnd;
            got.message = message;
            got.wParam = wParam;
            got.lParam = lParam;
            Received().push_back(got);
            return 1;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    AgentRecorder()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KestrelTestAgent";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, Kestrel::kAgentWindowTitleW, WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, wc.hInstance, nullptr);
        Received().clear();
    }
    ~AgentRecorder() { DestroyWindow(hwnd); }
    HWND hwnd;
};

}  // namespace

TEST_F(SimulatorTest, AgentRequestsReachTheWindowTitledKestrelServ)
{
    EXPECT_FALSE(Sim::PostToAgent(Sim::AgentRequest::Close)) << "no agent window yet";
    EXPECT_FALSE(Sim::SendToAgent(Sim::AgentRequest::Close).has_value());

    AgentRecorder agent;
    ASSERT_NE(nullptr, agent.hwnd);
    ASSERT_EQ(agent.hwnd, Sim::FindAgentWindow());
    const UINT save = Sim::MessageId(Kestrel::kMsgSaveSetupW);
    const UINT shutdown = Sim::MessageId(Kestrel::kMsgShutdownW);
    struct Case {
        bool send;
        Sim::AgentRequest request;
        WPARAM wParam;
        LPARAM lParam;
        UINT message;
    };
    const Case cases[] = {
        {false, Sim::AgentRequest::SaveSetup, 1, 0, save},
        {true, Sim::AgentRequest::SaveSetup, 1, 1, save},
        {false, Sim::AgentRequest::Shutdown, 0, 0, shutdown},
        {true, Sim::AgentRequest::Shutdown, 0, 0, shutdown},
        {false, Sim::AgentRequest::DeviceChange, 7, 0, WM_DEVICECHANGE},
        {true, Sim::AgentRequest::DeviceChange, 7, 0, WM_DEVICECHANGE},
        {false, Sim::AgentRequest::Close, 0, 0, WM_CLOSE},
        {true, Sim::AgentRequest::Close, 0, 0, WM_CLOSE},
        {false, Sim::AgentRequest::Quit, 0, 0, WM_QUIT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << (c.send ? " sent" : " posted"));
        AgentRecorder::Received().clear();
        if (c.send) {
            EXPECT_EQ(1, Sim::SendToAgent(c.request, c.wParam, c.lParam).value_or(0));
        } else {
            ASSERT_TRUE(Sim::PostToAgent(c.request, c.wParam, c.lParam));
            Sim::WaitUntil([] { return !AgentRecorder::Received().empty(); }, 5000);
        }
        ASSERT_EQ(1u, AgentRecorder::Received().size());
        const MSG& got = AgentRecorder::Received()[0];
        EXPECT_EQ(c.message, got.message);
        EXPECT_EQ(c.wParam, got.wParam);
        EXPECT_EQ(c.lParam, got.lParam);
    }
    EXPECT_FALSE(Sim::SendToAgent(Sim::AgentRequest::Quit).has_value()) << "WM_QUIT is only posted";
}

TEST_F(SimulatorTest, MessageBoxOfAProcessIsFoundReadAndAnswered)
{
    // A dialog without the message text must not pass for a message box.
    Sim::CMainWindow main;
    ASSERT_TRUE(main.Start());
    EXPECT_FALSE(Sim::FindMessageBox(GetCurrentProcessId()).has_value());

    std::atomic<int> answer{0};
    std::thread asker([&] { answer = MessageBoxW(nullptr, L"Cancel the job?", L"Kestrel Backup", MB_YESNO); });
    std::optional<Sim::MessageBoxInfo> box;
    Sim::WaitUntil([&] { return (box = Sim::FindMessageBox(GetCurrentProcessId())).has_value(); }, 10000);
    if (!box) {
        PostMessageW(FindWindowW(Kestrel::kDialogClassW, L"Kestrel Backup"), WM_CLOSE, 0, 0);
        asker.join();
        FAIL() << "no message box found";
    }
    EXPECT_EQ(L"Kestrel Backup", box->caption);
    EXPECT_EQ(L"Cancel the job?", box->text);
    std::vector<int> ids;
    for (const Sim::MessageBoxButton& button : box->buttons)
        ids.push_back(button.id);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), ids);
    EXPECT_FALSE(Sim::FindMessageBox(GetCurrentProcessId() + 4).has_value()) << "another process has none";

    ASSERT_TRUE(Sim::PressButton(*box, IDNO));
    asker.join();
    EXPECT_EQ(IDNO, answer.load());
}

TEST_F(SimulatorTest, CommandLineHelpListsEveryCommand)
{
    SimRun run = RunSim(L"--help");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.err.empty()) << run.err;
    for (const char* command :
         {"reset", "show", "set percent", "set failed", "set stored", "set stored-raw", "set offer", "set admit",
          "set reports", "set language", "set null-table", "calls", "messages", "sync", "main", "progress",
          "post-progress", "agent save", "agent shutdown", "agent devicechange", "agent close", "agent quit", "demo"})
        EXPECT_NE(std::string::npos, run.out.find(std::string("  ") + command)) << command;
}

TEST_F(SimulatorTest, CommandLineRejectsBadCommandsInOneLine)
{
    struct Case {
        const wchar_t* arguments;
        DWORD exitCode;
        const char* error;
    };
    const Case cases[] = {
        {L"set percent abc", 2, "kestrel-sim: set percent: expected an integer, got \"abc\"\n"},
        {L"frobnicate", 2, "kestrel-sim: unknown command \"frobnicate\" (kestrel-sim --help lists them)\n"},
        {L"agent save 1", 2, "kestrel-sim: agent save: expected L (1 create, 0 delete)\n"},
        {L"set admit C1 0", 2, "kestrel-sim: set admit: expected drive letters A-Z or all, got \"C1\"\n"},
        {L"calls --verbose", 2, "kestrel-sim: calls: unknown option \"--verbose\"\n"},
        {L"", 2, "kestrel-sim: expected a command (kestrel-sim --help lists them)\n"},
        {L"agent close", 1, "kestrel-sim: agent close: no window titled \"KestrelServ\"\n"},
    };
    for (const Case& c : cases) {
        SimRun run = RunSim(c.arguments);
        EXPECT_EQ(c.exitCode, run.exitCode) << c.error;
        EXPECT_EQ(c.error, run.err);
        EXPECT_EQ("", run.out) << c.error;
    }
}

TEST_F(SimulatorTest, CommandLineScriptsTheSameStateAsTheLibrary)
{
    Sim::SetPercent(5);
    SimRun run = RunSim(L"set percent 42 ; set admit D 0 ; set stored-raw ABCDEFGHIJKLMNOPQRSTUVWXYZ ; "
                        L"set language de ; set null-table on; set offer 3");
    ASSERT_EQ(0u, run.exitCode) << run.err;
    Sim::Script script = Sim::ReadScript();
    EXPECT_EQ(42, script.percent);
    EXPECT_EQ(0, script.admit['D' - 'A']);
    EXPECT_EQ(1, script.admit['C' - 'A']);
    EXPECT_EQ("ABCDEFGHIJKLMNOPQRSTUVWXYZ", script.storedList);
    EXPECT_FALSE(script.storedTerminated);
    EXPECT_EQ(0x0407, script.language);
    EXPECT_TRUE(script.nullTextTable);
    EXPECT_EQ(3, script.offerAnswer.value_or(0));

    // A chain stops at its first bad command.
    run = RunSim(L"set percent 7 ; set percent x ; set percent 9");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(7, Sim::ReadScript().percent);

    run = RunSim(L"reset ; show");
    ASSERT_EQ(0u, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("admit       1 for all")) << run.out;
    EXPECT_EQ(0, Sim::ReadScript().percent);
}
