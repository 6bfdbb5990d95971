// Worker threads: AfxBeginThread starts a procedure with one untyped
// argument; the thread object deletes itself when the thread ends.
#pragma once

#include <windows.h>

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

    HANDLE m_hThread = nullptr;
    UINT m_nThreadID = 0;
    // When TRUE (the default) the object is deleted as the thread ends.
    BOOL m_bAutoDelete = TRUE;

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// Starts pfnThreadProc(pParam). With CREATE_SUSPENDED the caller resumes it.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// Ends the calling thread (started by AfxBeginThread) with nExitCode,
// deleting its thread object if it deletes itself. Does not return.
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
