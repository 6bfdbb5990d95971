#include "Dialog.h"

#include "WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

const MessageMap* CDialog::GetThisMessageMap() {
    // Enter and Esc (and the OK and Cancel buttons) reach the virtual handlers.
    static const MessageMap map(CWnd::GetThisMessageMap(), {
        Msg::Command(IDOK, BN_CLICKED, &CDialog::OnIdOk),
        Msg::Command(IDCANCEL, BN_CLICKED, &CDialog::OnIdCancel),
    });
    return &map;
}

INT_PTR CDialog::DoModal() {
    HWND hParent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    HookWindowCreate(this);
    INT_PTR result = ::DialogBoxParam(AfxGetInstanceHandle(), MAKEINTRESOURCE(m_nIDTemplate), hParent,
                                      &CDialog::AfxDlgProc, reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HWND hParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogParam(AfxGetInstanceHandle(), MAKEINTRESOURCE(nIDTemplate), hParent,
                                    &CDialog::AfxDlgProc, reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    return hWnd != nullptr;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd != nullptr) ::EndDialog(m_hWnd, nResult);
}

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == nullptr) return TRUE;
    // Normally the creation hook has bound the window already.
    if (pDlg->m_hWnd == nullptr) pDlg->SubclassWindow(hWnd);
    if (pDlg->m_hWnd != hWnd) return TRUE;
    try {
        return pDlg->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}
