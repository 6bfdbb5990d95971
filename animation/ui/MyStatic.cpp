#include "MyStatic.h"

#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFrameGrey = RGB(154, 154, 154);
constexpr COLORREF kTextGrey = RGB(127, 127, 127);
// The text starts this far right of the frame's left edge, in the gap that
// the frame leaves in its top edge.
constexpr int kTextIndent = 12;

// A line from (x1, y1) up to, not including, (x2, y2).
void Line(HDC hdc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(hdc, x1, y1, nullptr);
    ::LineTo(hdc, x2, y2);
}

void DrawTextAt(HDC hdc, const wchar_t* pszText, RECT rc, COLORREF cr, UINT nFormat, int dx = 0, int dy = 0) {
    ::OffsetRect(&rc, dx, dy);
    ::SetTextColor(hdc, cr);
    ::DrawTextW(hdc, pszText, -1, &rc, nFormat);
}

}  // namespace

CMyStatic::~CMyStatic() = default;

const MessageMap* CMyStatic::GetThisMessageMap() {
    static const MessageMap map(CStatic::GetThisMessageMap(), {
        Msg::EraseBkgnd(&CMyStatic::OnEraseBkgnd),
    });
    return &map;
}

void CMyStatic::DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) {
    if (pDrawItemStruct == nullptr) return;
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()));
    // The context is the supplier's; only the font is put back.
    HDC hdc = pDrawItemStruct->hDC;
    const RECT rcItem = pDrawItemStruct->rcItem;
    CSelectObject font(hdc, m_pFont);
    ::SetBkMode(hdc, TRANSPARENT);

    const UINT nPlainFormat = m_nFormat | DT_WORDBREAK;
    if (m_bFrame == 1) {
        DrawFrame(hdc, rcItem, text.data());
    } else if ((pDrawItemStruct->itemState & ODS_DISABLED) != 0) {
        DrawTextAt(hdc, text.data(), rcItem, kTextGrey, nPlainFormat);
        DrawTextAt(hdc, text.data(), rcItem, kWhite, nPlainFormat, 1, 1);
    } else {
        DrawTextAt(hdc, text.data(), rcItem, m_crText, nPlainFormat);
        if (m_bShadow == 1) DrawTextAt(hdc, text.data(), rcItem, kTextGrey, nPlainFormat, 1, 1);
    }
}

void CMyStatic::DrawFrame(HDC hdc, const RECT& rcItem, const wchar_t* pszText) {
    SIZE extent{};
    ::GetTextExtentPoint32W(hdc, pszText, static_cast<int>(wcslen(pszText)), &extent);
    const int w = extent.cx;

    // White first, one pixel down and right of the grey, for an etched edge.
    {
        CPen pen(::CreatePen(PS_SOLID, 1, kWhite));
        CSelectObject select(hdc, pen);
        const int L = rcItem.left + 1, T = rcItem.top + 7, R = rcItem.right, B = rcItem.bottom;
        Line(hdc, L, T, L + 10, T);
        Line(hdc, L + w + 12, T, R, T);
        Line(hdc, L, T, L, B);
        Line(hdc, L, B - 1, R, B - 1);
        Line(hdc, R - 1, B, R - 1, T);
    }
    {
        CPen pen(::CreatePen(PS_SOLID, 1, kFrameGrey));
        CSelectObject select(hdc, pen);
        const int L = rcItem.left, T = rcItem.top + 6, R = rcItem.right - 1, B = rcItem.bottom - 1;
        Line(hdc, L, T, L + 11, T);
        Line(hdc, L + w + 12, T, R, T);
        Line(hdc, L, T, L, B + 1);
        Line(hdc, L + 2, B - 1, R, B - 1);
        Line(hdc, R - 1, B - 1, R - 1, T + 1);
    }
    // DT_VCENTER without DT_SINGLELINE leaves the text at the top.
    RECT rcText = rcItem;
    rcText.left += kTextIndent;
    DrawTextAt(hdc, pszText, rcText, m_crText, DT_VCENTER);
}

BOOL CMyStatic::OnEraseBkgnd(HDC) { return TRUE; }
