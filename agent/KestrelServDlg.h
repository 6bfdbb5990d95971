// The agent's only window: a hidden dialog that carries the drive watcher's
// timers and device-change notifications and answers the autostart and
// shutdown requests of the product's other processes.
#pragma once

#include "Afx.h"
#include "DriveWatcher.h"
#include "resource.h"

class CKestrelServDlg : public CDialog {
public:
    static const CRuntimeClass classCKestrelServDlg;
    enum { IDD = IDD_KESTRELSERV_DIALOG };

    CKestrelServDlg();
    ~CKestrelServDlg() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCKestrelServDlg; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

protected:
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSaveSetup(WPARAM wParam, LPARAM lParam);
    LRESULT OnShutdown(WPARAM wParam, LPARAM lParam);

    HICON m_hIcon;
    CDriveWatcher m_watcher;
};

inline const CRuntimeClass CKestrelServDlg::classCKestrelServDlg = {"CKestrelServDlg", &CDialog::classCDialog};
