// The layered dialog base: what a composition puts into the picture (read
// back from the 32-bit section, alpha included), what reaches the screen
// when it is pushed, the fades, and how the dialog and its companion window
// behave together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

#include "BmpProgressCtrl.h"
#include "MyButton.h"
#include "UiTestSupport.h"

namespace {

using UiTest::CTestDialog;
using UiTest::FixtureName;
using UiTest::FixturePath;
using UiTest::NearArgb;
using UiTest::Pixels;
using UiTest::PumpFor;
using UiTest::PumpUntil;

constexpr uint32_t kTransparent = 0x00000000;
// 50 % green, premultiplied as the section holds it.
constexpr uint32_t kHalfGreenPremultiplied = 0x80008000;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

class LayeredDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        // No fade-in unless a test asks for one.
        CTestDialog::SetFadeInStarted(TRUE);
        m_dlg = std::make_unique<CTestDialog>();
        ASSERT_EQ(m_dlg->Width(), static_cast<UINT>(UiTest::kPictureWidth))
            << "background not loaded, GDI+ status " << m_dlg->BackgroundStatus() << ", error " << ::GetLastError();
        ASSERT_TRUE(m_dlg->Create());
    }

    void TearDown() override {
        if (m_dlg->m_hWnd != nullptr) m_dlg->DestroyWindow();
        m_dlg.reset();
    }

    // A skinned button of the test dialog with one face for every state,
    // placed at x, y, cx, cy (dialog client pixels).
    void PlaceButton(CMyButton& button, UINT nID, const wchar_t* pszFace, int x, int y, int cx, int cy) {
        ASSERT_TRUE(button.SubclassDlgItem(nID, m_dlg.get()));
        ASSERT_TRUE(button.InitButton(m_dlg.get()));
        const std::wstring face = FixtureName(pszFace);
        ASSERT_TRUE(button.LoadBitmaps(face.c_str(), face.c_str(), face.c_str()));
        button.MoveWindow(x, y, cx, cy);
    }

    std::unique_ptr<CTestDialog> m_dlg;
};

// --- composition ---------------------------------------------------------------

TEST_F(LayeredDialogTest, PictureIsTheBackgroundOrTheCurrentPictureInItsPlace) {
    struct Case {
        const char* what;
        const wchar_t* frame;  // the current picture, or null for none
        uint32_t opaque;       // at the background's opaque red
        uint32_t half;         // at its 50 % green
        uint32_t clear;        // at its transparent half
    };
    const Case cases[] = {
        {"the background with its own alpha", nullptr, UiTest::kOpaqueRed, kHalfGreenPremultiplied, kTransparent},
        {"the current picture instead", L"frame.png", UiTest::kOpaqueBlue, UiTest::kOpaqueBlue, UiTest::kOpaqueBlue},
        {"a current picture whose file is missing: transparency, not the background", L"missing.png", kTransparent,
         kTransparent, kTransparent},
        {"cleared again: the background", nullptr, UiTest::kOpaqueRed, kHalfGreenPremultiplied, kTransparent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.frame != nullptr) {
            m_dlg->LoadFrameImage(FixturePath(c.frame).c_str());
        } else {
            m_dlg->ReplaceFrameImage(nullptr);
        }
        const Pixels picture = m_dlg->Compose();
        ASSERT_EQ(picture.width, UiTest::kPictureWidth);
        ASSERT_EQ(picture.height, UiTest::kPictureHeight);
        EXPECT_PRED2(NearArgb, picture.At(10, 10), c.opaque);
        EXPECT_PRED2(NearArgb, picture.At(200, 40), c.half);
        EXPECT_PRED2(NearArgb, picture.At(10, 100), c.clear);
    }
}

