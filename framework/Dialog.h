// CDialog: a dialog made from a template resource, modal (DoModal) or
// modeless (Create). The dialog window is subclassed by the framework when
// it is created, so every message goes through the message map first and
// then to the system's dialog procedure; the dialog procedure itself only
// runs OnInitDialog.
#pragma once

#include "Wnd.h"

class CDialog : public CWnd {
public:
    static const CRuntimeClass classCDialog;

    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCDialog; }
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; TRUE when the window exists.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnIdOk() { OnOK(); }
    void OnIdCancel() { OnCancel(); }
};

inline const CRuntimeClass CDialog::classCDialog = {"CDialog", &CWnd::classCWnd};
