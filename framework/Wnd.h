// CWnd: a window object bound to its HWND. Messages reach the object through
// one window procedure that looks them up in the class's message map; what
// the map does not handle goes to the default processing (the window's
// previous procedure when it was subclassed, DefWindowProc otherwise).
#pragma once

#include <windows.h>

#include "MessageMap.h"
#include "RuntimeClass.h"

class CWnd : public CObject {
public:
    static const CRuntimeClass classCWnd;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCWnd; }
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // The object bound to a window, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    operator HWND() const { return m_hWnd; }

    // Subclassing: the window keeps its previous procedure, which receives
    // everything this object leaves to the default processing.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Binds a window without replacing its procedure (used by the framework's
    // own window procedures).
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // The window procedure of this object: the message map, then the default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled.
    LRESULT Default();

    // Owner-draw reflection: a control that draws itself answers TRUE.
    virtual BOOL OnDrawItemReflect(LPDRAWITEMSTRUCT) { return FALSE; }

    // Thin wrappers.
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    BOOL Invalidate(BOOL bErase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, bErase); }
    BOOL InvalidateRect(const RECT* pRect, BOOL bErase = TRUE) { return ::InvalidateRect(m_hWnd, pRect, bErase); }
    BOOL GetClientRect(RECT* pRect) const { return ::GetClientRect(m_hWnd, pRect); }
    BOOL GetWindowRect(RECT* pRect) const { return ::GetWindowRect(m_hWnd, pRect); }
    void ScreenToClient(RECT* pRect) const;
    BOOL SetWindowText(LPCTSTR text) { return ::SetWindowText(m_hWnd, text); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }
    // Changes the style; nFlags, when given, are added to a SetWindowPos that
    // applies the change. FALSE when the style could not be set.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyleImpl(GWL_STYLE, dwRemove, dwAdd, nFlags); }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyleImpl(GWL_EXSTYLE, dwRemove, dwAdd, nFlags); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void CenterWindow();
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    virtual BOOL DestroyWindow();

    HWND m_hWnd = nullptr;

protected:
    // Called after the window has received WM_NCDESTROY and been unbound.
    virtual void PostNcDestroy() {}

    // The framework's one window procedure, and the creation hook that binds
    // a window to the object being created on this thread.
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void HookWindowCreate(CWnd* pWnd);
    static bool UnhookWindowCreate();

    WNDPROC m_pfnSuper = nullptr;

private:
    BOOL ModifyStyleImpl(int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static LRESULT CALLBACK CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};

inline const CRuntimeClass CWnd::classCWnd = {"CWnd", &CObject::classCObject};
