// KestrelServ: the product's hidden, single-instance background agent.
#pragma once

#include "Afx.h"
#include "MessageFilter.h"

// The registered messages of the product, obtained during static
// initialisation, before the application object starts.
extern const UINT g_nMsgProgress;            // "KestrelProgress", never used here
extern const UINT g_nMsgUpdateDriveList;     // "Update_KestrelDriveList"
extern const UINT g_nMsgClickFirstButton;    // "Click_KestrelFirstButton"
extern const UINT g_nMsgSaveSetup;           // "Save_KestrelSetup"
extern const UINT g_nMsgDesktopDriveChange;  // "DesktopDriveChange"
extern const UINT g_nMsgShutdown;            // "MyShutdown"

class CKestrelServApp : public CWinApp {
public:
    static const CRuntimeClass classCKestrelServApp;

    CKestrelServApp() = default;
    ~CKestrelServApp() override = default;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCKestrelServApp; }

    // Runs the whole agent and returns FALSE, so that the framework skips its
    // own message pump.
    BOOL InitInstance() override;

    // The command line must be exactly "execute", in any case.
    static bool IsExecuteCommandLine(const char* pszCmdLine);

private:
    // Held, never closed, until the process ends.
    HANDLE m_hMutex = nullptr;
    CMessageFilter m_filter;
};

inline const CRuntimeClass CKestrelServApp::classCKestrelServApp = {"CKestrelServApp", &CWinApp::classCWinApp};
