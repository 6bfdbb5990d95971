#include "Wnd.h"

#include <mutex>
#include <unordered_map>

namespace {

// HWND -> object. Windows belong to threads, but the fade and progress
// workers of the animation program look windows up too, so the map is locked.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*> g_map;

// The object whose window this thread is creating, bound by the CBT hook on
// the first creation notification (before WM_NCCREATE reaches the window).
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHook = nullptr;

}  // namespace

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageMap map(nullptr, {});
    return &map;
}

CWnd::~CWnd() {
    // A window that outlives its object keeps working with its previous
    // procedure; it must never call into a destroyed object.
    if (m_hWnd != nullptr) {
        if (m_pfnSuper != nullptr) UnsubclassWindow();
        else Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = g_map.find(hWnd);
    return it == g_map.end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr) return FALSE;
    std::lock_guard<std::mutex> lock(g_mapLock);
    if (!g_map.emplace(hWnd, this).second) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        std::lock_guard<std::mutex> lock(g_mapLock);
        auto it = g_map.find(hWnd);
        if (it != g_map.end() && it->second == this) g_map.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    if (pfnOld == nullptr) {
        Detach();
        return FALSE;
    }
    if (pfnOld != &CWnd::AfxWndProc) m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const MessageEntry* entry = GetMessageMap()->Find(message, wParam)) {
        return entry->call(*this, wParam, lParam);
    }
    // Owner draw goes back to the control named by hwndItem: the parent
    // forwards what the platform sends it, and a control that sends
    // WM_DRAWITEM about itself reaches its own DrawItem the same way.
    if (message == WM_DRAWITEM && wParam != 0) {
        auto* pDis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (pDis != nullptr && pDis->CtlType != ODT_MENU) {
            CWnd* pControl = FromHandlePermanent(pDis->hwndItem);
            if (pControl != nullptr && pControl->OnDrawItemReflect(pDis)) return TRUE;
        }
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    try {
        result = WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may cross a window procedure: the platform's frames
        // between here and the message loop cannot unwind.
        result = 0;
    }
    m_current = saved;
    return result;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr) return ::DefWindowProc(hWnd, message, wParam, lParam);
    LRESULT result = pWnd->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        pWnd->UnsubclassWindow();
        pWnd->PostNcDestroy();
    }
    return result;
}

void CWnd::HookWindowCreate(CWnd* pWnd) {
    t_pWndInit = pWnd;
    if (t_hHook == nullptr) {
        t_hHook = ::SetWindowsHookEx(WH_CBT, &CWnd::CbtHookProc, nullptr, ::GetCurrentThreadId());
    }
}

bool CWnd::UnhookWindowCreate() {
    if (t_hHook != nullptr) {
        ::UnhookWindowsHookEx(t_hHook);
        t_hHook = nullptr;
    }
    const bool bound = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    return bound;
}

LRESULT CALLBACK CWnd::CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    HHOOK hHook = t_hHook;
    if (nCode == HCBT_CREATEWND && t_pWndInit != nullptr) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
        UnhookWindowCreate();
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void CWnd::ScreenToClient(RECT* pRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(pRect), 2);
}

void CWnd::CenterWindow() {
    RECT rcWnd, rcDesktop;
    ::GetWindowRect(m_hWnd, &rcWnd);
    ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);
    const int width = rcWnd.right - rcWnd.left;
    const int height = rcWnd.bottom - rcWnd.top;
    const int x = rcDesktop.left + (rcDesktop.right - rcDesktop.left - width) / 2;
    const int y = rcDesktop.top + (rcDesktop.bottom - rcDesktop.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ModifyStyleImpl(int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD dwOld = static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, nIndex));
    const DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    ::SetLastError(0);
    if (::SetWindowLongPtr(m_hWnd, nIndex, static_cast<LONG_PTR>(dwNew)) == 0 && ::GetLastError() != 0) {
        return FALSE;
    }
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}
