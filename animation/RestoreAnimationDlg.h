// The progress window of a restore job.
#pragma once

#include "Afx.h"

class CRestoreAnimationDlg : public CDialog {
public:
    static const CRuntimeClass classCRestoreAnimationDlg;

    CRestoreAnimationDlg();
    const CRuntimeClass* GetRuntimeClass() const override { return &classCRestoreAnimationDlg; }

protected:
    BOOL OnInitDialog() override;

    HICON m_hIcon;
};

inline const CRuntimeClass CRestoreAnimationDlg::classCRestoreAnimationDlg = {"CRestoreAnimationDlg", &CDialog::classCDialog};