TEST_F(LayeredDialogTest, MissingBackgroundMakesNoPictureAndAnEmptyDialog) {
    CTestDialog dlg(FixturePath(L"missing.png"));
    EXPECT_EQ(dlg.Width(), 0u);
    EXPECT_EQ(dlg.Height(), 0u);
    ASSERT_TRUE(dlg.Create());
    RECT rc{};
    ::GetWindowRect(dlg, &rc);
    EXPECT_EQ(rc.right - rc.left, 0);
    EXPECT_EQ(rc.bottom - rc.top, 0);
    EXPECT_TRUE(dlg.Compose().data.empty());
    dlg.DestroyWindow();
}

TEST_F(LayeredDialogTest, ChildrenAreCopiedOpaqueAndLaterOnesCoverEarlierOnes) {
    CMyButton first, second;
    // Both over the transparent half; they overlap on x 25..39, y 80..99.
    PlaceButton(first, IDC_UI_BUTTON_A, L"red.bmp", 10, 70, 30, 30);
    PlaceButton(second, IDC_UI_BUTTON_B, L"blue.bmp", 25, 80, 30, 30);
    const Pixels picture = m_dlg->Compose();
    EXPECT_EQ(picture.At(12, 72), 0xFFFF0000u);
    EXPECT_EQ(picture.At(50, 105), 0xFF0000FFu);
    EXPECT_EQ(picture.At(30, 90), 0xFF0000FFu) << "the later child is drawn over the earlier one";
    EXPECT_EQ(picture.At(70, 90), kTransparent);
}

TEST_F(LayeredDialogTest, AnEmptyOrHiddenChildLeavesNothingVisible) {
    CMyButton empty, hidden;
    CBmpProgressCtrl bar;
    PlaceButton(empty, IDC_UI_BUTTON_A, L"red.bmp", 10, 70, 0, 0);
    PlaceButton(hidden, IDC_UI_BUTTON_B, L"blue.bmp", 40, 70, 20, 20);
    hidden.ShowWindow(SW_HIDE);
    // The bar prints even when hidden; the way the dialogs take it out of
    // sight is both: zero size, then hidden.
    ASSERT_TRUE(bar.SubclassDlgItem(IDC_UI_PROGRESS, m_dlg.get()));
    bar.MoveWindow(80, 70, 197, 14);
    bar.LoadBitmaps();
    bar.SetBarPos(50);
    bar.MoveWindow(80, 70, 0, 0);
    bar.ShowWindow(SW_HIDE);

    const Pixels picture = m_dlg->Compose();
    for (int y = 60; y < UiTest::kPictureHeight; ++y) {
        for (int x = 0; x < UiTest::kPictureWidth; ++x) {
            ASSERT_EQ(picture.At(x, y), kTransparent) << "at " << x << "," << y;
        }
    }
}

TEST_F(LayeredDialogTest, CaretLineMarksTheFocusedEditFieldOnly) {
    HWND hEdit = m_dlg->GetDlgItem(IDC_UI_EDIT);
    CMyButton button;
    PlaceButton(button, IDC_UI_BUTTON_A, L"red.bmp", 200, 90, 20, 20);
    ::MoveWindow(hEdit, 20, 70, 120, 24, TRUE);
    ::SetFocus(hEdit);
    ASSERT_EQ(::GetFocus(), hEdit);
    POINT caret{};
    ASSERT_TRUE(::GetCaretPos(&caret));
    ::MapWindowPoints(hEdit, m_dlg->m_hWnd, &caret, 1);

    Pixels picture = m_dlg->Compose();
    for (int dy = 0; dy < 13; ++dy) {
        EXPECT_EQ(picture.At(caret.x, caret.y + dy), kOpaqueBlack) << "line pixel " << dy;
    }
    EXPECT_NE(picture.At(caret.x + 1, caret.y + 6), kOpaqueBlack) << "one pixel wide";

    // Focus elsewhere: the edit field shows its own background there.
    ::SetFocus(button);
    ASSERT_EQ(::GetFocus(), button.m_hWnd);
    picture = m_dlg->Compose();
    EXPECT_NE(picture.At(caret.x, caret.y + 6), kOpaqueBlack);
    EXPECT_EQ(picture.At(caret.x, caret.y + 6) >> 24, 0xFFu) << "the edit field is still there";
}

