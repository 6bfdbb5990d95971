// CMyButton: the skinned push button. It turns its dialog item into an
// owner-drawn button and draws its face from one of three bitmaps (normal,
// hover, pressed), stretched to its size with pure white left out. Hover is
// tracked by capturing the mouse while the pointer is over the button, and a
// release inside after a press is sent to the parent as BN_CLICKED by the
// button itself. Every mouse message then goes on to the platform's own
// push-button processing.
#pragma once

#include <windows.h>

#include "Afx.h"

class CMyButton : public CButton {
public:
    static const CRuntimeClass classCMyButton;

    enum { BTN_NORMAL = 0, BTN_HOVER = 1, BTN_PRESSED = 2 };

    CMyButton() = default;
    ~CMyButton() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCMyButton; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Makes the button owner-drawn and takes the parent's font.
    BOOL InitButton(CWnd* pParent);
    // The three faces, as paths relative to the program's folder; hover and
    // pressed may be null. Sizes the button to the normal face.
    BOOL LoadBitmaps(LPCWSTR pszNormal, LPCWSTR pszHover, LPCWSTR pszPress);
    void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) override;

    int m_nState = BTN_NORMAL;
    BOOL m_bLoaded = FALSE;
    HFONT m_pFont = nullptr;  // the parent's; not owned
    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crTextHover = RGB(17, 17, 17);
    COLORREF m_crTextPress = RGB(127, 63, 63);
    // The contexts come after the bitmaps, so they go first and let go of
    // the bitmaps before those are deleted.
    CBitmap m_bmpNormal;
    CBitmap m_bmpHover;
    CBitmap m_bmpPress;
    CMemoryDC m_dcNormal;
    CMemoryDC m_dcHover;
    CMemoryDC m_dcPress;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;

protected:
    // Draws at once, outside any paint cycle, through WM_DRAWITEM sent to the
    // button itself.
    void DrawNow(UINT nItemAction, UINT nItemState);

    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    BOOL OnEraseBkgnd(HDC hdc);

private:
    bool IsInside(POINT point) const;
};

inline const CRuntimeClass CMyButton::classCMyButton = {"CMyButton", &CButton::classCButton};
