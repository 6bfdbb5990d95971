// The skinned button: its state machine driven by mouse messages, recorded
// on both sides of the control (what the control itself does, and what it
// passes on to the platform's push-button processing), and its face, read
// back from the context of a print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "MyButton.h"
#include "UiTestSupport.h"

namespace {

using UiTest::Canvas;
using UiTest::CTestDialog;
using UiTest::FixtureName;
using UiTest::FixturePath;

constexpr COLORREF kMarker = RGB(255, 0, 255);
constexpr LPARAM kPrintFlags = PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN;

// --- recording ---------------------------------------------------------------

// One log for a row: "draw ..." for the button's own immediate draws,
// "command" for BN_CLICKED that the control sends, "std <message>" for what
// reaches the platform's processing. The platform's own click notification
// is left out: whether it comes is the platform's business.
std::vector<std::string> g_log;
int g_standardDepth = 0;
WNDPROC g_pfnStandard = nullptr;

const char* MouseName(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
        case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP: return "WM_LBUTTONUP";
        case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
        default: return nullptr;
    }
}

// Installed under the control's own subclassing: sees exactly what the
// control passes on.
LRESULT CALLBACK StandardRecorder(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const char* name = MouseName(message)) g_log.push_back(std::string("std ") + name);
    ++g_standardDepth;
    const LRESULT result = ::CallWindowProcW(g_pfnStandard, hWnd, message, wParam, lParam);
    --g_standardDepth;
    return result;
}

// The platform sends WM_DRAWITEM to the parent; only DrawNow sends it to the
// button's own window.
class CRecordingButton : public CMyButton {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DRAWITEM) {
            const auto* pDis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            std::string entry = "draw ";
            entry += pDis->itemAction == ODA_SELECT ? "select" : pDis->itemAction == ODA_DRAWENTIRE ? "entire" : "?";
            entry += pDis->itemState == ODS_FOCUS ? "/focus" : pDis->itemState == ODS_DEFAULT ? "/default" : "/?";
            g_log.push_back(entry);
        }
        return CMyButton::WindowProc(message, wParam, lParam);
    }
};

std::string SideBySide(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    std::ostringstream out;
    out << "expected                          | actual\n";
    for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        std::string e = i < expected.size() ? expected[i] : "";
        e.resize(34, ' ');
        out << e << "| " << (i < actual.size() ? actual[i] : "") << "\n";
    }
    return out.str();
}

// One dialog for the whole suite, whose button A gets a fresh skinned
// button object per case. The platform's side of the button and the parent
// are recorded.
class MyButtonTest : public UiTest::DialogSuite {
protected:
    static void SetUpTestSuite() {
        DialogSuite::SetUpTestSuite();
        HWND hButton = s_dlg->GetDlgItem(IDC_UI_BUTTON_A);
        g_pfnStandard = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandardRecorder)));
        s_dlg->m_onMessage = [](UINT message, WPARAM wParam, LPARAM) {
            if (message == WM_COMMAND && wParam == MAKEWPARAM(IDC_UI_BUTTON_A, BN_CLICKED) && g_standardDepth == 0) {
                g_log.push_back("command");
            }
        };
    }
    // A skinned button on button A at (10, 70), 20 x 20, owner-drawn, with
    // pszFace for all three states (or none loaded), in the normal state.
    std::unique_ptr<CRecordingButton> MakeButton(const wchar_t* pszFace = L"red.bmp") {
        HWND hButton = s_dlg->GetDlgItem(IDC_UI_BUTTON_A);
        // A capture change ends whatever press the platform's side still holds.
        ::SetCapture(hButton);
        ::ReleaseCapture();
        ::SetWindowTextW(hButton, L"");
        auto button = std::make_unique<CRecordingButton>();
        EXPECT_TRUE(button->SubclassDlgItem(IDC_UI_BUTTON_A, s_dlg));
        EXPECT_TRUE(button->InitButton(s_dlg));
        if (pszFace != nullptr) {
            const std::wstring face = FixtureName(pszFace);
            EXPECT_TRUE(button->LoadBitmaps(face.c_str(), face.c_str(), face.c_str()));
        }
        button->MoveWindow(10, 70, 20, 20);
        g_log.clear();
        return button;
    }

};