TEST_F(LayeredDialogTest, OverallOpacityIsAppliedWhenThePictureIsPushed) {
    // A bare X display shows a layered window over black, so what reaches
    // the screen is the picture scaled by the overall opacity.
    m_dlg->MoveWindow(700, 500, UiTest::kPictureWidth, UiTest::kPictureHeight);
    m_dlg->LoadFrameImage(FixturePath(L"frame.png").c_str());
    // Without a compositor the dialog's own opacity of 5 is not applied, and
    // Wine stacks the active dialog over its companion: take the dialog's
    // window out of sight without telling it, so the companion stays shown.
    m_dlg->SetWindowPos(nullptr, 0, 0, 0, 0,
                        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rcFake{};
    ::GetWindowRect(m_dlg->FakeWnd(), &rcFake);
    ASSERT_EQ(rcFake.left, 700);
    struct Case {
        int alpha;
        int blue;
    };
    const Case cases[] = {{255, 255}, {128, 128}, {64, 64}, {0x100 + 128, 128} /* only the low byte */};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        m_dlg->SetAlpha(c.alpha);
        m_dlg->RenderLayered();
        int blue = -1;
        EXPECT_TRUE(PumpUntil([&] {
            blue = GetBValue(UiTest::ScreenPixel(700 + 20, 500 + 20));
            return std::abs(blue - c.blue) <= 2;
        }, 2000)) << "screen shows blue " << blue;
    }
}

// --- fades -------------------------------------------------------------------

TEST_F(LayeredDialogTest, FirstShowInTheProcessFadesInAndALaterShowDoesNot) {
    CTestDialog::SetFadeInStarted(FALSE);
    CTestDialog first;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(PumpUntil([&] { return first.FadeAlphas().size() >= 7 && !first.Fading(); }));
    EXPECT_EQ(first.FadeAlphas(), (std::vector<int>{40, 80, 120, 160, 200, 240, 255}));
    EXPECT_EQ(first.Alpha(), 255);

    CTestDialog second;
    ASSERT_TRUE(second.Create());
    PumpFor(300);
    EXPECT_TRUE(second.FadeAlphas().empty());
    EXPECT_EQ(second.Alpha(), 0);
    second.DestroyWindow();
    first.DestroyWindow();
}

TEST_F(LayeredDialogTest, CloseFadesOutAndLeavesTheDialogOpenAndTakingInput) {
    CMyButton button;
    PlaceButton(button, IDC_UI_BUTTON_A, L"red.bmp", 10, 70, 20, 20);
    int clicks = 0;
    m_dlg->m_onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_COMMAND && wParam == MAKEWPARAM(IDC_UI_BUTTON_A, BN_CLICKED)) ++clicks;
    };
    m_dlg->SetAlpha(255);
    m_dlg->PostMessage(WM_CLOSE);
    ASSERT_TRUE(PumpUntil([&] { return m_dlg->FadeAlphas().size() >= 7 && !m_dlg->Fading(); }));
    EXPECT_EQ(m_dlg->FadeAlphas(), (std::vector<int>{215, 175, 135, 95, 55, 15, 0}));

    EXPECT_TRUE(::IsWindow(*m_dlg));
    EXPECT_TRUE(::IsWindowVisible(*m_dlg));
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_GE(clicks, 1);
}

