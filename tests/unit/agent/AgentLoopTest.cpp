// The agent's message loop around a dialog of the test's own: what ends it,
// what does not, and what happens when there is no window to run around.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AgentLoop.h"

namespace {

constexpr UINT kTemplate = 300;
constexpr UINT kMissingTemplate = 4242;

constexpr UINT WM_STEP_1 = WM_APP + 1;
constexpr UINT WM_STEP_2 = WM_APP + 2;  // sends WM_CLOSE, then posts step 3 and WM_CLOSE
constexpr UINT WM_STEP_3 = WM_APP + 3;
constexpr UINT WM_STEP_AFTER = WM_APP + 4;

std::string Name(UINT message) {
    switch (message) {
    case WM_QUIT: return "WM_QUIT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_STEP_1: return "step 1";
    case WM_STEP_2: return "step 2";
    case WM_STEP_3: return "step 3";
    case WM_STEP_AFTER: return "after";
    default: return std::to_string(message);
    }
}

// Records the messages of interest as they reach the window; its first posts
// play the script of the test.
class CScriptedDlg : public CDialog {
public:
    CScriptedDlg() : CDialog(kTemplate) {}

    std::vector<std::string> m_log;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(WM_QUIT);
        PostMessage(WM_STEP_1);
        PostMessage(WM_STEP_2);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_QUIT || message == WM_CLOSE || (message >= WM_STEP_1 && message <= WM_STEP_AFTER)) {
            m_log.push_back(Name(message) + (::InSendMessage() || m_bSending ? " (sent)" : ""));
        }
        if (message == WM_STEP_2) {
            m_bSending = true;
            SendMessage(WM_CLOSE);
            m_bSending = false;
            PostMessage(WM_STEP_3);
            PostMessage(WM_CLOSE);
            PostMessage(WM_STEP_AFTER);
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

private:
    bool m_bSending = false;
};

void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(AgentLoop, EndsAfterAPostedCloseOnlyAndGoesOnAfterQuit) {
    CScriptedDlg dlg;
    ASSERT_TRUE(CAgentLoop::Run(dlg, kTemplate));

    const std::vector<std::string> expected = {"WM_QUIT", "step 1", "step 2", "WM_CLOSE (sent)", "step 3", "WM_CLOSE"};
    EXPECT_EQ(dlg.m_log, expected) << "the message after the posted WM_CLOSE must stay in the queue";
    dlg.DestroyWindow();
    DrainQueue();
}

TEST(AgentLoop, WithoutItsWindowEndsAtOnce) {
    // Were the loop entered, only this would end it, and Run would say TRUE.
    ASSERT_TRUE(::PostThreadMessageA(::GetCurrentThreadId(), WM_CLOSE, 0, 0));
    CDialog dlg(kMissingTemplate);
    EXPECT_FALSE(CAgentLoop::Run(dlg, kMissingTemplate));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    DrainQueue();
}

}  // namespace