TEST_F(MyButtonTest, StateMachineFollowsTheMouse) {
    constexpr POINT in{5, 5};
    constexpr POINT out{50, 50};
    struct Step {
        UINT message;
        POINT point;
    };
    enum Capture { NotOurs, Ours, Either };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::string> log;
        int state;
        Capture capture;
    };
    const Row rows[] = {
        {"entering: one hover redraw, mouse captured",
         {{WM_MOUSEMOVE, in}},
         {"draw select/focus", "std WM_MOUSEMOVE"},
         CMyButton::BTN_HOVER, Ours},
        {"moving inside: no more redraws",
         {{WM_MOUSEMOVE, in}, {WM_MOUSEMOVE, in}, {WM_MOUSEMOVE, in}},
         {"draw select/focus", "std WM_MOUSEMOVE", "std WM_MOUSEMOVE", "std WM_MOUSEMOVE"},
         CMyButton::BTN_HOVER, Ours},
        {"leaving: normal redraw, capture released",
         {{WM_MOUSEMOVE, in}, {WM_MOUSEMOVE, out}},
         {"draw select/focus", "std WM_MOUSEMOVE", "draw entire/default", "std WM_MOUSEMOVE"},
         CMyButton::BTN_NORMAL, NotOurs},
        // The platform's processing of the release lets go of its own capture
        // after the control has taken it.
        {"press and release inside: one command, before the release goes on",
         {{WM_LBUTTONDOWN, in}, {WM_LBUTTONUP, in}},
         {"std WM_LBUTTONDOWN", "command", "std WM_LBUTTONUP"},
         CMyButton::BTN_HOVER, Either},
        {"press, out and back in, release inside: the press held, one command",
         {{WM_LBUTTONDOWN, in}, {WM_MOUSEMOVE, out}, {WM_MOUSEMOVE, in}, {WM_LBUTTONUP, in}},
         {"std WM_LBUTTONDOWN", "std WM_MOUSEMOVE", "std WM_MOUSEMOVE", "command", "std WM_LBUTTONUP"},
         CMyButton::BTN_HOVER, Either},
        {"held down outside: the pressed look stays",
         {{WM_LBUTTONDOWN, in}, {WM_MOUSEMOVE, out}},
         {"std WM_LBUTTONDOWN", "std WM_MOUSEMOVE"},
         CMyButton::BTN_PRESSED, Either},
        {"press, out, release outside: no command, normal redraw",
         {{WM_LBUTTONDOWN, in}, {WM_MOUSEMOVE, out}, {WM_LBUTTONUP, out}},
         {"std WM_LBUTTONDOWN", "std WM_MOUSEMOVE", "draw entire/default", "std WM_LBUTTONUP"},
         CMyButton::BTN_NORMAL, NotOurs},
        {"release inside without a press: hover, captured, no command",
         {{WM_LBUTTONUP, in}},
         {"std WM_LBUTTONUP"},
         CMyButton::BTN_HOVER, Ours},
        {"release outside: normal redraw",
         {{WM_LBUTTONUP, out}},
         {"draw entire/default", "std WM_LBUTTONUP"},
         CMyButton::BTN_NORMAL, NotOurs},
        {"double click: the second press is the platform's, one command",
         {{WM_LBUTTONDOWN, in}, {WM_LBUTTONUP, in}, {WM_LBUTTONDBLCLK, in}, {WM_LBUTTONUP, in}},
         {"std WM_LBUTTONDOWN", "command", "std WM_LBUTTONUP", "std WM_LBUTTONDBLCLK", "std WM_LBUTTONUP"},
         CMyButton::BTN_HOVER, Either},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto button = MakeButton();
        for (const Step& step : row.steps) {
            const WPARAM keys = step.message == WM_LBUTTONUP || step.message == WM_MOUSEMOVE ? 0 : MK_LBUTTON;
            ::SendMessageW(*button, step.message, keys, MAKELPARAM(step.point.x, step.point.y));
        }
        EXPECT_EQ(g_log, row.log) << SideBySide(row.log, g_log);
        EXPECT_EQ(button->m_nState, row.state);
        if (row.capture != Either) {
            EXPECT_EQ(::GetCapture() == button->m_hWnd, row.capture == Ours);
        }
    }
}

