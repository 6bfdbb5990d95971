// What the product's other processes send to the two programs: progress to
// the animation program, requests to the agent.
#include "KestrelNames.h"
#include "sim/Sim.h"
#include "state/SharedState.h"

namespace Sim {

namespace {

std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    if (!hwnd || !SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

UINT AgentMessage(AgentRequest request)
{
    switch (request) {
    case AgentRequest::SaveSetup: return MessageId(Kestrel::kMsgSaveSetupW);
    case AgentRequest::Shutdown: return MessageId(Kestrel::kMsgShutdownW);
    case AgentRequest::DeviceChange: return WM_DEVICECHANGE;
    case AgentRequest::Close: return WM_CLOSE;
    case AgentRequest::Quit: return WM_QUIT;
    }
    return 0;
}

}  // namespace

UINT MessageId(const wchar_t* name)
{
    return RegisterWindowMessageW(name);
}

bool SignalProgress(Job job, int32_t percent, bool failed, bool* existed)
{
    {
        Standin::CSharedState& state = Standin::CSharedState::Current();
        Standin::CSharedState::CLock lock(state);
        if (!lock.Held())
            return false;
        state.Block().engine.percent = percent;
        state.Block().engine.failed = failed ? 1 : 0;
    }
    const wchar_t* name = job == Job::Backup ? Kestrel::kEventProgressBackupW : Kestrel::kEventProgressRestoreW;
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (existed)
        *existed = event != nullptr;
    if (event) {
        BOOL signalled = SetEvent(event);
        CloseHandle(event);
        return signalled;
    }
    // Nobody has the event yet: make it the way the animation program would,
    // and hold it for the rest of this process, so that a program starting
    // later opens it already signalled.
    event = CreateEventW(nullptr, FALSE, FALSE, name);
    return event && SetEvent(event);
}

HWND FindProgressWindow(std::optional<Job> job)
{
    if (!job || *job == Job::Backup) {
        if (HWND hwnd = FindWindowW(Kestrel::kDialogClassW, Kestrel::kBackupWindowTitleW))
            return hwnd;
    }
    if (!job || *job == Job::Restore) {
        if (HWND hwnd = FindWindowW(Kestrel::kDialogClassW, Kestrel::kRestoreWindowTitleW))
            return hwnd;
    }
    return nullptr;
}

bool PostProgress(int32_t percent, bool failed, std::optional<Job> job)
{
    HWND hwnd = FindProgressWindow(job);
    return hwnd && PostMessageW(hwnd, MessageId(Kestrel::kMsgProgressW), failed ? 1 : 0, percent);
}

std::optional<LRESULT> SendProgress(int32_t percent, bool failed, std::optional<Job> job, DWORD timeoutMs)
{
    return Send(FindProgressWindow(job), MessageId(Kestrel::kMsgProgressW), failed ? 1 : 0, percent, timeoutMs);
}

HWND FindAgentWindow()
{
    return FindWindowW(nullptr, Kestrel::kAgentWindowTitleW);
}

bool PostToAgent(AgentRequest request, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = FindAgentWindow();
    return hwnd && PostMessageW(hwnd, AgentMessage(request), wParam, lParam);
}

std::optional<LRESULT> SendToAgent(AgentRequest request, WPARAM wParam, LPARAM lParam, DWORD timeoutMs)
{
    if (request == AgentRequest::Quit)
        return std::nullopt;
    return Send(FindAgentWindow(), AgentMessage(request), wParam, lParam, timeoutMs);
}

}  // namespace Sim
