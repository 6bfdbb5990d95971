// The control classes the skinned controls derive from. They add the owner
// draw routine that WM_DRAWITEM reaches by reflection.
#pragma once

#include <commctrl.h>

#include "Wnd.h"

class CButton : public CWnd {
public:
    static const CRuntimeClass classCButton;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCButton; }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnDrawItemReflect(LPDRAWITEMSTRUCT pDis) override {
        DrawItem(pDis);
        return TRUE;
    }
};

class CStatic : public CWnd {
public:
    static const CRuntimeClass classCStatic;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCStatic; }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnDrawItemReflect(LPDRAWITEMSTRUCT pDis) override {
        DrawItem(pDis);
        return TRUE;
    }
};

class CProgressCtrl : public CWnd {
public:
    static const CRuntimeClass classCProgressCtrl;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCProgressCtrl; }

    void SetRange(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
};

inline const CRuntimeClass CButton::classCButton = {"CButton", &CWnd::classCWnd};
inline const CRuntimeClass CStatic::classCStatic = {"CStatic", &CWnd::classCWnd};
inline const CRuntimeClass CProgressCtrl::classCProgressCtrl = {"CProgressCtrl", &CWnd::classCWnd};
