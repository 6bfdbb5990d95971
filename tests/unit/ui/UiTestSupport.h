// What the tests of the layered dialog and the skinned controls share: GDI+
// started for the whole process, fixture pictures written beside the test
// program, message pumping with bounded waits, pixel read-back, and a dialog
// on the base made from the test-only template.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TransparentDialogBase.h"
#include "UiTestIds.h"

namespace UiTest {

// Serves this thread's messages until cond holds (true) or timeoutMs has
// passed (false).
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Serves this thread's messages for ms: only for checking that something
// does not happen.
void PumpFor(DWORD ms);

// The folder of the test program, with its trailing backslash.
std::wstring ProgramFolder();

// Fixture files live in a folder of this process beside the test program.
// FixtureName is the name relative to the program's folder (what the
// controls take), FixturePath the full path.
std::wstring FixtureName(const wchar_t* pszFile);
std::wstring FixturePath(const wchar_t* pszFile);

// A 24-bit bitmap file; pixel(x, y) gives the colour, rows top-down.
void WriteBmp(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& pixel);
// A 32-bit PNG with straight alpha; argb(x, y) gives 0xAARRGGBB.
void WritePng(const std::wstring& path, int width, int height, const std::function<uint32_t(int, int)>& argb);

// The standard fixtures, written once per process.
// background.png: 240 x 120; left half of the top opaque 0xFFC80000, right
// half of the top 50 % green 0x8000FF00, bottom half (y >= 60) transparent.
// frame.png: 240 x 120, opaque blue. missing.png: not there.
// red.bmp, blue.bmp: 10 x 10 solid. quadrants.bmp: 10 x 10 with red (top
// left), green (top right), blue (bottom left) and yellow (bottom right).
constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 120;
constexpr uint32_t kOpaqueRed = 0xFFC80000;
constexpr uint32_t kHalfGreen = 0x8000FF00;
constexpr uint32_t kOpaqueBlue = 0xFF0000FF;

// Pixels read back, top-down rows of 0xAARRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// A memory context holding a 32-bit top-down section filled with one colour:
// the target of a print or an owner draw.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const;
    // Every pixel, as COLORREF values.
    std::vector<COLORREF> All() const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_section = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

// Reads a screen pixel (COLORREF).
COLORREF ScreenPixel(int x, int y);

// Within one unit per channel, for values that went through premultiplying.
bool NearArgb(uint32_t a, uint32_t b);

// A dialog on the layered base, made modeless from the test-only template.
class CTestDialog : public UI::CTransparentDialogBase {
public:
    explicit CTestDialog(const std::wstring& background = FixturePath(L"background.png"))
        : CTransparentDialogBase(IDD_UI_TEST, background.c_str()) {}

    ~CTestDialog() override { ReplaceFrameImage(nullptr); }

    BOOL Create() { return CDialog::Create(IDD_UI_TEST); }
    // The process-wide "first show" flag: a test decides whether a show
    // starts the fade-in.
    static void SetFadeInStarted(BOOL bStarted) { s_bFadeInStarted = bStarted; }

    // One composition's picture, built exactly as RenderLayered builds it.
    Pixels Compose();

    int Alpha() const { return m_nAlpha; }
    void SetAlpha(int nAlpha) { m_nAlpha = nAlpha; }
    HWND FakeWnd() const { return m_hFakeWnd; }
    UINT Width() const { return m_nWidth; }
    UINT Height() const { return m_nHeight; }
    // What GDI+ said when the background was loaded.
    Gdiplus::Status BackgroundStatus() { return m_imgBackground.GetLastStatus(); }
    BOOL Fading() const { return IsFading(); }

    struct Composition {
        int alpha;
        bool fromFade;  // asked for by WM_PAINT sent from another thread
    };
    std::vector<Composition> m_compositions;
    // The opacities of the compositions that the fades asked for.
    std::vector<int> FadeAlphas() const;

    // Sees every message that reaches the dialog, before it is handled.
    std::function<void(UINT, WPARAM, LPARAM)> m_onMessage;

protected:
    void OnDrawAfterBackground(Gdiplus::Graphics* pGraphics) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A suite that shares one test dialog, made when the suite starts (with the
// fade-in marked as done) and destroyed when it ends.
class DialogSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CTestDialog::SetFadeInStarted(TRUE);
        s_dlg = new CTestDialog;
        ASSERT_TRUE(s_dlg->Create());
    }
    static void TearDownTestSuite() {
        s_dlg->DestroyWindow();
        delete s_dlg;
        s_dlg = nullptr;
    }

    static inline CTestDialog* s_dlg = nullptr;
};

}  // namespace UiTest