TEST_F(MyButtonTest, InitButtonMakesItOwnerDrawnWithTheParentsFontAndLoadBitmapsSizesIt) {
    // A plain push button to start from.
    ::SetWindowLongPtrW(s_dlg->GetDlgItem(IDC_UI_BUTTON_A), GWL_STYLE, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    const auto button = MakeButton(nullptr);
    EXPECT_EQ(button->GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_NE(button->GetStyle() & WS_VISIBLE, 0u) << "nothing removed";
    EXPECT_EQ(button->m_pFont, s_dlg->GetFont());
    EXPECT_NE(button->m_pFont, nullptr);
    EXPECT_EQ(button->m_crText, RGB(0, 0, 0));

    const std::wstring face = FixtureName(L"quadrants.bmp");
    EXPECT_TRUE(button->LoadBitmaps(face.c_str(), nullptr, nullptr));
    RECT rc{};
    button->GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 10);
    EXPECT_EQ(rc.bottom - rc.top, 10);
}

// --- the face ---------------------------------------------------------------

// What the layered dialog captures: a print into a context of the button's
// client size, here filled beforehand with a marker colour.
std::unique_ptr<Canvas> Print(CMyButton& button, int cx, int cy) {
    auto canvas = std::make_unique<Canvas>(cx, cy, kMarker);
    ::SendMessageW(button, WM_PRINT, reinterpret_cast<WPARAM>(canvas->Dc()), kPrintFlags);
    return canvas;
}

TEST_F(MyButtonTest, FaceIsStretchedToTheButton) {
    UiTest::WriteBmp(FixturePath(L"quadrants30.bmp"), 30, 30, [](int x, int y) {
        if (y < 15) return x < 15 ? RGB(255, 0, 0) : RGB(0, 255, 0);
        return x < 15 ? RGB(0, 0, 255) : RGB(255, 255, 0);
    });
    struct Case {
        const wchar_t* face;
        int size;  // of the button
    };
    const Case cases[] = {{L"quadrants.bmp", 20}, {L"quadrants30.bmp", 15}, {L"quadrants.bmp", 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const auto button = MakeButton(nullptr);
        const std::wstring face = FixtureName(c.face);
        ASSERT_TRUE(button->LoadBitmaps(face.c_str(), nullptr, nullptr));
        button->MoveWindow(10, 70, c.size, c.size);
        const auto canvas = Print(*button, c.size, c.size);
        const int edge = c.size - 2;
        EXPECT_EQ(canvas->At(1, 1), RGB(255, 0, 0));
        EXPECT_EQ(canvas->At(edge, 1), RGB(0, 255, 0));
        EXPECT_EQ(canvas->At(1, edge), RGB(0, 0, 255));
        EXPECT_EQ(canvas->At(edge, edge), RGB(255, 255, 0));
        const std::vector<COLORREF> all = canvas->All();
        EXPECT_EQ(std::count(all.begin(), all.end(), kMarker), 0) << "the whole button is covered";
    }
}

TEST_F(MyButtonTest, PureWhiteIsLeftUndrawnAndNearWhiteIsDrawn) {
    UiTest::WriteBmp(FixturePath(L"whites.bmp"), 6, 2, [](int x, int) {
        return x < 2 ? RGB(255, 255, 255) : x < 4 ? RGB(254, 255, 255) : RGB(0, 0, 0);
    });
    const auto button = MakeButton(L"whites.bmp");
    button->MoveWindow(10, 70, 6, 2);
    const auto canvas = Print(*button, 6, 2);
    EXPECT_EQ(canvas->At(0, 0), kMarker);
    EXPECT_EQ(canvas->At(1, 1), kMarker);
    EXPECT_EQ(canvas->At(2, 0), RGB(254, 255, 255));
    EXPECT_EQ(canvas->At(4, 1), RGB(0, 0, 0));
}

TEST_F(MyButtonTest, CaptionTakesTheStateColourAndAMissingFaceDrawsNothing) {
    UiTest::WriteBmp(FixturePath(L"white.bmp"), 10, 10, [](int, int) { return RGB(255, 255, 255); });
    const COLORREF normal = RGB(0, 0, 0), hover = RGB(17, 17, 17), press = RGB(127, 63, 63);
    const COLORREF red = RGB(255, 0, 0);
    struct Case {
        const char* what;
        const wchar_t* faces[3];  // normal, hover, pressed
        int state;
        COLORREF caption;        // the colour that must show, or kMarker for no caption
        bool face;               // whether red face pixels show
    };
    const Case cases[] = {
        {"normal", {L"white.bmp", L"white.bmp", L"white.bmp"}, CMyButton::BTN_NORMAL, normal, false},
        {"hover", {L"white.bmp", L"white.bmp", L"white.bmp"}, CMyButton::BTN_HOVER, hover, false},
        {"pressed", {L"white.bmp", L"white.bmp", L"white.bmp"}, CMyButton::BTN_PRESSED, press, false},
        {"hover face missing: the caption only", {L"red.bmp", L"missing.bmp", L"red.bmp"}, CMyButton::BTN_HOVER,
         hover, false},
        {"normal face of the same button still there", {L"red.bmp", L"missing.bmp", L"red.bmp"},
         CMyButton::BTN_NORMAL, normal, true},
        {"normal face missing: nothing at all", {L"missing.bmp", L"red.bmp", L"red.bmp"}, CMyButton::BTN_NORMAL,
         kMarker, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto button = MakeButton(nullptr);
        button->LoadBitmaps(FixtureName(c.faces[0]).c_str(), FixtureName(c.faces[1]).c_str(),
                            FixtureName(c.faces[2]).c_str());
        button->SetWindowText(L"WWW");
        button->MoveWindow(10, 70, 40, 20);
        button->m_nState = c.state;
        const auto canvas = Print(*button, 40, 20);
        const std::vector<COLORREF> all = canvas->All();
        auto count = [&](COLORREF colour) { return std::count(all.begin(), all.end(), colour); };
        if (c.caption == kMarker) {
            EXPECT_EQ(count(kMarker), static_cast<std::ptrdiff_t>(all.size()));
            continue;
        }
        EXPECT_GT(count(c.caption), 0);
        for (COLORREF other : {normal, hover, press}) {
            if (other != c.caption) {
                EXPECT_EQ(count(other), 0);
            }
        }
        EXPECT_EQ(count(red) > 0, c.face);
    }
}

}  // namespace
