// The owner-drawn label: the group frame's lines and where its text goes,
// the plain looks with their shadow and disabled engraving, by pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "MyStatic.h"
#include "UiTestSupport.h"

namespace {

using UiTest::Canvas;
using UiTest::CTestDialog;

constexpr COLORREF kMarker = RGB(255, 0, 255);
constexpr COLORREF kText = RGB(200, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFrameGrey = RGB(154, 154, 154);
constexpr COLORREF kTextGrey = RGB(127, 127, 127);
constexpr int kWidth = 100;
constexpr int kHeight = 40;

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    int count = 0;
};

Box BoxOf(const Canvas& canvas, COLORREF colour) {
    Box box;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (canvas.At(x, y) != colour) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
            ++box.count;
        }
    }
    return box;
}

// One dialog for the whole suite. The label is drawn straight into a
// canvas, with a font whose glyphs have no blended edges.
class MyStaticTest : public UiTest::DialogSuite {
protected:

    void SetUp() override {
        ASSERT_TRUE(label.SubclassDlgItem(IDC_UI_LABEL, s_dlg));
        label.SetWindowText(L"Label");
        label.m_pFont = font;
        label.m_crText = kText;
    }

    std::unique_ptr<Canvas> Draw(UINT nState = 0) {
        auto canvas = std::make_unique<Canvas>(kWidth, kHeight, kMarker);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_STATIC;
        dis.CtlID = IDC_UI_LABEL;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState;
        dis.hwndItem = label;
        dis.hDC = canvas->Dc();
        dis.rcItem = {0, 0, kWidth, kHeight};
        label.DrawItem(&dis);
        return canvas;
    }

    int TextWidth(const Canvas& canvas) {
        CSelectObject select(canvas.Dc(), font);
        SIZE extent{};
        ::GetTextExtentPoint32W(canvas.Dc(), L"Label", 5, &extent);
        return extent.cx;
    }

