// QuillonAnimations from process start to process end, as the product's other
// processes see it: which dialog comes up for which command line, the
// already-running notice, the hand-back to the main window, the mutex, and the
// strings library and GDI+ being opened and shut down on every path.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/Sim.h"

namespace {

using Sim::Call;
using Sim::Job;
using Standin::Library;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr wchar_t kProgram[] = L"QuillonAnimations.exe";

// The stand-in calls that one process made, in order.
std::vector<Call> CallsOf(DWORD processId) {
    std::vector<Call> calls = Sim::ReadCalls();
    calls.erase(std::remove_if(calls.begin(), calls.end(), [&](const Call& c) { return c.processId != processId; }),
                calls.end());
    return calls;
}

std::vector<int32_t> GlossaEntriesOf(DWORD processId) {
    std::vector<int32_t> entries;
    for (const Call& c : CallsOf(processId)) {
        if (c.library == Library::Glossa) entries.push_back(c.entry);
    }
    return entries;
}

// The progress dialog of a given process, if it shows one.
HWND ProgressWindowOf(DWORD processId, Job job) {
    HWND hWnd = Sim::FindProgressWindow(job);
    DWORD owner = 0;
    if (hWnd != nullptr) ::GetWindowThreadProcessId(hWnd, &owner);
    return owner == processId ? hWnd : nullptr;
}

HWND WaitForProgressWindow(const Sim::CProcess& process, Job job) {
    HWND hWnd = nullptr;
    Sim::WaitUntil([&] { return (hWnd = ProgressWindowOf(process.Id(), job)) != nullptr; }, kStartTimeoutMs);
    return hWnd;
}

std::optional<Sim::MessageBoxInfo> WaitForMessageBox(const Sim::CProcess& process) {
    std::optional<Sim::MessageBoxInfo> box;
    Sim::WaitUntil([&] { return (box = Sim::FindMessageBox(process.Id())).has_value(); }, kStartTimeoutMs);
    return box;
}

// Ends the dialog the way the Esc key does.
void CancelDialog(HWND hDialog) {
    ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

bool MutexExists() {
    HANDLE h = ::OpenMutexW(SYNCHRONIZE, FALSE, L"Quillon_Animation");
    if (h == nullptr) return false;
    ::CloseHandle(h);
    return true;
}

// The texts the strings library gives this process (the same library and
// language as the program's).
struct Texts {
    std::wstring caption, alreadyRunning;
};
Texts GlossaTexts() {
    HMODULE hGlossa = ::LoadLibraryW((Sim::BinFolder() + L"\\Glossa.dll").c_str());
    EXPECT_NE(hGlossa, nullptr);
    // Through void* so the compiler accepts the change of function type.
    auto languageType = reinterpret_cast<int(__stdcall*)()>(
        reinterpret_cast<void*>(::GetProcAddress(hGlossa, "LanguageType")));
    auto init = reinterpret_cast<int(__stdcall*)(int, int, const wchar_t***)>(
        reinterpret_cast<void*>(::GetProcAddress(hGlossa, "InitAPStringW")));
    const wchar_t** table = nullptr;
    init(2, languageType(), &table);
    return {table[1], table[3]};
}

// Lines that Wine's relay trace wrote for one process's GDI+ start-up and
// shut-down ("Call gdiplus.GdiplusStartup(" ...), in order.
std::vector<std::string> GdiplusCallsOf(DWORD processId) {
    const char* unixPath = std::getenv("KESTREL_CHILD_STDERR");
    if (unixPath == nullptr) return {"(no KESTREL_CHILD_STDERR)"};
    // Wine maps the Unix root to drive Z:.
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::ifstream log(path);
    char prefix[16];
    snprintf(prefix, sizeof prefix, "%04lx:", static_cast<unsigned long>(processId));
    std::vector<std::string> calls;
    std::string line;
    while (std::getline(log, line)) {
        if (line.rfind(prefix, 0) != 0) continue;
        for (const char* name : {"GdiplusStartup", "GdiplusShutdown"}) {
            if (line.find(std::string("Call gdiplus.") + name + "(") != std::string::npos) calls.push_back(name);
        }
    }
    return calls;
}

class AnimationStartup : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        ASSERT_TRUE(Sim::UseStateFile(std::wstring(temp) + L"kestrel-e2e-animation.state"));
        // Relay only what the GDI+ checks read; the trace itself is switched on
        // per program, through WINEDEBUG in the environment it inherits.
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr);
        const wchar_t include[] = L"gdiplus.GdiplusStartup;gdiplus.GdiplusShutdown";
        ::RegSetValueExW(hKey, L"RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(include), sizeof include);
        ::RegCloseKey(hKey);
        ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,+pid,+relay");
    }
    static void TearDownTestSuite() { ::SetEnvironmentVariableW(L"WINEDEBUG", nullptr); }

