#include "RestoreAnimationDlg.h"

#include "KestrelNames.h"
#include "resource.h"

CRestoreAnimationDlg::CRestoreAnimationDlg()
    : CDialog(IDD_RESTORE_ANIMATION), m_hIcon(::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_RESTORE))) {}

BOOL CRestoreAnimationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(Kestrel::kRestoreWindowTitleW);
    return TRUE;
}
