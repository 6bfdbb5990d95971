// The skinned progress bar: the fill arithmetic and the column-by-column
// sweep (recorded as the update rectangle of every paint), the clamps, two
// threads moving it at once, and its pixels on screen and in a print.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "BmpProgressCtrl.h"
#include "UiTestSupport.h"

namespace {

using UiTest::Canvas;
using UiTest::CTestDialog;
using UiTest::PumpUntil;

constexpr COLORREF kMarker = RGB(255, 0, 255);
constexpr int kBarHeight = 14;

// Columns [left, right) of one paint.
using Span = std::pair<int, int>;

std::vector<Span> Columns(int first, int last) {
    std::vector<Span> spans;
    for (int x = first; x <= last; ++x) spans.push_back({x, x + 1});
    return spans;
}

std::vector<Span> operator+(std::vector<Span> a, const std::vector<Span>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Describe(const std::vector<Span>& spans) {
    std::ostringstream out;
    out << spans.size() << " paints:";
    for (const Span& s : spans) out << " [" << s.first << "," << s.second << ")";
    return out.str();
}

// Records the update rectangle of every paint; every paint runs on the
// dialog's thread, whichever thread asked for it.
class CRecordingBar : public CBmpProgressCtrl {
public:
    std::vector<Span> m_paints;
    bool m_bFullHeight = true;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        // A paint that finds nothing to update changes nothing on screen: it
        // comes when this thread's own queue painted a column before the
        // worker's synchronous request for it arrived.
        RECT rc{};
        if (message == WM_PAINT && ::GetUpdateRect(m_hWnd, &rc, FALSE)) {
            m_paints.push_back({rc.left, rc.right});
            m_bFullHeight = m_bFullHeight && rc.top == 0 && rc.bottom == kBarHeight;
        }
        return CBmpProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

// One dialog for the whole suite; every case attaches a fresh bar object
// to its progress item.
class BmpProgressCtrlTest : public UiTest::DialogSuite {
protected:

    // A bar set up the way the dialogs do it: placed, loaded, range set, at 0.
    std::unique_ptr<CRecordingBar> MakeBar(int nClientWidth = 197, int nMax = 100) {
        auto bar = std::make_unique<CRecordingBar>();
        EXPECT_TRUE(bar->SubclassDlgItem(IDC_UI_PROGRESS, s_dlg));
        bar->ShowWindow(SW_SHOW);
        bar->MoveWindow(20, 90, nClientWidth, kBarHeight);
        EXPECT_TRUE(bar->LoadBitmaps());
        bar->m_nMax = nMax;
        bar->SetBarPos(0);
        bar->UpdateWindow();
        bar->m_paints.clear();
        return bar;
    }

};


TEST_F(BmpProgressCtrlTest, LoadBitmapsKeepsTheClientSizeAndSizesTheBarToItsStrip) {
    const auto bar = MakeBar(200);
    EXPECT_EQ(bar->m_nClientWidth, 200);
    EXPECT_EQ(bar->m_nClientHeight, kBarHeight);
    EXPECT_EQ(bar->m_nImageWidth, 197);
    EXPECT_EQ(bar->m_nImageHeight, 14);
    RECT rc{};
    bar->GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 197);
}

TEST_F(BmpProgressCtrlTest, SweepsTheChangedColumnsOneByOneLeftToRight) {
    const auto bar = MakeBar();
    struct Step {
        int pos;
        int fill;
        std::vector<Span> paints;
    };
    const Step steps[] = {
        {50, 98, Columns(0, 97)},
        {50, 98, {}},
        {80, 157, Columns(98, 156)},
        {60, 118, Columns(118, 156)},  // shrinking also sweeps left to right
        {100, 197, Columns(118, 196)},
        {0, 0, {{0, 197}}},            // back to 0: one paint, at once
        {0, 0, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pos);
        bar->m_paints.clear();
        bar->SetBarPos(s.pos);
        EXPECT_EQ(bar->m_nFillWidth, s.fill);
        EXPECT_EQ(bar->m_nPrevFillWidth, s.fill);
        EXPECT_EQ(bar->m_paints, s.paints) << Describe(bar->m_paints);
    }
    EXPECT_TRUE(bar->m_bFullHeight);
}

TEST_F(BmpProgressCtrlTest, FillIsHeldToTheBarAndNeverDividesByZero) {
    struct Case {
        const char* what;
        int width;
        int max;
        int pos;
        int fill;
    };
    const Case cases[] = {
        {"29 of 100 on 200 columns: divided first", 200, 100, 29, 57},
        {"above the range: the whole bar", 197, 100, 150, 197},
        {"the largest position", 197, 100, INT_MAX, 197},
        {"below the range: no fill", 197, 100, -20, 0},
        {"the smallest position", 197, 100, INT_MIN, 0},
        {"no range", 197, 0, 50, 0},
        {"a negative range", 197, -5, 50, 0},
        {"no width when loaded", 0, 100, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bar = MakeBar(c.width, c.max);
        bar->SetBarPos(c.pos);
        EXPECT_EQ(bar->m_nFillWidth, c.fill);
        EXPECT_EQ(bar->m_nPrevFillWidth, c.fill);
        EXPECT_EQ(bar->m_paints, Columns(0, c.fill - 1)) << Describe(bar->m_paints);
        // Painting and printing with these values draws without failing.
        bar->InvalidateRect(nullptr, TRUE);
        bar->UpdateWindow();
        Canvas canvas(197, kBarHeight, kMarker);
        EXPECT_EQ(bar->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT), 0);
    }
}

TEST_F(BmpProgressCtrlTest, TwoThreadsMovingTheBarTakeTurns) {
    const auto bar = MakeBar();
    // The worker's sweep needs this thread to paint each column; this
    // thread's own call comes in the middle of it and must wait its turn
    // while still painting for the worker.
    std::thread worker([&] { bar->SetBarPos(100); });
    ASSERT_TRUE(PumpUntil([&] { return !bar->m_paints.empty(); }));
    bar->SetBarPos(30);
    worker.join();
    EXPECT_EQ(bar->m_paints, Columns(0, 196) + Columns(59, 196)) << Describe(bar->m_paints);
    EXPECT_EQ(bar->m_nFillWidth, 59);
    EXPECT_EQ(bar->m_nPrevFillWidth, 59);
}

TEST_F(BmpProgressCtrlTest, WhiteIsTransparentOnScreenAndOpaqueInAPrintThatIgnoresSizeAndVisibility) {
    const auto bar = MakeBar();
    bar->SetBarPos(50);  // fill 98
    // Marked pixels in the strips themselves: pure white and near white.
    ::SetPixel(bar->m_dcRun, 20, 7, RGB(255, 255, 255));
    ::SetPixel(bar->m_dcNormal, 150, 7, RGB(255, 255, 255));
    ::SetPixel(bar->m_dcNormal, 151, 7, RGB(254, 255, 255));
    const COLORREF normal20 = ::GetPixel(bar->m_dcNormal, 20, 7);
    const COLORREF run60 = ::GetPixel(bar->m_dcRun, 60, 7);
    const COLORREF normal160 = ::GetPixel(bar->m_dcNormal, 160, 7);
    ASSERT_NE(run60, normal160);
    ASSERT_NE(normal20, RGB(255, 255, 255));

    struct Probe {
        int x;
        COLORREF screen;  // through the paint handler, over the marker
        COLORREF print;
    };
    const Probe probes[] = {
        {20, normal20, RGB(255, 255, 255)},  // the empty bar shows through the fill
        {150, kMarker, RGB(255, 255, 255)},
        {151, RGB(254, 255, 255), RGB(254, 255, 255)},
        {60, run60, run60},
        {160, normal160, normal160},
    };

    // On screen: the marker is put under the bar, then the bar paints over it.
    {
        CClientDC dc(*bar);
        RECT rc{0, 0, 197, kBarHeight};
        CBrush marker(::CreateSolidBrush(kMarker));
        ::FillRect(dc, &rc, marker);
        bar->InvalidateRect(nullptr, FALSE);
        bar->UpdateWindow();
        for (const Probe& p : probes) EXPECT_EQ(::GetPixel(dc, p.x, 7), p.screen) << "screen x " << p.x;
    }

    // Printed while hidden at zero size, the way the dialogs put it away.
    bar->MoveWindow(20, 90, 0, 0);
    bar->ShowWindow(SW_HIDE);
    Canvas canvas(197, kBarHeight, kMarker);
    EXPECT_EQ(bar->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()),
                                PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN),
              0);
    for (const Probe& p : probes) EXPECT_EQ(canvas.At(p.x, 7), p.print) << "print x " << p.x;
}

}  // namespace