    void SetUp() override { ASSERT_TRUE(Sim::Reset()); }
};

TEST_F(AnimationStartup, WithoutAJobWordTheProgramEndsSilently) {
    const wchar_t* commandLines[] = {L"", L"Copy", L"Backupx", L"Back", L"\"\"", L"Shutdown Backup", L"-Backup"};
    Sim::CMainWindow mainWindow;
    ASSERT_TRUE(mainWindow.Start());
    for (const wchar_t* arguments : commandLines) {
        SCOPED_TRACE(::testing::Message() << "arguments: " << std::string(arguments, arguments + wcslen(arguments)));
        Sim::CProcess program;
        ASSERT_TRUE(program.Start(kProgram, arguments));
        // A dialog or a notice would hold the process; it ends on its own.
        ASSERT_TRUE(program.WaitForExit(kExitTimeoutMs));
        // The strings library is released although it was never opened, and
        // GDI+ was neither started nor shut down.
        EXPECT_EQ(GlossaEntriesOf(program.Id()), std::vector<int32_t>{Standin::kTerminateAPStringW});
        EXPECT_EQ(GdiplusCallsOf(program.Id()), std::vector<std::string>{});
        EXPECT_FALSE(mainWindow.IsVisible());
    }
}

TEST_F(AnimationStartup, AJobWordInAnyCaseRunsItsDialog) {
    struct Case {
        const wchar_t* arguments;
        Job job;
    };
    const Case cases[] = {
        {L"Backup", Job::Backup},
        {L"backup", Job::Backup},
        {L"BACKUP more words here", Job::Backup},
        {L"bAcKuP Shutdown", Job::Backup},
        {L"restore", Job::Restore},
        {L"RESTORE x Remove", Job::Restore},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "arguments: " << std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        ASSERT_TRUE(Sim::Reset());
        Sim::CProcess program;
        ASSERT_TRUE(program.Start(kProgram, c.arguments));
        HWND hDialog = WaitForProgressWindow(program, c.job);
        ASSERT_NE(hDialog, nullptr);
        EXPECT_EQ(ProgressWindowOf(program.Id(), c.job == Job::Backup ? Job::Restore : Job::Backup), nullptr);
        EXPECT_TRUE(MutexExists());

        CancelDialog(hDialog);
        ASSERT_TRUE(program.WaitForExit(kExitTimeoutMs));
        EXPECT_FALSE(MutexExists());

        // LanguageType, then InitAPStringW(2, language, &table); at the end
        // TerminateAPStringW(&table) with the same address.
        const std::vector<Call> calls = CallsOf(program.Id());
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_TRUE(calls[0].Is(Library::Glossa, Standin::kLanguageType));
        ASSERT_TRUE(calls[1].Is(Library::Glossa, Standin::kInitAPStringW));
        ASSERT_EQ(calls[1].args.size(), 3u);
        EXPECT_EQ(calls[1].args[0], 2);
        EXPECT_EQ(calls[1].args[1], calls[0].result);
        EXPECT_NE(calls[1].args[2], 0);
        ASSERT_TRUE(calls[2].Is(Library::Glossa, Standin::kTerminateAPStringW));
        ASSERT_EQ(calls[2].args.size(), 1u);
        EXPECT_EQ(calls[2].args[0], calls[1].args[2]);

        EXPECT_EQ(GdiplusCallsOf(program.Id()), (std::vector<std::string>{"GdiplusStartup", "GdiplusShutdown"}));
    }
}