TEST_F(LayeredDialogTest, FadesRunningTogetherEndAtTheBoundOfTheOneThatEndsLast) {
    m_dlg->SetAlpha(255);
    m_dlg->PostMessage(WM_CLOSE);
    ASSERT_TRUE(PumpUntil([&] { return !m_dlg->FadeAlphas().empty(); }));
    // A fade-in beside the running fade-out: it climbs back at once and ends,
    // and the slower fade-out ends last.
    ASSERT_NE(AfxBeginThread(&CTestDialog::FadeInThreadProc, m_dlg.get()), nullptr);
    auto climbedBack = [&] {
        const std::vector<int> alphas = m_dlg->FadeAlphas();
        return alphas.size() > 1 && std::find(alphas.begin() + 1, alphas.end(), 255) != alphas.end();
    };
    ASSERT_TRUE(PumpUntil([&] { return climbedBack() && m_dlg->Alpha() == 0 && !m_dlg->Fading(); }));
    EXPECT_EQ(m_dlg->FadeAlphas().front(), 215);
    EXPECT_EQ(m_dlg->FadeAlphas().back(), 0);
    EXPECT_EQ(m_dlg->Alpha(), 0);
}

// A dialog in storage of the test's own, so that what a fade might still
// write after the dialog is gone shows up in that storage.
TEST(LayeredDialogLifetime, NoFadeTouchesTheDialogAfterItIsGone) {
    CTestDialog::SetFadeInStarted(TRUE);
    enum class When { BeforeTheFadeStarts, WhileItRunsWindowGone, WhileItRunsWindowThere };
    struct Case {
        const char* what;
        When when;
    };
    const Case cases[] = {
        {"the fade thread starts after the dialog is deleted", When::BeforeTheFadeStarts},
        {"the fade runs; the window is destroyed, then the object", When::WhileItRunsWindowGone},
        {"the fade runs and sends paints while the object is deleted", When::WhileItRunsWindowThere},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        alignas(CTestDialog) static unsigned char storage[sizeof(CTestDialog)];
        auto* pDlg = new (storage) CTestDialog();
        ASSERT_TRUE(pDlg->Create());
        HWND hWnd = pDlg->m_hWnd;
        HANDLE hThread = nullptr;
        if (c.when == When::BeforeTheFadeStarts) {
            CWinThread* pThread = AfxBeginThread(&CTestDialog::FadeOutThreadProc, pDlg, THREAD_PRIORITY_NORMAL, 0,
                                                 CREATE_SUSPENDED);
            ASSERT_NE(pThread, nullptr);
            ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &hThread,
                                          0, FALSE, DUPLICATE_SAME_ACCESS));
            pDlg->SetAlpha(255);
            pDlg->DestroyWindow();
            pDlg->~CTestDialog();
            std::memset(storage, 0xDD, sizeof(storage));
            pThread->ResumeThread();
            EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0; }));
            ::CloseHandle(hThread);
        } else {
            pDlg->SetAlpha(255);
            pDlg->PostMessage(WM_CLOSE);
            ASSERT_TRUE(PumpUntil([&] { return !pDlg->FadeAlphas().empty(); }));
            if (c.when == When::WhileItRunsWindowGone) pDlg->DestroyWindow();
            pDlg->~CTestDialog();  // returns once the fade has stopped
            std::memset(storage, 0xDD, sizeof(storage));
            PumpFor(250);  // longer than what is left of a fade-out
            if (c.when == When::WhileItRunsWindowThere) ::DestroyWindow(hWnd);
        }
        bool untouched = true;
        for (unsigned char b : storage) untouched = untouched && b == 0xDD;
        EXPECT_TRUE(untouched);
    }
}

// --- window behaviour ------------------------------------------------------------

