#include "MessageWait.h"

DWORD WaitServingSentMessages(HANDLE hObject) {
    for (;;) {
        const DWORD nWait = ::MsgWaitForMultipleObjects(1, &hObject, FALSE, INFINITE, QS_SENDMESSAGE);
        if (nWait != WAIT_OBJECT_0 + 1) return nWait;
        // Peeking is what delivers sent messages; nothing is removed.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
