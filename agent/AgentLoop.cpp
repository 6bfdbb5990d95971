#include "AgentLoop.h"

#include "AgentTrace.h"

BOOL CAgentLoop::Run(CDialog& dlg, UINT nIDTemplate) {
    const BOOL bCreated = dlg.Create(nIDTemplate, nullptr);
    CAgentTrace::Write("dialog %u %s", nIDTemplate, bCreated ? "created" : "not created");
    if (!bCreated) return FALSE;
    Pump();
    CAgentTrace::Write("loop ended");
    return TRUE;
}

void CAgentLoop::Pump() {
    MSG msg{};
    for (;;) {
        // GetMessageA's answer is not looked at: a WM_QUIT (answer 0) is
        // dispatched and the loop goes on.
        ::GetMessageA(&msg, nullptr, 0, 0);
        ::DispatchMessageA(&msg);
        if (msg.message == WM_CLOSE) break;
    }
}
