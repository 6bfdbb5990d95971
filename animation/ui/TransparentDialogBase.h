// UI::CTransparentDialogBase: a dialog shown as a picture with per-pixel
// alpha. The platform shows per-pixel alpha only for a layered window that is
// updated as a whole, and such a window no longer paints its children, so the
// dialog works with two windows: the dialog itself, layered at a constant
// opacity of 5 so that it keeps the mouse, the keyboard and working controls,
// and a companion window of the class "TranFakeWnd" over it, transparent to
// the mouse, that shows the picture composed on every paint: the background
// (or the current picture in its place), a hook for derived classes, every
// child as it prints itself, and the caret of a focused edit field.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <mutex>

#include "Afx.h"

namespace UI {

class CTransparentDialogBase : public CDialog {
public:
    static const CRuntimeClass classCTransparentDialogBase;

    // GDI+ must have been started. pszBackground is the full path of the
    // background picture, whose size becomes the dialog's.
    CTransparentDialogBase(UINT nIDTemplate, LPCWSTR pszBackground);
    ~CTransparentDialogBase() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCTransparentDialogBase; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    BOOL OnInitDialog() override;

    // Composes the picture and pushes it to the companion window, on the
    // dialog's thread.
    void RenderLayered();

    // The fade workers, started through AfxBeginThread with the dialog as
    // their argument: the opacity climbs to 255 in steps of 40 every 10 ms, or
    // falls to 0 in steps of 40 every 20 ms, with one composition per step.
    static UINT __cdecl FadeInThreadProc(LPVOID pParam);
    static UINT __cdecl FadeOutThreadProc(LPVOID pParam);

    // The one safe way to change the current picture from any thread: the
    // dialog takes ownership of pNewImage (null clears the picture), and the
    // previous one is deleted once no composition can be drawing it. The
    // caller invalidates the dialog when the change is to show.
    void ReplaceFrameImage(Gdiplus::Image* pNewImage);
    // Loads pszPath (full path) as the new current picture, outside the lock,
    // and replaces the current one with it; null clears the picture. A file
    // that fails to load still becomes the current picture and draws nothing.
    void LoadFrameImage(LPCWSTR pszPath);

protected:
    // Called once per composition, after the background or current picture.
    virtual void OnDrawAfterBackground(Gdiplus::Graphics* pGraphics);

    // The composition split in two: the picture is built into a 32-bit
    // bottom-up section (premultiplied alpha) selected into a memory context,
    // then pushed to the companion. A test reads the section's pixels.
    struct LayeredPicture {
        CMemoryDC dc;
        CBitmap section;
        void* pBits = nullptr;
        HGDIOBJ hOldBitmap = nullptr;
        ~LayeredPicture();
    };
    // Everything of a composition but the push: a section of the picture's
    // size made, cleared and drawn (picture, hook, children, caret), with
    // hdcScreen as the reference context. FALSE when no section could be made.
    BOOL BuildLayeredPicture(HDC hdcScreen, LayeredPicture& picture);

    void OnLButtonDown(UINT nFlags, POINT point);
    BOOL OnEraseBkgnd(HDC hdc);
    void OnDestroy();
    void OnMove(int x, int y);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnActivate(UINT nState, HWND hWndOther, BOOL bMinimized);
    void OnClose();

    void CreateFakeWindow();
    void DrawChildWindow(Gdiplus::Graphics* pGraphics, HDC hdcScreen, HWND hChild);
    void DrawFocusedEditCaret(Gdiplus::Graphics* pGraphics);

    // TRUE while a fade worker of this dialog runs.
    BOOL IsFading() const;

    Gdiplus::Image m_imgBackground;
    // Drawn in place of the background when set. Derived dialogs change it
    // only through ReplaceFrameImage or LoadFrameImage, which compositions
    // cannot overlap; the base never frees the last one (a derived
    // destructor calls ReplaceFrameImage(nullptr)).
    Gdiplus::Image* m_pFrameImage = nullptr;
    UINT m_nWidth = 0;
    UINT m_nHeight = 0;
    HWND m_hFakeWnd = nullptr;
    BOOL m_bDragMove = TRUE;
    // Written by the fade workers, read by every composition.
    std::atomic<int> m_nAlpha{0};

    // Set by the first show of any dialog of this class in the process.
    static BOOL s_bFadeInStarted;

private:
    // One fade run: nStep added per step until the bound, nPauseMs apart.
    void RunFade(int nStep, DWORD nPauseMs);
    static CTransparentDialogBase* EnterFade(LPVOID pParam);
    void LeaveFade();

    // Held by every composition while it draws the current picture, and by
    // every replacement while it swaps the pointer.
    std::mutex m_frameLock;
    // Signalled by the destructor: running fades stop at once.
    CHandle m_hStopFades;
    // Set while no fade runs; the destructor waits for it. Both counted
    // under the process-wide lock of the live dialogs.
    CHandle m_hFadesIdle;
    int m_nFades = 0;
};

inline const CRuntimeClass CTransparentDialogBase::classCTransparentDialogBase = {"CTransparentDialogBase",
                                                                                &CDialog::classCDialog};

}  // namespace UI