TEST_F(AnimationStartup, ASecondStartShowsOnlyTheNotice) {
    const Texts texts = GlossaTexts();
    Sim::CProcess first;
    ASSERT_TRUE(first.Start(kProgram, L"Backup"));
    HWND hDialog = WaitForProgressWindow(first, Job::Backup);
    ASSERT_NE(hDialog, nullptr);

    for (const wchar_t* job : {L"Restore", L"backup"}) {
        Sim::CProcess second;
        ASSERT_TRUE(second.Start(kProgram, job));
        std::optional<Sim::MessageBoxInfo> box = WaitForMessageBox(second);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, texts.caption);
        EXPECT_EQ(box->text, texts.alreadyRunning);
        ASSERT_EQ(box->buttons.size(), 1u);
        EXPECT_EQ(box->buttons[0].id, IDOK);
        // No dialog of its own, and the first one goes on undisturbed.
        EXPECT_EQ(ProgressWindowOf(second.Id(), Job::Restore), nullptr);
        EXPECT_EQ(ProgressWindowOf(second.Id(), Job::Backup), nullptr);

        ASSERT_TRUE(Sim::PressButton(*box, IDOK));
        ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs));
        EXPECT_EQ(GlossaEntriesOf(second.Id()), (std::vector<int32_t>{Standin::kLanguageType, Standin::kInitAPStringW,
                                                                      Standin::kTerminateAPStringW}));
        EXPECT_EQ(GdiplusCallsOf(second.Id()), (std::vector<std::string>{"GdiplusStartup", "GdiplusShutdown"}));
        EXPECT_TRUE(first.IsRunning());
        EXPECT_EQ(ProgressWindowOf(first.Id(), Job::Backup), hDialog);
        EXPECT_TRUE(MutexExists());
    }

    CancelDialog(hDialog);
    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs));
    EXPECT_FALSE(MutexExists());
}

TEST_F(AnimationStartup, ANullTextTableGivesAnEmptyNoticeNotACrash) {
    Sim::CProcess first;
    ASSERT_TRUE(first.Start(kProgram, L"Backup"));
    HWND hDialog = WaitForProgressWindow(first, Job::Backup);
    ASSERT_NE(hDialog, nullptr);

    Sim::SetNullTextTable(true);
    Sim::CProcess second;
    ASSERT_TRUE(second.Start(kProgram, L"Backup"));
    std::optional<Sim::MessageBoxInfo> box = WaitForMessageBox(second);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"");
    ASSERT_TRUE(Sim::PressButton(*box, IDOK));
    ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(second.ExitCode(), 0u);

    CancelDialog(hDialog);
    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs));
}

TEST_F(AnimationStartup, WhenTheDialogEndsOnlyTheMainDialogWindowIsBroughtForward) {
    struct Case {
        const char* what;
        std::wstring className;  // empty: a "#32770" dialog
        bool shown;
    };
    const Case cases[] = {
        {"the main program's dialog window", L"", true},
        {"a window titled Kestrel of another class", L"KestrelNotTheMainWindow", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sim::CMainWindow mainWindow;
        Sim::CMainWindow::Options options;
        options.className = c.className;
        options.visible = false;
        ASSERT_TRUE(mainWindow.Start(options));

        Sim::CProcess program;
        ASSERT_TRUE(program.Start(kProgram, L"Backup"));
        HWND hDialog = WaitForProgressWindow(program, Job::Backup);
        ASSERT_NE(hDialog, nullptr);
        EXPECT_FALSE(mainWindow.IsVisible());

        CancelDialog(hDialog);
        ASSERT_TRUE(program.WaitForExit(kExitTimeoutMs));
        EXPECT_EQ(mainWindow.IsVisible(), c.shown);
        if (c.shown) {
            EXPECT_TRUE(mainWindow.IsForeground());
        }
    }
}

}  // namespace
