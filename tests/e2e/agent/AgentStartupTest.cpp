// The agent's start-up, seen from outside: which command lines run it, the
// single instance, the hidden window, the message filter by system version,
// and the loop that only a posted WM_CLOSE ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "AgentE2E.h"
#include "KestrelNames.h"

using namespace AgentE2E;

namespace {

class AgentStartup : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
};

// Ends a running agent the way the product does.
void CloseAgent(Sim::CProcess& agent) {
    HWND hWnd = FindAgentWindowOf(agent.Id());
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(::PostMessageW(hWnd, WM_CLOSE, 0, 0));
    ASSERT_TRUE(agent.WaitForExit(10000));
}

TEST_F(AgentStartup, RunsOnlyOnTheWordExecuteAndOtherwiseEndsBeforeTheMutex) {
    struct Case {
        std::wstring arguments;
        bool bRuns;
    };
    const Case cases[] = {
        {L"execute", true},
        {L"EXECUTE", true},
        {L"Execute", true},
        {L"   execute", true},
        {L"", false},
        {L"execute ", false},
        {L"execute now", false},
        {L"\"execute\"", false},
        {L"executes", false},
        {L"exec", false},
        {L"/execute", false},
    };
    for (const Case& c : cases) {
        const std::string label(c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE("arguments [" + label + "]");
        Sim::CProcess agent;
        ASSERT_TRUE(StartAgent(agent, c.arguments));
        if (c.bRuns) {
            ASSERT_NE(WaitForAgentWindow(agent), nullptr);
            HANDLE hMutex = ::OpenMutexA(SYNCHRONIZE, FALSE, Kestrel::kMutexAgentA);
            EXPECT_NE(hMutex, nullptr) << "the running agent holds its mutex";
            if (hMutex != nullptr) ::CloseHandle(hMutex);
            CloseAgent(agent);
            EXPECT_TRUE(TraceHas(TraceOf(agent.Id()), "mutex created"));
        } else {
            ASSERT_TRUE(agent.WaitForExit(10000));
            const std::vector<std::string> trace = TraceOf(agent.Id());
            EXPECT_EQ(trace, std::vector<std::string>{"command line rejected"}) << "and never reached the mutex";
            EXPECT_TRUE(CallsOf(agent.Id()).empty());
        }
        EXPECT_EQ(agent.ExitCode(), std::optional<DWORD>(0));
    }
}

TEST_F(AgentStartup, TheWindowIsAHiddenToolDialog) {
    Sim::CProcess agent;
    ASSERT_TRUE(StartAgent(agent));
    HWND hWnd = WaitForAgentWindow(agent);
    ASSERT_NE(hWnd, nullptr);

    const LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD), 0);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(::GetParent(hWnd), nullptr);
    EXPECT_NE(::GetDlgItem(hWnd, IDOK), nullptr);
    EXPECT_NE(::GetDlgItem(hWnd, IDCANCEL), nullptr);
    EXPECT_EQ(::SendMessageW(hWnd, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    // The icons cannot be asked for from here: Wine 8 answers WM_GETICON and
    // WM_QUERYDRAGICON sent from another process with 0, without passing them
    // to the window. The resources below show the icon.
    CloseAgent(agent);
}

// The program's resources, read from its file.
class CProgramResources {
public:
    CProgramResources()
        : m_hModule(::LoadLibraryExW((Sim::BinFolder() + L"\\KestrelServ.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~CProgramResources() {
        if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
    }
    CProgramResources(const CProgramResources&) = delete;
    CProgramResources& operator=(const CProgramResources&) = delete;

    HMODULE Module() const { return m_hModule; }
    std::string Bytes(WORD id, WORD type) const {
        HRSRC hResource = ::FindResourceW(m_hModule, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
        if (hResource == nullptr) return {};
        const char* pData = static_cast<const char*>(::LockResource(::LoadResource(m_hModule, hResource)));
        return std::string(pData, ::SizeofResource(m_hModule, hResource));
    }

private:
    HMODULE m_hModule;
};

// A UTF-16 string of a dialog template from *p on, as ASCII; p moves past it.
std::string TemplateString(const WORD*& p) {
    std::string text;
    while (*p != 0) text += static_cast<char>(*p++);
    ++p;
    return text;
}

TEST_F(AgentStartup, TheResourcesCarryTheDialogTheIconAndAManifestWithoutWindows81) {
    CProgramResources resources;
    ASSERT_NE(resources.Module(), nullptr);

    // Dialog 102, an extended template: hidden, captioned, a tool window,
    // 321 by 202 units, "MS Shell Dlg" at 8 points.
    const std::string dialog = resources.Bytes(102, 5);
    ASSERT_GE(dialog.size(), 26u);
    const WORD* p = reinterpret_cast<const WORD*>(dialog.data());
    ASSERT_EQ(p[1], 0xFFFF) << "an extended template";
    DWORD exStyle, style;
    memcpy(&exStyle, p + 4, 4);
    memcpy(&style, p + 6, 4);
    EXPECT_EQ(style & (WS_CAPTION | WS_VISIBLE | DS_SETFONT | DS_FIXEDSYS), static_cast<DWORD>(WS_CAPTION | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(p[8], 3) << "OK, Cancel and a static text";
    EXPECT_EQ(p[11], 321);
    EXPECT_EQ(p[12], 202);
    p += 13;
    EXPECT_EQ(*p, 0) << "no menu";
    ++p;
    EXPECT_EQ(*p, 0) << "the dialog class";
    ++p;
    EXPECT_EQ(TemplateString(p), "KestrelServ");
    EXPECT_EQ(p[0], 8) << "points";
    p += 3;  // point size, weight, italic and character set
    EXPECT_EQ(TemplateString(p), "MS Shell Dlg");

    EXPECT_NE(::LoadImageW(resources.Module(), MAKEINTRESOURCEW(128), IMAGE_ICON, 32, 32, 0), nullptr);
    EXPECT_FALSE(resources.Bytes(1, 16).empty()) << "version information";

    // The version check relies on this: declaring Windows 8.1 or later would
    // make those systems report their own major version to the agent, not 6.
    const std::string manifest = resources.Bytes(1, 24);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
    EXPECT_EQ(manifest.find("{1f676c76-80e1-4239-95bb-83d0f6d0da78}"), std::string::npos) << "Windows 8.1";
    EXPECT_EQ(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
}

// Wine's own per-program setting makes the system report another version to
// the agent alone; it is read when the process starts.
class CReportedVersion {
public:
    explicit CReportedVersion(const char* pszVersion) {
        HKEY hKey = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr) ==
            ERROR_SUCCESS) {
            ::RegSetValueExA(hKey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszVersion),
                             static_cast<DWORD>(strlen(pszVersion) + 1));
            ::RegCloseKey(hKey);
        }
    }
    ~CReportedVersion() { ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    CReportedVersion(const CReportedVersion&) = delete;
    CReportedVersion& operator=(const CReportedVersion&) = delete;

private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\KestrelServ.exe";
};

TEST_F(AgentStartup, OpensTheFilterOnVersion6Only) {
    const UINT nSaveSetup = ::RegisterWindowMessageA(Kestrel::kMsgSaveSetupA);
    const UINT nShutdown = ::RegisterWindowMessageA(Kestrel::kMsgShutdownA);
    struct Case {
        const char* pszVersion;  // Wine's name; null for the session's own (Windows 7)
        const char* pszReported;
        bool bFilter;
    };
    for (const Case c : {Case{nullptr, "version 6.", true}, Case{"winxp", "version 5.", false}}) {
        SCOPED_TRACE(c.pszVersion != nullptr ? c.pszVersion : "session default");
        std::unique_ptr<CReportedVersion> reported;
        if (c.pszVersion != nullptr) reported = std::make_unique<CReportedVersion>(c.pszVersion);
        Sim::CProcess agent;
        ASSERT_TRUE(StartAgent(agent));
        ASSERT_NE(WaitForAgentWindow(agent), nullptr);
        CloseAgent(agent);

        const std::vector<std::string> trace = TraceOf(agent.Id());
        std::string text;
        for (const std::string& line : trace) text += "  " + line + "\n";
        SCOPED_TRACE("trace:\n" + text);
        const auto version = std::find_if(trace.begin(), trace.end(),
                                          [](const std::string& line) { return line.rfind("GetVersionExA", 0) == 0; });
        ASSERT_NE(version, trace.end());
        EXPECT_NE(version->find(c.pszReported), std::string::npos);
        char szClose[64], szSave[64], szShutdown[64];
        snprintf(szClose, sizeof(szClose), "ChangeWindowMessageFilter 0x%04X 1", WM_CLOSE);
        snprintf(szSave, sizeof(szSave), "ChangeWindowMessageFilter 0x%04X 1", nSaveSetup);
        snprintf(szShutdown, sizeof(szShutdown), "ChangeWindowMessageFilter 0x%04X 1", nShutdown);
        EXPECT_EQ(TraceHas(trace, "LoadLibraryA "), c.bFilter);
        EXPECT_EQ(TraceHas(trace, szClose), c.bFilter);
        EXPECT_EQ(TraceHas(trace, szSave), c.bFilter);
        EXPECT_EQ(TraceHas(trace, szShutdown), c.bFilter);
        EXPECT_EQ(TraceHas(trace, "FreeLibrary"), c.bFilter) << "released when the loop has ended";
    }
}

TEST_F(AgentStartup, ASecondInstanceEndsAndOnlyAPostedCloseEndsTheFirst) {
    Sim::CMainWindow mainWindow;
    ASSERT_TRUE(mainWindow.Start());
    ASSERT_TRUE(Sim::SetStoredList("C"));
    Sim::CProcess first;
    ASSERT_TRUE(StartAgent(first));
    HWND hWnd = WaitForAgentWindow(first);
    ASSERT_NE(hWnd, nullptr);

    // The first instance's poll goes on as long as it runs: a poll call after
    // a given point shows that its loop and timers are still working.
    const auto pollsAfter = [&](uint32_t sequence) {
        return Sim::WaitUntil(
            [&] {
                for (const Sim::Call& call : CallsOf(first.Id(), sequence)) {
                    if (IsCall(call, Sim::Library::Kestrel32, 4)) return true;
                }
                return false;
            },
            3000);
    };

    Sim::CProcess second;
    ASSERT_TRUE(StartAgent(second));
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.ExitCode(), std::optional<DWORD>(0));
    EXPECT_EQ(TraceOf(second.Id()), std::vector<std::string>{"mutex exists"});
    EXPECT_TRUE(CallsOf(second.Id()).empty());
    EXPECT_EQ(FindAgentWindowOf(first.Id()), hWnd);
    EXPECT_TRUE(pollsAfter(LastSequence())) << "the first instance keeps its timers";

    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::Quit));
    EXPECT_TRUE(pollsAfter(LastSequence())) << "a posted WM_QUIT is dispatched and the loop goes on";
    EXPECT_TRUE(first.IsRunning());

    EXPECT_TRUE(Sim::SendToAgent(Sim::AgentRequest::Close).has_value());
    EXPECT_TRUE(pollsAfter(LastSequence())) << "a sent WM_CLOSE never enters the queue";
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(TraceHas(TraceOf(first.Id()), "dialog 102 created"));
    EXPECT_FALSE(TraceHas(TraceOf(first.Id()), "loop ended"));

    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::Close));
    EXPECT_TRUE(first.WaitForExit(10000));
    EXPECT_EQ(first.ExitCode(), std::optional<DWORD>(0));
    EXPECT_TRUE(TraceHas(TraceOf(first.Id()), "loop ended"));
}

}  // namespace
