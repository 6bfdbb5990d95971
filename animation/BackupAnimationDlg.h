// The progress window of a backup job.
#pragma once

#include "Afx.h"

class CBackupAnimationDlg : public CDialog {
public:
    static const CRuntimeClass classCBackupAnimationDlg;

    CBackupAnimationDlg();
    const CRuntimeClass* GetRuntimeClass() const override { return &classCBackupAnimationDlg; }

protected:
    BOOL OnInitDialog() override;

    HICON m_hIcon;
};

inline const CRuntimeClass CBackupAnimationDlg::classCBackupAnimationDlg = {"CBackupAnimationDlg", &CDialog::classCDialog};
