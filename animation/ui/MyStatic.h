// CMyStatic: the owner-drawn text label, for a static item with the
// SS_OWNERDRAW style. It draws either a group frame with the text set into a
// gap of its top edge, or plain text: in the label's colour with an optional
// grey shadow, or, when disabled, engraved in grey and white.
#pragma once

#include <windows.h>

#include "Afx.h"

class CMyStatic : public CStatic {
public:
    static const CRuntimeClass classCMyStatic;

    CMyStatic() = default;
    ~CMyStatic() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCMyStatic; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) override;

    // Set by whoever attaches the label; the label has no setters.
    HFONT m_pFont = nullptr;  // not owned
    COLORREF m_crText = 0;
    BOOL m_bFrame = FALSE;    // 1: the group-frame look
    BOOL m_bShadow = FALSE;   // 1: a grey copy of the text in the plain look
    UINT m_nFormat = 0;       // added to DT_WORDBREAK in the plain look

protected:
    BOOL OnEraseBkgnd(HDC hdc);

private:
    void DrawFrame(HDC hdc, const RECT& rcItem, const wchar_t* pszText);
};

inline const CRuntimeClass CMyStatic::classCMyStatic = {"CMyStatic", &CStatic::classCStatic};