TEST_F(LayeredDialogTest, InitialisationSizesTheDialogAndMakesItsCompanion) {
    RECT rc{};
    ::GetWindowRect(*m_dlg, &rc);
    EXPECT_EQ(rc.right - rc.left, UiTest::kPictureWidth);
    EXPECT_EQ(rc.bottom - rc.top, UiTest::kPictureHeight);
    EXPECT_NE(m_dlg->GetExStyle() & WS_EX_LAYERED, 0u);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(*m_dlg, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 5);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    HWND hFake = m_dlg->FakeWnd();
    ASSERT_TRUE(::IsWindow(hFake));
    wchar_t szClass[64] = {};
    ::GetClassNameW(hFake, szClass, 64);
    EXPECT_STREQ(szClass, L"TranFakeWnd");
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hFake, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & (WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT),
              static_cast<DWORD>(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT));
    EXPECT_NE(::GetWindowLongPtrW(hFake, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(::GetWindow(hFake, GW_OWNER), m_dlg->m_hWnd);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"TranFakeWnd", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &::DefWindowProcW);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hCursor, ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
}

TEST_F(LayeredDialogTest, OnlyActivationOtherThanByAClickRecomposes) {
    struct Case {
        const char* what;
        WORD state;
        bool recomposes;
    };
    const Case cases[] = {
        {"WA_ACTIVE", WA_ACTIVE, true},
        {"WA_CLICKACTIVE", WA_CLICKACTIVE, false},
        {"WA_INACTIVE", WA_INACTIVE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_dlg->UpdateWindow();
        m_dlg->m_compositions.clear();
        m_dlg->SendMessage(WM_ACTIVATE, MAKEWPARAM(c.state, 0), 0);
        EXPECT_EQ(::GetUpdateRect(*m_dlg, nullptr, FALSE) != FALSE, c.recomposes);
        m_dlg->UpdateWindow();
        EXPECT_EQ(m_dlg->m_compositions.size(), c.recomposes ? 1u : 0u);
    }
}

TEST_F(LayeredDialogTest, CompanionFollowsMovesAndSizes) {
    HWND hFake = m_dlg->FakeWnd();
    RECT rc{};
    // Read at once: the next composition gives the companion the picture's size.
    m_dlg->MoveWindow(123, 77, UiTest::kPictureWidth, UiTest::kPictureHeight);
    ::GetWindowRect(hFake, &rc);
    EXPECT_EQ(rc.left, 123);
    EXPECT_EQ(rc.top, 77);

    m_dlg->SetWindowPos(nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(hFake, &rc);
    EXPECT_EQ(rc.left, 123);
    EXPECT_EQ(rc.right - rc.left, 150);
    EXPECT_EQ(rc.bottom - rc.top, 90);

    // Hiding and showing the dialog takes the companion along.
    m_dlg->ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(hFake));
    m_dlg->ShowWindow(SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(hFake));
}

TEST_F(LayeredDialogTest, DestroyTakesTheCompanionAndItsClassAndLaterCompositionsReturnAtOnce) {
    HWND hFake = m_dlg->FakeWnd();
    m_dlg->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hFake));
    EXPECT_EQ(m_dlg->FakeWnd(), nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    EXPECT_FALSE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"TranFakeWnd", &wc));
    m_dlg->m_compositions.clear();
    m_dlg->RenderLayered();
    EXPECT_TRUE(m_dlg->m_compositions.empty());
}

TEST_F(LayeredDialogTest, DragShowsAnOutlineAndGivesTheUsersSettingBack) {
    BOOL original = FALSE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &original, 0);
    for (BOOL users : {TRUE, FALSE}) {
        SCOPED_TRACE(users);
        ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, static_cast<UINT>(users), nullptr, 0);
        int inMoveLoop = -1;
        m_dlg->m_onMessage = [&](UINT message, WPARAM, LPARAM) {
            if (message == WM_ENTERSIZEMOVE) {
                BOOL now = -1;
                ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &now, 0);
                inMoveLoop = now;
            }
        };
        // The release is queued first: the move loop ends when it reads it.
        m_dlg->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        m_dlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        m_dlg->m_onMessage = nullptr;
        EXPECT_EQ(inMoveLoop, FALSE) << "an outline while dragging";
        BOOL after = -1;
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &after, 0);
        EXPECT_EQ(after, users);
    }
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, static_cast<UINT>(original), nullptr, 0);
}

}  // namespace
