// Waiting on the user-interface thread for something a worker holds while
// that worker may be sending this thread a message (WM_PAINT from a fade,
// the paint of a bar column): the wait keeps serving sent messages, or both
// threads would hang.
#pragma once

#include <windows.h>

// Waits for hObject without time-out, serving the messages that other
// threads send to this thread's windows meanwhile. Posted messages stay
// queued. Returns the result of the final wait (WAIT_OBJECT_0, or
// WAIT_ABANDONED_0 / WAIT_FAILED).
DWORD WaitServingSentMessages(HANDLE hObject);
