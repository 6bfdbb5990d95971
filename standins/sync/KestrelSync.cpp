// The simulator's synchronisation program: a window titled "KestrelSync" that
// records its start (with the show command it was started with) and every
// WM_CLOSE it gets in the stand-ins' shared block, and ends on WM_CLOSE. It
// also ends when the process that started it ends, so that a test run does not
// collect sync windows that a later FindWindow would pick up.
#include <windows.h>
#include <tlhelp32.h>

#include "KestrelNames.h"
#include "state/SharedState.h"

namespace {

constexpr wchar_t kWindowClass[] = L"KestrelSyncWindow";

void RecordSync(Standin::SyncKind kind, Standin::SyncRecord record)
{
    record.kind = static_cast<uint32_t>(kind);
    Standin::CSharedState& state = Standin::CSharedState::Current();
    Standin::CSharedState::CLock lock(state);
    state.AppendSync(lock, record);
}

DWORD StarterProcessId()
{
    DWORD starter = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == self) {
            starter = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    return starter;
}

LRESULT CALLBACK SyncWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: {
        Standin::SyncRecord record{};
        record.wParam = static_cast<int64_t>(wParam);
        record.lParam = static_cast<int64_t>(lParam);
        RecordSync(Standin::SyncKind::Close, record);
        DestroyWindow(hwnd);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SyncWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, kWindowClass, Kestrel::kSyncWindowTitleW, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    // The entry's show command is the starter's (SW_HIDE from the animation
    // program), or SW_SHOWDEFAULT when it gave none.
    ShowWindow(hwnd, showCommand);
    // Recorded once the window is up and shown as asked, so that whoever
    // reads the record finds the window in that state.
    Standin::SyncRecord start{};
    start.hasShowCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0;
    start.showCommand = start.hasShowCommand ? startup.wShowWindow : 0;
    RecordSync(Standin::SyncKind::Start, start);

    HANDLE starter = nullptr;
    if (DWORD starterId = StarterProcessId())
        starter = OpenProcess(SYNCHRONIZE, FALSE, starterId);

    for (;;) {
        DWORD handles = starter ? 1 : 0;
        DWORD wait = MsgWaitForMultipleObjects(handles, &starter, FALSE, INFINITE, QS_ALLINPUT);
        if (starter && wait == WAIT_OBJECT_0) {
            RecordSync(Standin::SyncKind::StarterGone, Standin::SyncRecord{});
            break;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (starter)
                    CloseHandle(starter);
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (starter)
        CloseHandle(starter);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return 0;
}
