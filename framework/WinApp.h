// CWinApp: the application object. The process entry (WinMain or wWinMain,
// by the program's character set) runs InitInstance; when it returns FALSE
// the framework runs ExitInstance and the process ends without a message
// loop, otherwise Run pumps messages and then runs ExitInstance.
#pragma once

#include <windows.h>

#include "RuntimeClass.h"

class CWnd;

class CWinApp : public CObject {
public:
    static const CRuntimeClass classCWinApp;

    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCWinApp; }

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    virtual int Run();

    HINSTANCE m_hInstance = nullptr;
    // The command line after the program name and the blanks that follow it.
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
};

inline const CRuntimeClass CWinApp::classCWinApp = {"CWinApp", &CObject::classCObject};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
int AfxWinMain(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);
