// The framework's window plumbing, driven through real windows under the
// platform: message-map dispatch and chaining, registered messages,
// subclassing, owner-draw reflection, dialogs and worker threads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Afx.h"
#include "FrameworkTestIds.h"

namespace {

constexpr UINT WM_TEST_A = WM_APP + 1;
constexpr UINT WM_TEST_B = WM_APP + 2;
constexpr UINT WM_TEST_C = WM_APP + 3;
constexpr UINT WM_TEST_END = WM_APP + 4;

// A plain top-level window of a class whose procedure records what reaches it
// and answers 1000 + the message offset, so a test can tell who answered.
std::vector<UINT> g_classProcLog;

LRESULT CALLBACK RecordingClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP) {
        g_classProcLog.push_back(message);
        return 1000 + (message - WM_APP);
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreateRecordingWindow() {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingClassProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FrameworkTestRecording";
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    return ::CreateWindowExW(0, L"FrameworkTestRecording", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class CBaseWnd : public CWnd {
public:
    static const MessageMap* GetThisMessageMap() {
        static const MessageMap map(CWnd::GetThisMessageMap(), {
            Msg::Message(WM_TEST_A, &CBaseWnd::OnBaseA),
            Msg::Message(WM_TEST_B, &CBaseWnd::OnBaseB),
            Msg::Command(7, BN_CLICKED, &CBaseWnd::OnClicked7),
        });
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    std::vector<std::string> m_log;

protected:
    LRESULT OnBaseA(WPARAM, LPARAM) { m_log.push_back("base A"); return 1; }
    LRESULT OnBaseB(WPARAM w, LPARAM l) { m_log.push_back("base B"); return static_cast<LRESULT>(w + l); }
    void OnClicked7() { m_log.push_back("command 7"); }
};

class CDerivedWnd : public CBaseWnd {
public:
    static const MessageMap* GetThisMessageMap() {
        static const MessageMap map(CBaseWnd::GetThisMessageMap(), {
            Msg::Message(WM_TEST_A, &CDerivedWnd::OnDerivedA),
            Msg::Registered(L"KestrelFrameworkTestMessage", &CDerivedWnd::OnRegistered),
            Msg::Message(WM_TEST_C, &CDerivedWnd::OnDefaultThenMore),
        });
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

private:
    LRESULT OnDerivedA(WPARAM, LPARAM) { m_log.push_back("derived A"); return 2; }
    LRESULT OnRegistered(WPARAM w, LPARAM l) { m_log.push_back("registered " + std::to_string(w) + "," + std::to_string(l)); return 77; }
    // A handler that runs the default processing first and adds to its answer.
    LRESULT OnDefaultThenMore(WPARAM, LPARAM) {
        LRESULT r = Default();
        m_log.push_back("after default");
        return r + 1;
    }
};

TEST(MessageMap, DispatchChainsToTheBaseAndFallsBackToTheOldProcedure) {
    HWND hWnd = CreateRecordingWindow();
    ASSERT_NE(hWnd, nullptr);
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    const UINT registered = ::RegisterWindowMessageW(L"KestrelFrameworkTestMessage");

    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* handler;  // what the object logged, or "" for none
        bool oldProcCalled;
    };
    const Case cases[] = {
        {"derived entry hides the base's", WM_TEST_A, 0, 0, 2, "derived A", false},
        {"base entry reached through the chain", WM_TEST_B, 3, 4, 7, "base B", false},
        {"registered message, id read at run time", registered, 5, 6, 77, "registered 5,6", false},
        {"handler calls Default: old procedure runs", WM_TEST_C, 0, 0, 1003 + 1, "after default", true},
        {"unmapped message goes to the old procedure", WM_TEST_END, 0, 0, 1004, "", true},
        {"command with the mapped id and code", WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0, 0, "command 7", false},
        {"command with another code is not taken", WM_COMMAND, MAKEWPARAM(7, BN_DOUBLECLICKED), 0, 0, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wnd.m_log.clear();
        g_classProcLog.clear();
        EXPECT_EQ(::SendMessageW(hWnd, c.message, c.wParam, c.lParam), c.result);
        EXPECT_EQ(wnd.m_log, c.handler[0] ? std::vector<std::string>{c.handler} : std::vector<std::string>{});
        EXPECT_EQ(!g_classProcLog.empty(), c.oldProcCalled);
    }

    // Unsubclassing gives the window back its own procedure.
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    g_classProcLog.clear();
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_A, 0, 0), 1001);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    ::DestroyWindow(hWnd);
}

TEST(MessageMap, DestroyingTheWindowUnbindsTheObject) {
    HWND hWnd = CreateRecordingWindow();
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(RuntimeClass, KnowsItsBases) {
    CDialog dlg(IDD_TEST_DIALOG);
    EXPECT_STREQ(dlg.GetRuntimeClass()->m_lpszClassName, "CDialog");
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dlg.IsKindOf(RUNTIME_CLASS(CButton)));
}

// --- owner draw ------------------------------------------------------------

class CCountingButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT pDis) override {
        ++m_nDraws;
        m_hLastDC = pDis->hDC;
    }
    int m_nDraws = 0;
    HDC m_hLastDC = nullptr;
};

class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_TEST_DIALOG) {}

    static const MessageMap* GetThisMessageMap() {
        static const MessageMap map(CDialog::GetThisMessageMap(), {
            Msg::Message(WM_TEST_END, &CTestDialog::OnTestEnd),
            Msg::Message(WM_CLOSE, &CTestDialog::OnCloseRequest),
        });
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bInitialised = TRUE;
        m_button.SubclassDlgItem(IDC_TEST_OWNERDRAW, this);
        for (UINT message : m_postOnInit) PostMessage(message, 0, 0);
        return TRUE;
    }

    std::vector<UINT> m_postOnInit;
    bool m_bHandleClose = false;
    int m_nCloses = 0;
    int m_nEndValue = 42;
    BOOL m_bInitialised = FALSE;
    CCountingButton m_button;

