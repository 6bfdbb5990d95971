// One move-only owner per handle type, and a guard that puts back what was
// selected. Declare the DC owner first, then the object owners, then the
// selection guards: destruction then deselects, deletes the object, and
// deletes the DC, in that order.
#pragma once

#include <windows.h>

#include <utility>

// Owner of one handle, freed by Traits::Free unless empty.
template <class Traits>
class CHandleOwner {
public:
    using Handle = typename Traits::Handle;

    CHandleOwner() = default;
    explicit CHandleOwner(Handle h) : m_h(h) {}
    ~CHandleOwner() { Reset(); }

    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;
    CHandleOwner(CHandleOwner&& other) noexcept : m_h(other.Detach()) {}
    CHandleOwner& operator=(CHandleOwner&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Handle Get() const { return m_h; }
    operator Handle() const { return m_h; }
    explicit operator bool() const { return m_h != Traits::Empty(); }

    // Takes ownership; fails on an empty handle, as MFC's Attach does.
    BOOL Attach(Handle h) {
        if (h == Traits::Empty()) return FALSE;
        Reset(h);
        return TRUE;
    }
    Handle Detach() { return std::exchange(m_h, Traits::Empty()); }
    void Reset(Handle h = Traits::Empty()) {
        Handle old = std::exchange(m_h, h);
        if (old != Traits::Empty()) Traits::Free(old);
    }

private:
    Handle m_h = Traits::Empty();
};

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static H Empty() { return nullptr; }
    static void Free(H h) { ::DeleteObject(h); }
};
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct IconTraits {
    using Handle = HICON;
    static HICON Empty() { return nullptr; }
    static void Free(HICON h) { ::DestroyIcon(h); }
};
struct MemoryDCTraits {
    using Handle = HDC;
    static HDC Empty() { return nullptr; }
    static void Free(HDC h) { ::DeleteDC(h); }
};

using CBitmap = CHandleOwner<GdiObjectTraits<HBITMAP>>;
using CFont = CHandleOwner<GdiObjectTraits<HFONT>>;
using CPen = CHandleOwner<GdiObjectTraits<HPEN>>;
using CBrush = CHandleOwner<GdiObjectTraits<HBRUSH>>;
using CHandle = CHandleOwner<KernelHandleTraits>;
using CIcon = CHandleOwner<IconTraits>;

// A memory device context (CreateCompatibleDC / DeleteDC).
class CMemoryDC : public CHandleOwner<MemoryDCTraits> {
public:
    CMemoryDC() = default;
    explicit CMemoryDC(HDC hdcReference) { CreateCompatibleDC(hdcReference); }
    BOOL CreateCompatibleDC(HDC hdcReference) { return Attach(::CreateCompatibleDC(hdcReference)); }
};

// A window's device context (GetDC / ReleaseDC to the same window).
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC() {
        if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    HDC Get() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A paint context (BeginPaint / EndPaint); validates the update region.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
    HDC m_hDC = nullptr;
};

// Selects an object into a DC and selects the previous one back on exit.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ hObject)
        : m_hdc(hdc), m_hOld(hObject != nullptr ? ::SelectObject(hdc, hObject) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR) ::SelectObject(m_hdc, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};
