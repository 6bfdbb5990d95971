// GDI hygiene: thousands of compositions of a dialog with skinned children,
// with picture replacements, bar sweeps and hover redraws between them, must
// give back every handle they take. Under Wine GetGuiResources says 0, so the
// meter counts the free handle slots instead: memory contexts are made until
// the process can make no more, counted, and deleted.
#include <gtest/gtest.h>

#include <vector>

#include "AppPath.h"
#include "BmpProgressCtrl.h"
#include "MyButton.h"
#include "MyStatic.h"
#include "UiTestSupport.h"

namespace {

using UiTest::CTestDialog;

int FreeGdiSlots() {
    std::vector<HDC> dcs;
    for (;;) {
        HDC hdc = ::CreateCompatibleDC(nullptr);
        if (hdc == nullptr) break;
        dcs.push_back(hdc);
    }
    for (HDC hdc : dcs) ::DeleteDC(hdc);
    return static_cast<int>(dcs.size());
}

std::wstring AppPath(const wchar_t* pszName) {
    wchar_t szPath[kAppPathLength];
    return MakeAppPath(pszName, szPath);
}

TEST(GdiHygiene, ThousandsOfCompositionsWithChildrenLeakNoHandle) {
    CTestDialog::SetFadeInStarted(TRUE);
    CTestDialog dlg(AppPath(L"img\\Animation\\Backup\\a-1.png"));
    ASSERT_TRUE(dlg.Create());
    dlg.SetAlpha(255);

    // Seven visible children, as many as the progress dialogs carry.
    struct Skin {
        UINT id;
        const wchar_t* stem;
        RECT place;  // x, y, width, height
    };
    const Skin skins[] = {
        {IDC_UI_BUTTON_A, L"cancel", {225, 15, 15, 15}},
        {IDC_UI_BUTTON_B, L"hide", {245, 15, 15, 15}},
        {IDC_UI_BUTTON_C, L"close", {104, 136, 70, 28}},
    };
    CMyButton buttons[3];
    for (int i = 0; i < 3; ++i) {
        const std::wstring stem = std::wstring(L"img\\Animation\\") + skins[i].stem;
        ASSERT_TRUE(buttons[i].SubclassDlgItem(skins[i].id, &dlg));
        buttons[i].InitButton(&dlg);
        ASSERT_TRUE(buttons[i].LoadBitmaps((stem + L"_nomal.bmp").c_str(), (stem + L"_hover.bmp").c_str(),
                                           (stem + L"_press.bmp").c_str()));
        const RECT& r = skins[i].place;
        buttons[i].MoveWindow(r.left, r.top, r.right, r.bottom);
    }
    CBmpProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassDlgItem(IDC_UI_PROGRESS, &dlg));
    bar.MoveWindow(22, 72, 197, 14);
    ASSERT_TRUE(bar.LoadBitmaps());
    CMyStatic label;
    ASSERT_TRUE(label.SubclassDlgItem(IDC_UI_LABEL, &dlg));
    label.m_bFrame = 1;
    label.m_pFont = dlg.GetFont();
    label.MoveWindow(20, 100, 120, 30);
    ::MoveWindow(dlg.GetDlgItem(IDC_UI_PLAIN_LABEL), 150, 100, 60, 16, TRUE);
    HWND hEdit = dlg.GetDlgItem(IDC_UI_EDIT);
    ::MoveWindow(hEdit, 20, 140, 70, 20, TRUE);
    ::SetFocus(hEdit);  // the caret line too

    const std::wstring frames[] = {AppPath(L"img\\Animation\\Backup\\a-2.png"),
                                   AppPath(L"img\\Animation\\Backup\\a-3.png"),
                                   AppPath(L"img\\Animation\\Backup\\missing.png")};
    // Every round composes and pushes; every tenth also replaces the picture,
    // moves the bar and redraws a button entered and left.
    auto round = [&](int i) {
        if (i % 10 == 0) {
            dlg.LoadFrameImage(frames[(i / 10) % 3].c_str());
            bar.SetBarPos((i / 10) % 101);
            ::SendMessageW(buttons[i % 3], WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            ::SendMessageW(buttons[i % 3], WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
        }
        dlg.RenderLayered();
        UiTest::PumpUntil([] { return true; }, 0);
    };
    // The first rounds fill caches that live as long as the process.
    for (int i = 0; i < 30; ++i) round(i);
    const int before = FreeGdiSlots();
    ASSERT_GT(before, 1000);

    const int nCompositions = 2000;
    for (int i = 0; i < nCompositions; ++i) round(i);
    dlg.ReplaceFrameImage(nullptr);

    const int after = FreeGdiSlots();
    EXPECT_EQ(before - after, 0) << "handles leaked over " << nCompositions << " compositions";
    dlg.DestroyWindow();
}

}  // namespace
