#include "sim/MainWindow.h"

#include <cstring>
#include <future>
#include <vector>

#include "sim/Sim.h"
#include "state/SharedState.h"

namespace Sim {

namespace {

bool IsRegisteredMessage(UINT message)
{
    return message >= 0xC000 && message <= 0xFFFF;
}

void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const CMainWindow::Options* options)
{
    Standin::MessageRecord record{};
    record.message = message;
    record.wParam = static_cast<int64_t>(wParam);
    record.lParam = static_cast<int64_t>(lParam);
    record.window = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(hwnd));
    // Registered message names live in the same atom table as clipboard
    // formats; ours are ASCII.
    GetClipboardFormatNameA(message, record.name, Standin::kNameBytes);
    {
        Standin::CSharedState& state = Standin::CSharedState::Current();
        Standin::CSharedState::CLock lock(state);
        state.AppendMessage(lock, record);
    }
    if (options && options->onMessage) {
        ReceivedMessage received;
        received.sequence = record.sequence;
        received.processId = GetCurrentProcessId();
        received.tick = record.tick ? record.tick : GetTickCount();
        received.message = message;
        received.name.assign(record.name, strnlen(record.name, Standin::kNameBytes));
        received.wParam = record.wParam;
        received.lParam = record.lParam;
        received.window = hwnd;
        options->onMessage(received);
    }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    default:
        break;
    }
    if (IsRegisteredMessage(message)) {
        Record(hwnd, message, wParam, lParam,
               reinterpret_cast<const CMainWindow::Options*>(GetWindowLongPtrW(hwnd, DWLP_USER)));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    if (IsRegisteredMessage(message)) {
        Record(hwnd, message, wParam, lParam,
               reinterpret_cast<const CMainWindow::Options*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
        return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A captioned top-level dialog with no controls. DLGTEMPLATE, then the menu,
// class and title arrays; the words after a DWORD-aligned start.
std::vector<WORD> DialogTemplate(const std::wstring& title)
{
    DLGTEMPLATE head{};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER;
    head.cx = 200;
    head.cy = 80;
    std::vector<WORD> words(sizeof head / sizeof(WORD));
    std::memcpy(words.data(), &head, sizeof head);
    words.push_back(0);  // no menu
    words.push_back(0);  // the predefined dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

HWND CreateRecordingWindow(const CMainWindow::Options& options)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (options.className.empty()) {
        std::vector<WORD> words = DialogTemplate(options.title);
        return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                          DialogProc, reinterpret_cast<LPARAM>(&options));
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = options.className.c_str();
    // A second window of the same class in this process reuses the class.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return CreateWindowExW(0, options.className.c_str(), options.title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 320, 160, nullptr, nullptr, instance, const_cast<CMainWindow::Options*>(&options));
}

}  // namespace

CMainWindow::~CMainWindow()
{
    Destroy();
}

bool CMainWindow::Start(Options options)
{
    Destroy();
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    m_thread = std::thread([options = std::move(options), created = std::move(created)]() mutable {
        HWND hwnd = CreateRecordingWindow(options);
        created.set_value(hwnd);
        if (!hwnd)
            return;
        if (options.visible)
            ShowWindow(hwnd, SW_SHOW);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // A WM_QUIT posted from outside ends the loop with the window still
        // there; it must go before the options it points to.
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    });
    m_hWnd = window.get();
    if (!m_hWnd) {
        m_thread.join();
        return false;
    }
    return true;
}

bool CMainWindow::Exists() const
{
    return m_hWnd && IsWindow(m_hWnd);
}

bool CMainWindow::IsVisible() const
{
    return Exists() && IsWindowVisible(m_hWnd);
}

bool CMainWindow::IsForeground() const
{
    return Exists() && GetForegroundWindow() == m_hWnd;
}

bool CMainWindow::WaitUntilClosed(DWORD timeoutMs)
{
    return WaitUntil([this] { return !Exists(); }, timeoutMs);
}

void CMainWindow::Destroy()
{
    if (m_thread.joinable()) {
        if (Exists())
            PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    m_hWnd = nullptr;
}

}  // namespace Sim
