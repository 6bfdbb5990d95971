// CBmpProgressCtrl: the skinned progress bar. It paints itself from two
// strips beside the program, the empty bar and the filled bar, revealing the
// filled one from the left up to a fill width that follows the position. A
// change of fill repaints the changed columns one at a time, each at once, so
// the fill sweeps instead of jumping. The layered dialog captures the bar
// through WM_PRINT, which the bar answers with an opaque copy of its strips.
#pragma once

#include <windows.h>

#include <atomic>

#include "Afx.h"

class CBmpProgressCtrl : public CProgressCtrl {
public:
    static const CRuntimeClass classCBmpProgressCtrl;

    CBmpProgressCtrl();
    ~CBmpProgressCtrl() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCBmpProgressCtrl; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Loads "img\Animation\bar-nomal.bmp" and "img\Animation\bar-run.bmp"
    // from the program's folder, keeps the current client size as the size
    // of all painting, and sizes the control to the empty bar.
    BOOL LoadBitmaps();
    // Moves the fill to nPos out of m_nMax and repaints the changed columns,
    // one synchronous paint each. Safe from any thread; callers are served
    // one at a time.
    void SetBarPos(int nPos);

    // Each memory context is declared after its bitmap, so it goes first and
    // lets go of the bitmap before the bitmap is deleted.
    CBitmap m_bmpNormal;
    CMemoryDC m_dcNormal;
    CBitmap m_bmpRun;
    CMemoryDC m_dcRun;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    RECT m_rcClient{};
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    // The upper bound of the positions, set directly by the dialogs.
    int m_nMax = 100;
    // Written by SetBarPos, read by the paint handlers on the dialog's thread.
    std::atomic<int> m_nFillWidth{0};
    int m_nPrevFillWidth = 0;

protected:
    void OnPaint();
    LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    // Draws both strips into hdc at the client size of LoadBitmaps: white
    // left out on screen (bTransparent), copied in a print.
    void DrawStrips(HDC hdc, bool bTransparent);

private:
    // Serialises SetBarPos. A kernel object, not a mutex: a thread that waits
    // for it keeps serving sent messages, because the holder's UpdateWindow
    // may be waiting for this very thread to paint.
    CHandle m_hSetBarPosLock;
};

inline const CRuntimeClass CBmpProgressCtrl::classCBmpProgressCtrl = {"CBmpProgressCtrl",
                                                                      &CProgressCtrl::classCProgressCtrl};
