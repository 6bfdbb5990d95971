#include "BackupAnimationDlg.h"

#include "KestrelNames.h"
#include "resource.h"

CBackupAnimationDlg::CBackupAnimationDlg()
    : CDialog(IDD_BACKUP_ANIMATION), m_hIcon(::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_BACKUP))) {}

BOOL CBackupAnimationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(Kestrel::kBackupWindowTitleW);
    return TRUE;
}
