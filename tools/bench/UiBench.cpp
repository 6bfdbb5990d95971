// ui-bench: what the layered dialog and the skinned bar cost, each beside a
// floor measured in the same run, so that the ratios hold on any machine.
//
//   composition: one RenderLayered of a 280 x 180 picture with seven children
//                (the background, every child printed and copied, the push),
//                beside pushing an already composed section of the same size
//                with UpdateLayeredWindow alone;
//   bar sweep:   one column paint of a full 0-to-100 sweep of the 197-pixel
//                bar (197 synchronous paints), beside a plain BitBlt of one
//                column of the same strip into the bar's window.
//
// Times are medians of single measurements, after a warm-up.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "AppPath.h"
#include "BmpProgressCtrl.h"
#include "MyButton.h"
#include "TransparentDialogBase.h"
#include "UiBenchIds.h"

namespace {

constexpr int kWarmUp = 10;
constexpr int kCompositions = 300;
constexpr int kSweeps = 20;

double NowMs() {
    static const double msPerTick = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return 1000.0 / static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * msPerTick;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0.0 : samples[samples.size() / 2];
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring AppPath(const wchar_t* pszName) {
    wchar_t szPath[kAppPathLength];
    return MakeAppPath(pszName, szPath);
}

// A progress dialog's picture with all seven of its children in sight.
class CBenchDialog : public UI::CTransparentDialogBase {
public:
    CBenchDialog() : CTransparentDialogBase(IDD_UI_BENCH, AppPath(L"img\\Animation\\Backup\\a-1.png").c_str()) {
        s_bFadeInStarted = TRUE;  // no fade running beside the measurements
        m_nAlpha = 255;
    }
    ~CBenchDialog() override { ReplaceFrameImage(nullptr); }

    BOOL OnInitDialog() override {
        CTransparentDialogBase::OnInitDialog();
        struct Skin {
            UINT id;
            const wchar_t* normal;
            const wchar_t* hover;
            const wchar_t* press;
            int x, y, cx, cy;
        };
        const Skin skins[] = {
            {IDC_BENCH_CANCEL, L"img\\Animation\\cancel_nomal.bmp", L"img\\Animation\\cancel_hover.bmp",
             L"img\\Animation\\cancel_press.bmp", 225, 15, 15, 15},
            {IDC_BENCH_HIDE, L"img\\Animation\\hide_nomal.bmp", L"img\\Animation\\hide_hover.bmp",
             L"img\\Animation\\hide_press.bmp", 245, 15, 15, 15},
            {IDC_BENCH_CLOSE, L"img\\Animation\\close_nomal.bmp", L"img\\Animation\\close_hover.bmp",
             L"img\\Animation\\close_press.bmp", 104, 136, 70, 28},
            {IDC_BENCH_RECORDLINK, L"img\\Animation\\recordlink_nomal.bmp", L"img\\Animation\\recordlink_hover.bmp",
             L"img\\Animation\\recordlink_press.bmp", 104, 120, 70, 16},
            {IDC_BENCH_OK, L"img\\Animation\\message_ok.bmp", L"img\\Animation\\message_ok.bmp",
             L"img\\Animation\\message_ok.bmp", 55, 90, 170, 65},
            {IDC_BENCH_ERROR, L"img\\Animation\\message_error.bmp", L"img\\Animation\\message_error.bmp",
             L"img\\Animation\\message_error.bmp", 5, 100, 40, 30},
        };
        for (int i = 0; i < 6; ++i) {
            const Skin& s = skins[i];
            if (m_buttons[i].SubclassDlgItem(s.id, this)) m_buttons[i].InitButton(this);
            m_buttons[i].LoadBitmaps(s.normal, s.hover, s.press);
            m_buttons[i].MoveWindow(s.x, s.y, s.cx, s.cy);
        }
        m_progress.SubclassDlgItem(IDC_BENCH_PROGRESS, this);
        m_progress.MoveWindow(22, 72, 197, 14);
        m_progress.LoadBitmaps();
        m_progress.m_nMax = 100;
        m_progress.SetBarPos(40);
        return TRUE;
    }

    // Milliseconds per composition, composed and pushed.
    double TimeCompositions() {
        for (int i = 0; i < kWarmUp; ++i) RenderLayered();
        std::vector<double> samples;
        for (int i = 0; i < kCompositions; ++i) {
            const double t0 = NowMs();
            RenderLayered();
            samples.push_back(NowMs() - t0);
        }
        return Median(samples);
    }

    // Milliseconds per push of one already composed section, with the same
    // context, size, position and blend as a composition uses.
    double TimePushes() {
        RECT rcFake{};
        ::GetWindowRect(m_hFakeWnd, &rcFake);
        POINT ptDst{rcFake.left, rcFake.top};
        SIZE size{static_cast<LONG>(m_nWidth), static_cast<LONG>(m_nHeight)};
        POINT ptSrc{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        CClientDC screen(m_hFakeWnd);
        LayeredPicture picture;
        if (!BuildLayeredPicture(screen, picture)) return 0.0;
        auto push = [&] {
            ::UpdateLayeredWindow(m_hFakeWnd, screen, &ptDst, &size, picture.dc, &ptSrc, 0, &blend, ULW_ALPHA);
        };
        for (int i = 0; i < kWarmUp; ++i) push();
        std::vector<double> samples;
        for (int i = 0; i < kCompositions; ++i) {
            const double t0 = NowMs();
            push();
            samples.push_back(NowMs() - t0);
        }
        return Median(samples);
    }

    UINT Width() const { return m_nWidth; }
    UINT Height() const { return m_nHeight; }

    CMyButton m_buttons[6];
    CBmpProgressCtrl m_progress;
};

// Milliseconds per column paint of full 0-to-100 sweeps, each sweep's time
// divided by its 197 paints. bFromWorker: SetBarPos runs on another thread,
// as the progress worker calls it, and this thread paints for it.
double TimeSweepColumns(CBmpProgressCtrl& bar, bool bFromWorker) {
    std::vector<double> samples;
    for (int sweep = 0; sweep < kSweeps + 2; ++sweep) {
        bar.SetBarPos(0);
        double elapsed = 0.0;
        auto run = [&] {
            const double t0 = NowMs();
            for (int pos = 1; pos <= 100; ++pos) bar.SetBarPos(pos);
            elapsed = NowMs() - t0;
        };
        if (bFromWorker) {
            std::atomic<bool> done{false};
            std::thread worker([&] {
                run();
                done = true;
            });
            while (!done) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
                PumpMessages();
            }
            worker.join();
        } else {
            run();
        }
        if (sweep >= 2) samples.push_back(elapsed / bar.m_nClientWidth);
    }
    return Median(samples);
}

// Milliseconds per BitBlt of one 1 x 14 column of the filled strip into the
// bar's window, flushed like a paint.
double TimeColumnBlits(CBmpProgressCtrl& bar) {
    CClientDC dc(bar);
    std::vector<double> samples;
    for (int sweep = 0; sweep < kSweeps + 2; ++sweep) {
        const double t0 = NowMs();
        for (int x = 0; x < bar.m_nClientWidth; ++x) {
            ::BitBlt(dc, x, 0, 1, bar.m_nClientHeight, bar.m_dcRun, x, 0, SRCCOPY);
            ::GdiFlush();
        }
        if (sweep >= 2) samples.push_back((NowMs() - t0) / bar.m_nClientWidth);
    }
    return Median(samples);
}

}  // namespace

int main() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);

    int result = 0;
    {
        CBenchDialog dlg;
        if (!dlg.Create(IDD_UI_BENCH) || dlg.m_progress.m_nClientWidth != 197) {
            std::fprintf(stderr, "ui-bench: the dialog or its skin could not be made (img\\ beside the program?)\n");
            result = 1;
        } else {
            PumpMessages();
            const double compose = dlg.TimeCompositions();
            const double push = dlg.TimePushes();
            const double column = TimeSweepColumns(dlg.m_progress, false);
            const double columnFromWorker = TimeSweepColumns(dlg.m_progress, true);
            const double blit = TimeColumnBlits(dlg.m_progress);
            std::printf("composition of %u x %u with 7 children: %.3f ms; push of a composed section: %.3f ms; "
                        "ratio %.1f\n",
                        dlg.Width(), dlg.Height(), compose, push, push > 0 ? compose / push : 0.0);
            std::printf("bar sweep 0 to 100 on 197 px: %.4f ms per column paint; BitBlt of one column: %.4f ms; "
                        "ratio %.1f\n",
                        column, blit, blit > 0 ? column / blit : 0.0);
            std::printf("  the same sweep from a worker thread: %.4f ms per column paint; ratio %.1f\n",
                        columnFromWorker, blit > 0 ? columnFromWorker / blit : 0.0);
            dlg.DestroyWindow();
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return result;
}