    CMyStatic label;
    CFont font{::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma")};
};


TEST_F(MyStaticTest, FrameLookDrawsItsLinesAndSetsTheTextInTheGap) {
    label.m_bFrame = 1;
    const auto canvas = Draw();
    const int w = TextWidth(*canvas);
    ASSERT_GT(w, 10);

    struct Probe {
        const char* what;
        int x, y;
        COLORREF colour;
        bool is;  // the pixel is (true) or is not (false) that colour
    };
    const Probe probes[] = {
        // White lines on (1, 7, 100, 40).
        {"white top, left part", 5, 7, kWhite, true},
        {"white top, left part ends before L + 10", 11, 7, kWhite, false},
        {"white top, left part's last pixel", 10, 7, kWhite, true},
        {"white top, right part starts at L + w + 12", 1 + w + 12, 7, kWhite, true},
        {"white top, gap", 1 + w + 11, 7, kWhite, false},
        {"white left", 1, 25, kWhite, true},
        {"white bottom", 50, 39, kWhite, true},
        {"white right", 99, 25, kWhite, true},
        // Grey lines on (0, 6, 99, 39).
        {"grey top, left part", 5, 6, kFrameGrey, true},
        {"grey top, left part's last pixel", 10, 6, kFrameGrey, true},
        {"grey top, gap", 11, 6, kFrameGrey, false},
        {"grey top, right part starts at L + w + 12", w + 12, 6, kFrameGrey, true},
        {"grey top, gap's last pixel", w + 11, 6, kFrameGrey, false},
        {"grey left", 0, 25, kFrameGrey, true},
        {"grey bottom", 50, 38, kFrameGrey, true},
        {"grey bottom starts at L + 2", 1, 38, kFrameGrey, false},
        {"grey right", 98, 25, kFrameGrey, true},
        {"inside the frame: untouched", 50, 25, kMarker, true},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(canvas->At(p.x, p.y) == p.colour, p.is) << p.what << " at " << p.x << "," << p.y;
    }
    // The text sits at the top, 12 pixels in, within its measured width.
    const Box text = BoxOf(*canvas, kText);
    ASSERT_GT(text.count, 0);
    EXPECT_GE(text.left, 12);
    EXPECT_LT(text.right, 12 + w);
    EXPECT_LT(text.top, 6);
    EXPECT_LT(text.bottom, 20);
}

TEST_F(MyStaticTest, PlainLooksShadowAndDisabledEngraving) {
    const Box plain = BoxOf(*Draw(), kText);
    ASSERT_GT(plain.count, 0);
    EXPECT_LT(plain.left, 3) << "at the left, no frame indent";

    struct Case {
        const char* what;
        BOOL frame;
        BOOL shadow;
        UINT format;
        UINT state;
        COLORREF front;   // the text's own colour, at the text's place
        COLORREF behind;  // the copy one pixel down and right, or kMarker for none
    };
    const Case cases[] = {
        {"plain", 0, 0, 0, 0, kText, kMarker},
        {"shadow: a grey copy drawn over it, down and right", 0, 1, 0, 0, kText, kTextGrey},
        {"a shadow value other than 1: none", 0, 2, 0, 0, kText, kMarker},
        {"a frame value other than 1: the plain look", 2, 0, 0, 0, kText, kMarker},
        {"disabled: grey, then white down and right", 0, 0, 0, ODS_DISABLED, kTextGrey, kWhite},
        {"disabled ignores the shadow", 0, 1, 0, ODS_DISABLED, kTextGrey, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        label.m_bFrame = c.frame;
        label.m_bShadow = c.shadow;
        label.m_nFormat = c.format;
        const auto canvas = Draw(c.state);
        const Box front = BoxOf(*canvas, c.front);
        // The first drawing keeps its top row and left column.
        EXPECT_EQ(front.left, plain.left);
        EXPECT_EQ(front.top, plain.top);
        if (c.behind == kMarker) {
            EXPECT_EQ(front.right, plain.right);
            EXPECT_EQ(front.bottom, plain.bottom);
            EXPECT_EQ(BoxOf(*canvas, kTextGrey).count + BoxOf(*canvas, kWhite).count, 0);
        } else {
            const Box behind = BoxOf(*canvas, c.behind);
            EXPECT_EQ(behind.left, plain.left + 1);
            EXPECT_EQ(behind.top, plain.top + 1);
            EXPECT_EQ(behind.right, plain.right + 1);
            EXPECT_EQ(behind.bottom, plain.bottom + 1);
        }
        if (c.state & ODS_DISABLED) {
            EXPECT_EQ(BoxOf(*canvas, kText).count, 0);
        }
        EXPECT_EQ(canvas->At(5, 7), kMarker) << "no frame line";
    }

    // The format flags are added to the word break: right-aligned here.
    label.m_bFrame = 0;
    label.m_bShadow = 0;
    label.m_nFormat = DT_RIGHT;
    const Box right = BoxOf(*Draw(), kText);
    EXPECT_GT(right.right, kWidth - 4);
    EXPECT_EQ(right.right - right.left, plain.right - plain.left);
}

TEST_F(MyStaticTest, DrawItemPutsTheFontBackAndIsReachedOnlyForAnOwnerDrawnItem) {
    Canvas canvas(kWidth, kHeight, kMarker);
    HGDIOBJ original = ::GetCurrentObject(canvas.Dc(), OBJ_FONT);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_STATIC;
    dis.hwndItem = label;
    dis.hDC = canvas.Dc();
    dis.rcItem = {0, 0, kWidth, kHeight};
    label.DrawItem(&dis);
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_FONT), original);

    // Erasing paints nothing.
    EXPECT_EQ(label.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc())), TRUE);

    class CCountingStatic : public CMyStatic {
    public:
        void DrawItem(LPDRAWITEMSTRUCT pDis) override {
            ++m_nDraws;
            CMyStatic::DrawItem(pDis);
        }
        int m_nDraws = 0;
    };
    struct Case {
        const char* what;
        UINT id;
        int draws;
    };
    const Case cases[] = {
        {"owner-drawn item", IDC_UI_LABEL, 1},
        {"plain static: the platform draws it", IDC_UI_PLAIN_LABEL, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCountingStatic counting;
        if (c.id == IDC_UI_LABEL) label.UnsubclassWindow();
        ASSERT_TRUE(counting.SubclassDlgItem(c.id, s_dlg));
        ::MoveWindow(counting, 10, 70, 60, 20, TRUE);
        Canvas target(60, 20, kMarker);
        counting.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(target.Dc()), PRF_CLIENT | PRF_NONCLIENT);
        EXPECT_EQ(counting.m_nDraws, c.draws);
        counting.UnsubclassWindow();
    }
}

}  // namespace
