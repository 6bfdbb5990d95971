#include "KestrelServApp.h"

#include <commctrl.h>

#include "AgentLoop.h"
#include "AgentTrace.h"
#include "KestrelNames.h"
#include "KestrelServDlg.h"

// Defined before the application object, so the ids exist when it starts.
const UINT g_nMsgProgress = ::RegisterWindowMessageA(Kestrel::kMsgProgressA);
const UINT g_nMsgUpdateDriveList = ::RegisterWindowMessageA(Kestrel::kMsgUpdateDriveListA);
const UINT g_nMsgClickFirstButton = ::RegisterWindowMessageA(Kestrel::kMsgClickFirstButtonA);
const UINT g_nMsgSaveSetup = ::RegisterWindowMessageA(Kestrel::kMsgSaveSetupA);
const UINT g_nMsgDesktopDriveChange = ::RegisterWindowMessageA(Kestrel::kMsgDesktopDriveChangeA);
const UINT g_nMsgShutdown = ::RegisterWindowMessageA(Kestrel::kMsgShutdownA);

CKestrelServApp theApp;

bool CKestrelServApp::IsExecuteCommandLine(const char* pszCmdLine) {
    if (pszCmdLine == nullptr) return false;
    // Letter by letter, folding ASCII case only: no locale may make some
    // other text equal to the word.
    const char* pszWord = Kestrel::kWordExecuteA;
    for (; *pszWord != '\0'; ++pszWord, ++pszCmdLine) {
        char ch = *pszCmdLine;
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != *pszWord) return false;
    }
    return *pszCmdLine == '\0';
}

BOOL CKestrelServApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    // m_lpCmdLine starts after the program name and the blanks that follow it.
    if (!IsExecuteCommandLine(m_lpCmdLine)) {
        CAgentTrace::Write("command line rejected");
        return FALSE;
    }

    m_hMutex = ::CreateMutexA(nullptr, FALSE, Kestrel::kMutexAgentA);
    if (m_hMutex == nullptr || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        CAgentTrace::Write("mutex %s", m_hMutex == nullptr ? "failed" : "exists");
        return FALSE;
    }
    CAgentTrace::Write("mutex created");

    m_filter.Open(g_nMsgSaveSetup, g_nMsgShutdown);

    CKestrelServDlg dlg;
    m_pMainWnd = &dlg;
    CAgentLoop::Run(dlg, CKestrelServDlg::IDD);
    m_filter.Release();
    dlg.DestroyWindow();
    m_pMainWnd = nullptr;
    return FALSE;
}
