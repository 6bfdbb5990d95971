#include "MyButton.h"

#include <vector>

#include "AppPath.h"

namespace {

constexpr COLORREF kTransparentColor = RGB(255, 255, 255);
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

HBITMAP LoadAppBitmap(LPCWSTR pszName) {
    wchar_t szPath[kAppPathLength];
    if (pszName == nullptr || MakeAppPath(pszName, szPath)[0] == L'\0') return nullptr;
    return static_cast<HBITMAP>(::LoadImageW(nullptr, szPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// Loads one face into its bitmap and context, replacing what they held.
BOOL LoadFace(LPCWSTR pszName, HDC hdcReference, CBitmap& bitmap, CMemoryDC& dc) {
    HBITMAP hBitmap = LoadAppBitmap(pszName);
    if (hBitmap == nullptr) return FALSE;
    dc.Reset();
    if (!bitmap.Attach(hBitmap) || !dc.CreateCompatibleDC(hdcReference)) return FALSE;
    ::SelectObject(dc, hBitmap);
    ::SetBkMode(dc, TRANSPARENT);
    return TRUE;
}

}  // namespace

CMyButton::~CMyButton() = default;

const MessageMap* CMyButton::GetThisMessageMap() {
    static const MessageMap map(CButton::GetThisMessageMap(), {
        Msg::Mouse(WM_MOUSEMOVE, &CMyButton::OnMouseMove),
        Msg::Mouse(WM_LBUTTONDOWN, &CMyButton::OnLButtonDown),
        Msg::Mouse(WM_LBUTTONUP, &CMyButton::OnLButtonUp),
        Msg::EraseBkgnd(&CMyButton::OnEraseBkgnd),
    });
    return &map;
}

BOOL CMyButton::InitButton(CWnd* pParent) {
    if ((GetStyle() & BS_OWNERDRAW) != BS_OWNERDRAW) {
        if (!ModifyStyle(0, BS_OWNERDRAW)) return FALSE;
    }
    m_pFont = pParent != nullptr ? pParent->GetFont() : nullptr;
    m_crText = RGB(0, 0, 0);
    return TRUE;
}

BOOL CMyButton::LoadBitmaps(LPCWSTR pszNormal, LPCWSTR pszHover, LPCWSTR pszPress) {
    CClientDC reference(m_hWnd);

    HBITMAP hNormal = LoadAppBitmap(pszNormal);
    if (hNormal == nullptr) return FALSE;
    m_dcNormal.Reset();
    if (!m_bmpNormal.Attach(hNormal) || !m_dcNormal.CreateCompatibleDC(reference)) return FALSE;
    m_bLoaded = TRUE;
    ::SelectObject(m_dcNormal, hNormal);
    ::SetBkMode(m_dcNormal, TRANSPARENT);

    BITMAP bm{};
    ::GetObjectW(hNormal, sizeof(bm), &bm);
    m_nImageWidth = bm.bmWidth;
    m_nImageHeight = bm.bmHeight;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nImageWidth, m_nImageHeight, SWP_NOMOVE | SWP_NOZORDER);

    if (pszHover != nullptr && !LoadFace(pszHover, reference, m_bmpHover, m_dcHover)) return FALSE;
    if (pszPress != nullptr && !LoadFace(pszPress, reference, m_bmpPress, m_dcPress)) return FALSE;
    return TRUE;
}

void CMyButton::DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) {
    if (!m_bLoaded || pDrawItemStruct == nullptr) return;
    // The context is the supplier's: it is left as it comes back from here.
    HDC hdc = pDrawItemStruct->hDC;
    ::SetBkMode(hdc, TRANSPARENT);
    if (m_pFont != nullptr) ::SelectObject(hdc, m_pFont);
    RECT rc{};
    GetClientRect(&rc);

    HDC hdcFace = m_dcNormal;
    COLORREF crText = m_crText;
    if (m_nState == BTN_HOVER) {
        hdcFace = m_dcHover;
        crText = m_crTextHover;
    } else if (m_nState == BTN_PRESSED) {
        hdcFace = m_dcPress;
        crText = m_crTextPress;
    }
    // A missing face draws no image; the caption still shows.
    if (hdcFace != nullptr) {
        ::TransparentBlt(hdc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, hdcFace, 0, 0, m_nImageWidth,
                         m_nImageHeight, kTransparentColor);
    }

    ::SetTextColor(hdc, crText);
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()));
    ::DrawTextW(hdc, text.data(), -1, &rc, kCaptionFormat);
}

void CMyButton::DrawNow(UINT nItemAction, UINT nItemState) {
    CClientDC dc(m_hWnd);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.itemAction = nItemAction;
    dis.itemState = nItemState;
    dis.hwndItem = m_hWnd;
    dis.hDC = dc;
    GetClientRect(&dis.rcItem);
    // Reflected back to this control: DrawItem has run when this returns.
    ::SendMessageW(m_hWnd, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

bool CMyButton::IsInside(POINT point) const {
    RECT rc{};
    GetClientRect(&rc);
    return ::PtInRect(&rc, point) != FALSE;
}

void CMyButton::OnMouseMove(UINT, POINT point) {
    if (IsInside(point)) {
        if (m_nState == BTN_NORMAL) {
            m_nState = BTN_HOVER;
            DrawNow(ODA_SELECT, ODS_FOCUS);
            ::SetCapture(m_hWnd);
        }
    } else if (m_nState == BTN_HOVER) {
        // Seen through the capture taken on entry.
        m_nState = BTN_NORMAL;
        DrawNow(ODA_DRAWENTIRE, ODS_DEFAULT);
        ::ReleaseCapture();
    }
    Default();
}

void CMyButton::OnLButtonDown(UINT, POINT) {
    m_nState = BTN_PRESSED;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    Default();
}

void CMyButton::OnLButtonUp(UINT, POINT point) {
    if (IsInside(point)) {
        if (m_nState == BTN_PRESSED) {
            ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hWnd));
        }
        m_nState = BTN_HOVER;
        ::SetCapture(m_hWnd);
    } else {
        m_nState = BTN_NORMAL;
        DrawNow(ODA_DRAWENTIRE, ODS_DEFAULT);
        ::ReleaseCapture();
    }
    Default();
}

BOOL CMyButton::OnEraseBkgnd(HDC) { return TRUE; }
