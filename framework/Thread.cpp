#include "Thread.h"

#include <process.h>

namespace {

thread_local CWinThread* t_pThread = nullptr;

unsigned __stdcall ThreadEntry(void* pv) {
    auto* pThread = static_cast<CWinThread*>(pv);
    t_pThread = pThread;
    UINT nResult = 0;
    try {
        nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
    } catch (...) {
        // No exception leaves a thread procedure.
        nResult = static_cast<UINT>(-1);
    }
    AfxEndThread(nResult);
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr) ::CloseHandle(m_hThread);
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    unsigned id = 0;
    const uintptr_t h = ::_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, pThread, CREATE_SUSPENDED, &id);
    if (h == 0) {
        delete pThread;
        return nullptr;
    }
    pThread->m_hThread = reinterpret_cast<HANDLE>(h);
    pThread->m_nThreadID = id;
    ::SetThreadPriority(pThread->m_hThread, nPriority);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0) pThread->ResumeThread();
    return pThread;
}

void AfxEndThread(UINT nExitCode, BOOL bDelete) {
    CWinThread* pThread = t_pThread;
    t_pThread = nullptr;
    if (pThread != nullptr && bDelete && pThread->m_bAutoDelete) delete pThread;
    ::_endthreadex(nExitCode);
    for (;;) {
    }
}
