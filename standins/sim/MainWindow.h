// The product's main window as the two programs see it: a top-level window
// titled "Kestrel" (by default a dialog, class "#32770") that records every
// registered message it receives into the shared block.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "sim/Records.h"

namespace Sim {

class CMainWindow {
public:
    struct Options {
        std::wstring title = L"Kestrel";
        // Empty: a dialog made from an in-memory template ("#32770"). Any
        // other name: a plain window of a class registered under that name.
        std::wstring className;
        bool visible = false;
        // Called on the window's own thread for each registered message, after
        // it has been recorded.
        std::function<void(const ReceivedMessage&)> onMessage;
    };

    CMainWindow() = default;
    ~CMainWindow();
    CMainWindow(const CMainWindow&) = delete;
    CMainWindow& operator=(const CMainWindow&) = delete;

    // Creates the window on a thread of its own, which runs its message loop,
    // and returns once the window exists. A registered message is answered 1.
    bool Start(Options options);
    bool Start() { return Start(Options{}); }

    HWND Handle() const { return m_hWnd; }
    bool Exists() const;
    bool IsVisible() const;
    bool IsForeground() const;

    // True once the window is gone (someone sent or posted it WM_CLOSE).
    bool WaitUntilClosed(DWORD timeoutMs);
    // Closes the window and ends its thread; also done by the destructor.
    void Destroy();

private:
    HWND m_hWnd = nullptr;
    std::thread m_thread;
};

}  // namespace Sim
