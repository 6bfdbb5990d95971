// The agent's hand-written message loop around its one modeless window.
// The loop ends after a WM_CLOSE has been dispatched: only one that passes
// through the queue (posted), never one that is sent, and not WM_QUIT, which
// is dispatched like any other message. There is no TranslateMessage, no
// dialog keyboard handling and no idle work.
#pragma once

#include "Afx.h"

class CAgentLoop {
public:
    // Creates dlg modeless from its template, with no parent, and pumps this
    // thread's messages until a WM_CLOSE has been dispatched. FALSE, at
    // once, when the window could not be created: no timer would ever post
    // the WM_CLOSE that ends the loop, so waiting would be forever.
    static BOOL Run(CDialog& dlg, UINT nIDTemplate);

    // The loop alone.
    static void Pump();
};