private:
    LRESULT OnTestEnd(WPARAM, LPARAM) {
        EndDialog(m_nEndValue);
        return 0;
    }
    // Ends the dialog through a message queued behind whatever the default
    // WM_CLOSE processing queues.
    LRESULT OnCloseRequest(WPARAM, LPARAM) {
        ++m_nCloses;
        LRESULT result = m_bHandleClose ? 0 : Default();
        PostMessage(WM_TEST_END);
        return result;
    }
};

TEST(OwnerDraw, DrawItemReachesTheButtonFromTheParentAndFromItself) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    ASSERT_TRUE(dlg.m_bInitialised);
    HWND hButton = dlg.GetDlgItem(IDC_TEST_OWNERDRAW);
    ASSERT_EQ(dlg.m_button.m_hWnd, hButton);

    // The platform sends WM_DRAWITEM to the parent when the button paints.
    dlg.ShowWindow(SW_SHOWNA);
    dlg.m_button.m_nDraws = 0;
    ::InvalidateRect(hButton, nullptr, TRUE);
    ::UpdateWindow(hButton);
    EXPECT_GE(dlg.m_button.m_nDraws, 1);

    // A button that sends WM_DRAWITEM about itself reaches its own DrawItem.
    dlg.m_button.m_nDraws = 0;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_TEST_OWNERDRAW;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = hButton;
    dis.hDC = reinterpret_cast<HDC>(0x1234);
    EXPECT_EQ(::SendMessageW(hButton, WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(dlg.m_button.m_nDraws, 1);
    EXPECT_EQ(dlg.m_button.m_hLastDC, dis.hDC);

    // A menu item is not a control: nothing is reflected.
    dis.CtlType = ODT_MENU;
    ::SendMessageW(dlg.m_hWnd, WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(dlg.m_button.m_nDraws, 1);

    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_button.m_hWnd, nullptr);
}

// --- dialogs ---------------------------------------------------------------

TEST(Dialog, DoModalReturnsWhatEndsTheDialog) {
    struct Case {
        const char* what;
        std::vector<UINT> posts;  // posted from OnInitDialog, in order
        bool handleClose;
        INT_PTR result;
        int closes;
    };
    const Case cases[] = {
        {"EndDialog's value", {WM_TEST_END}, false, 42, 0},
        {"a handled WM_CLOSE neither ends nor cancels", {WM_CLOSE}, true, 42, 1},
        {"an unhandled WM_CLOSE cancels", {WM_CLOSE}, false, IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTestDialog dlg;
        dlg.m_postOnInit = c.posts;
        dlg.m_bHandleClose = c.handleClose;
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.m_nCloses, c.closes);
        EXPECT_EQ(dlg.m_hWnd, nullptr);
    }
}

class CEscDialog : public CTestDialog {
public:
    BOOL OnInitDialog() override {
        CTestDialog::OnInitDialog();
        // IDCANCEL, as the dialog manager sends it for the Esc key.
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    void OnCancel() override {
        ++m_nCancels;
        EndDialog(5);
    }
    int m_nCancels = 0;
};

TEST(Dialog, CancelCommandReachesOnCancel) {
    CEscDialog dlg;
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_EQ(dlg.m_nCancels, 1);
}

// --- threads ---------------------------------------------------------------

UINT __cdecl ReturnsSeven(LPVOID pParam) {
    *static_cast<int*>(pParam) += 1;
    return 7;
}

UINT __cdecl EndsWithNine(LPVOID) {
    AfxEndThread(9);
}

TEST(Thread, ExitCodeIsTheProcedureResultOrAfxEndThreadsCode) {
    struct Case {
        const char* what;
        AFX_THREADPROC proc;
        DWORD exitCode;
    };
    const Case cases[] = {{"returned", &ReturnsSeven, 7}, {"AfxEndThread", &EndsWithNine, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int calls = 0;
        CWinThread* pThread = AfxBeginThread(c.proc, &calls, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(pThread, nullptr);
        // The object deletes itself as the thread ends: keep a handle of our own.
        HANDLE hThread = nullptr;
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hThread, 0,
                                      FALSE, DUPLICATE_SAME_ACCESS));
        pThread->ResumeThread();
        ASSERT_EQ(::WaitForSingleObject(hThread, 10000), WAIT_OBJECT_0);
        DWORD code = 0;
        ::GetExitCodeThread(hThread, &code);
        EXPECT_EQ(code, c.exitCode);
        ::CloseHandle(hThread);
    }
}

// --- GDI owners ------------------------------------------------------------

TEST(Gdi, SelectionGuardPutsBackWhatWasSelected) {
    CClientDC screen(nullptr);
    CMemoryDC dc(screen);
    ASSERT_TRUE(dc);
    CBitmap bitmap(::CreateCompatibleBitmap(screen, 4, 4));
    HGDIOBJ original = ::GetCurrentObject(dc, OBJ_BITMAP);
    {
        CSelectObject select(dc, bitmap);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), original);

    CBitmap moved(std::move(bitmap));
    EXPECT_FALSE(bitmap);
    EXPECT_TRUE(moved);
    EXPECT_FALSE(moved.Attach(nullptr));
}

}  // namespace
