#include "BmpProgressCtrl.h"

#include <algorithm>

#include "AppPath.h"
#include "MessageWait.h"

namespace {

constexpr COLORREF kTransparentColor = RGB(255, 255, 255);

// A bitmap file of the program's folder, or null.
HBITMAP LoadAppBitmap(LPCWSTR pszName) {
    wchar_t szPath[kAppPathLength];
    if (MakeAppPath(pszName, szPath)[0] == L'\0') return nullptr;
    return static_cast<HBITMAP>(::LoadImageW(nullptr, szPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// The fill for nPos out of nMax on nClientWidth columns: divided first in
// double precision and truncated, so that 29 of 100 on 200 columns is 57.
// Positions outside 0..nMax are held to the bar, and a bar without width
// or range has no fill.
int FillWidth(int nPos, int nMax, int nClientWidth) {
    if (nMax <= 0 || nClientWidth <= 0) return 0;
    // Stored, not kept in a register: the 32-bit build computes on the x87
    // unit, whose wider intermediates could round 57.99… up to 58.
    volatile double dRatio = static_cast<double>(nPos) / static_cast<double>(nMax);
    volatile double dFill = dRatio * static_cast<double>(nClientWidth);
    if (!(dFill > 0.0)) return 0;
    if (dFill >= static_cast<double>(nClientWidth)) return nClientWidth;
    return static_cast<int>(dFill);
}

}  // namespace

CBmpProgressCtrl::CBmpProgressCtrl() : m_hSetBarPosLock(::CreateSemaphoreW(nullptr, 1, 1, nullptr)) {}

CBmpProgressCtrl::~CBmpProgressCtrl() = default;

const MessageMap* CBmpProgressCtrl::GetThisMessageMap() {
    static const MessageMap map(CProgressCtrl::GetThisMessageMap(), {
        Msg::Message(WM_PAINT, &CBmpProgressCtrl::OnPaint),
        Msg::Message(WM_PRINT, &CBmpProgressCtrl::OnPrint),
        Msg::Message(WM_ERASEBKGND, &CBmpProgressCtrl::OnEraseBkgnd),
    });
    return &map;
}

BOOL CBmpProgressCtrl::LoadBitmaps() {
    // A second load starts from nothing: each context goes before its bitmap.
    m_dcRun.Reset();
    m_bmpRun.Reset();
    m_dcNormal.Reset();
    m_bmpNormal.Reset();
    m_nImageWidth = m_nImageHeight = 0;

    m_dcNormal.CreateCompatibleDC(nullptr);
    ::SetBkMode(m_dcNormal, TRANSPARENT);
    if (HBITMAP hNormal = LoadAppBitmap(L"img\\Animation\\bar-nomal.bmp")) {
        if (!m_bmpNormal.Attach(hNormal)) return FALSE;
        BITMAP bm{};
        ::GetObjectW(hNormal, sizeof(bm), &bm);
        m_nImageWidth = bm.bmWidth;
        m_nImageHeight = bm.bmHeight;
        ::SelectObject(m_dcNormal, hNormal);
    }

    ::GetClientRect(m_hWnd, &m_rcClient);
    m_nClientWidth = m_rcClient.right - m_rcClient.left;
    m_nClientHeight = m_rcClient.bottom - m_rcClient.top;

    // Without the empty bar there is no size to take: the control keeps its
    // own, and the fill, which is scaled by the empty bar, is not drawn.
    if (m_bmpNormal) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nImageWidth, m_nImageHeight, SWP_NOMOVE | SWP_NOZORDER);
    }

    m_dcRun.CreateCompatibleDC(nullptr);
    ::SetBkMode(m_dcRun, TRANSPARENT);
    HBITMAP hRun = LoadAppBitmap(L"img\\Animation\\bar-run.bmp");
    if (hRun == nullptr) return TRUE;
    if (!m_bmpRun.Attach(hRun)) return FALSE;
    ::SelectObject(m_dcRun, hRun);
    return TRUE;
}

void CBmpProgressCtrl::SetBarPos(int nPos) {
    // One caller at a time, so that the fill pair and the invalidation
    // rectangle always belong to one call. The waiting thread keeps serving
    // sent messages: the holder's UpdateWindow may need it to paint.
    const bool bLocked = m_hSetBarPosLock && WaitServingSentMessages(m_hSetBarPosLock) == WAIT_OBJECT_0;

    const int nFill = FillWidth(nPos, m_nMax, m_nClientWidth);
    m_nFillWidth = nFill;
    // A window that is gone is not invalidated: a null handle would name
    // the whole desktop.
    const bool bWindow = ::IsWindow(m_hWnd) != FALSE;
    if (nFill == 0) {
        m_rcClient.left = 0;
        m_rcClient.right = m_nPrevFillWidth;
        if (bWindow) {
            ::InvalidateRect(m_hWnd, &m_rcClient, TRUE);
            ::UpdateWindow(m_hWnd);
        }
    } else {
        const int nLow = std::min(m_nPrevFillWidth, nFill);
        const int nHigh = std::max(m_nPrevFillWidth, nFill);
        for (int x = nLow; x < nHigh && bWindow; ++x) {
            m_rcClient.left = x;
            m_rcClient.right = x + 1;
            ::InvalidateRect(m_hWnd, &m_rcClient, TRUE);
            ::UpdateWindow(m_hWnd);
        }
    }
    m_nPrevFillWidth = nFill;

    if (bLocked) ::ReleaseSemaphore(m_hSetBarPosLock, 1, nullptr);
}

void CBmpProgressCtrl::DrawStrips(HDC hdc, bool bTransparent) {
    auto blit = [hdc, bTransparent](int cxDst, int cyDst, HDC hdcSrc, int cxSrc, int cySrc) {
        if (bTransparent) {
            ::TransparentBlt(hdc, 0, 0, cxDst, cyDst, hdcSrc, 0, 0, cxSrc, cySrc, kTransparentColor);
        } else {
            ::StretchBlt(hdc, 0, 0, cxDst, cyDst, hdcSrc, 0, 0, cxSrc, cySrc, SRCCOPY);
        }
    };
    if (m_bmpNormal) blit(m_nClientWidth, m_nClientHeight, m_dcNormal, m_nImageWidth, m_nImageHeight);
    // The filled strip is cut at the fill, not squeezed into it: the part
    // under the fill shows at the scale of the empty bar.
    const int nFill = m_nFillWidth;
    if (m_bmpRun && nFill > 0 && m_nClientWidth > 0) {
        blit(nFill, m_nClientHeight, m_dcRun, nFill * m_nImageWidth / m_nClientWidth, m_nImageHeight);
    }
}

void CBmpProgressCtrl::OnPaint() {
    CPaintDC dc(m_hWnd);
    ::SetBkMode(dc, TRANSPARENT);
    DrawStrips(dc, true);
}

LRESULT CBmpProgressCtrl::OnPrint(WPARAM wParam, LPARAM) {
    // The flags are not read: the bar draws even when hidden or empty.
    DrawStrips(reinterpret_cast<HDC>(wParam), false);
    return 0;
}

LRESULT CBmpProgressCtrl::OnEraseBkgnd(WPARAM, LPARAM) { return Default(); }
