#include "AgentE2E.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace AgentE2E {

namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    return std::wstring(szTemp) + name;
}

// A state file and a trace file of this test program's own, named in the
// environment that the agents it starts inherit. The tests take the e2e lock,
// so one fixed name each is enough.
class CFilesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(Sim::UseStateFile(TempFile(L"KestrelAgentE2E.state")));
        ASSERT_TRUE(::SetEnvironmentVariableW(L"KESTREL_AGENT_TRACE", TracePath().c_str()));
    }
    static std::wstring TracePath() { return TempFile(L"KestrelAgentE2E.trace"); }
};

::testing::Environment* const g_pFiles = ::testing::AddGlobalTestEnvironment(new CFilesEnvironment);

std::string LetterText(int64_t value) {
    if (value >= 0x20 && value < 0x7F) return std::string(1, static_cast<char>(value));
    return std::to_string(value);
}

}  // namespace

void ResetAll() {
    ASSERT_TRUE(Sim::Reset());
    ::DeleteFileW(CFilesEnvironment::TracePath().c_str());
}

bool StartAgent(Sim::CProcess& agent, const std::wstring& arguments) {
    // Start exactly the arguments given: CProcess adds one blank before them.
    return agent.Start(L"KestrelServ.exe", arguments);
}

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindAgentWindowProc(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char szTitle[32] = {};
    char szClass[32] = {};
    ::GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (pid == search->processId && std::string(szTitle) == "KestrelServ" && std::string(szClass) == "#32770") {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindAgentWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    ::EnumWindows(FindAgentWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForAgentWindow(const Sim::CProcess& agent, DWORD timeoutMs) {
    // The window exists before its initialisation has run; the engine's
    // opening comes after the icons and before the watcher's first work.
    HWND hWnd = nullptr;
    Sim::WaitUntil(
        [&] {
            if (!agent.IsRunning()) return true;
            hWnd = FindAgentWindowOf(agent.Id());
            return hWnd != nullptr && !CallsOf(agent.Id()).empty();
        },
        timeoutMs);
    return hWnd != nullptr && !CallsOf(agent.Id()).empty() ? hWnd : nullptr;
}

DWORD WaitForExitTick(Sim::CProcess& agent, DWORD timeoutMs) {
    if (!Sim::WaitUntil([&] { return !agent.IsRunning(); }, timeoutMs, 10)) return 0;
    return ::GetTickCount();
}

std::vector<std::string> TraceOf(DWORD processId) {
    std::ifstream file(CFilesEnvironment::TracePath().c_str());
    std::vector<std::string> lines;
    const std::string prefix = std::to_string(processId) + " ";
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
}

bool TraceHas(const std::vector<std::string>& trace, const std::string& start) {
    return std::any_of(trace.begin(), trace.end(),
                       [&](const std::string& line) { return line.compare(0, start.size(), start) == 0; });
}

std::vector<Sim::Call> CallsOf(DWORD processId, uint32_t afterSequence) {
    std::vector<Sim::Call> calls;
    for (Sim::Call& call : Sim::ReadCalls()) {
        if (call.processId == processId && call.sequence > afterSequence) calls.push_back(std::move(call));
    }
    return calls;
}

bool IsCall(const Sim::Call& call, Sim::Library library, int32_t entry) { return call.Is(library, entry); }

std::string Brief(const Sim::Call& call) {
    const int64_t arg = call.args.empty() ? 0 : call.args[0];
    const std::string list = call.list ? "\"" + *call.list + "\"" + (call.listTerminated ? "" : " unterminated") : "";
    if (call.library == Sim::Library::Kestrel32) {
        switch (call.entry) {
        case 4:
            return "K32 4 " + std::to_string(arg) + " -> " + (call.result != 0 ? LetterText(call.result) : "0");
        case 5: return "K32 5 " + list + " -> " + std::to_string(call.result);
        case 6: return "K32 6 -> " + list;
        default: return "K32 " + std::to_string(call.entry);
        }
    }
    if (call.library == Sim::Library::KestrelSDK) {
        return "SDK " + std::to_string(call.entry) + " " + LetterText(arg) + " -> " + std::to_string(call.result);
    }
    return Sim::Describe(call);
}

std::vector<std::string> Brief(const std::vector<Sim::Call>& calls) {
    std::vector<std::string> lines;
    for (const Sim::Call& call : calls) lines.push_back(Brief(call));
    return lines;
}

std::vector<Sim::ReceivedMessage> Received(const char* name, uint32_t afterSequence) {
    std::vector<Sim::ReceivedMessage> messages;
    for (Sim::ReceivedMessage& message : Sim::ReadMessages()) {
        if (message.name == name && message.sequence > afterSequence) messages.push_back(std::move(message));
    }
    return messages;
}

uint32_t LastSequence() {
    uint32_t last = 0;
    for (const Sim::Call& call : Sim::ReadCalls()) last = std::max(last, call.sequence);
    for (const Sim::ReceivedMessage& message : Sim::ReadMessages()) last = std::max(last, message.sequence);
    return last;
}

void WaitUntilTick(DWORD tick) {
    Sim::WaitUntil([&] { return static_cast<LONG>(::GetTickCount() - tick) >= 0; }, 60000, 10);
}

}  // namespace AgentE2E
