#include "KestrelServDlg.h"

#include "AutostartSetting.h"
#include "KestrelServApp.h"
#include "Shutdown.h"

CKestrelServDlg::CKestrelServDlg()
    : CDialog(IDD), m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CKestrelServDlg::~CKestrelServDlg() {
    if (IsWindow()) DestroyWindow();
}

const MessageMap* CKestrelServDlg::GetThisMessageMap() {
    static const MessageMap map(CDialog::GetThisMessageMap(), {
        Msg::Message(WM_PAINT, &CKestrelServDlg::OnPaint),
        Msg::QueryDragIcon(&CKestrelServDlg::OnQueryDragIcon),
        Msg::Message(WM_TIMER, &CKestrelServDlg::OnTimer),
        Msg::Message(WM_DEVICECHANGE, &CKestrelServDlg::OnDeviceChange),
        Msg::Message(g_nMsgSaveSetup, &CKestrelServDlg::OnSaveSetup),
        Msg::Message(g_nMsgShutdown, &CKestrelServDlg::OnShutdown),
    });
    return &map;
}

BOOL CKestrelServDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_watcher.Start(m_hWnd);
    return TRUE;
}

void CKestrelServDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    RECT rc;
    GetClientRect(&rc);
    const int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CKestrelServDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

LRESULT CKestrelServDlg::OnTimer(WPARAM wParam, LPARAM) {
    m_watcher.OnTimer(static_cast<UINT_PTR>(wParam));
    return Default();
}

LRESULT CKestrelServDlg::OnDeviceChange(WPARAM, LPARAM) {
    m_watcher.OnDeviceChange();
    return Default();
}

LRESULT CKestrelServDlg::OnSaveSetup(WPARAM wParam, LPARAM lParam) {
    CAutostartSetting().Apply(wParam, lParam);
    return 1;
}

LRESULT CKestrelServDlg::OnShutdown(WPARAM, LPARAM) {
    CShutdown().Run();
    return 1;
}
