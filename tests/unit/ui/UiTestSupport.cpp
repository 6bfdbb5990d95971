#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace UiTest {

std::wstring ProgramFolder() {
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    return path.substr(0, path.rfind(L'\\') + 1);
}

namespace {

std::wstring FixtureFolderName() { return L"ui-fixtures-" + std::to_wstring(::GetCurrentProcessId()); }

// GDI+, the common controls and the fixture files, for the whole run.
class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);

        ::CreateDirectoryW((ProgramFolder() + FixtureFolderName()).c_str(), nullptr);
        WritePng(FixturePath(L"background.png"), kPictureWidth, kPictureHeight, [](int x, int y) -> uint32_t {
            if (y >= kPictureHeight / 2) return 0;
            return x < kPictureWidth / 2 ? kOpaqueRed : kHalfGreen;
        });
        WritePng(FixturePath(L"frame.png"), kPictureWidth, kPictureHeight, [](int, int) { return kOpaqueBlue; });
        WriteBmp(FixturePath(L"red.bmp"), 10, 10, [](int, int) { return RGB(255, 0, 0); });
        WriteBmp(FixturePath(L"blue.bmp"), 10, 10, [](int, int) { return RGB(0, 0, 255); });
        WriteBmp(FixturePath(L"quadrants.bmp"), 10, 10, [](int x, int y) {
            if (y < 5) return x < 5 ? RGB(255, 0, 0) : RGB(0, 255, 0);
            return x < 5 ? RGB(0, 0, 255) : RGB(255, 255, 0);
        });
    }

    void TearDown() override {
        const std::wstring folder = ProgramFolder() + FixtureFolderName();
        WIN32_FIND_DATAW fd;
        HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    ::DeleteFileW((folder + L"\\" + fd.cFileName).c_str());
                }
            } while (::FindNextFileW(hFind, &fd));
            ::FindClose(hFind);
        }
        ::RemoveDirectoryW(folder.c_str());
        Gdiplus::GdiplusShutdown(m_token);
    }

private:
    ULONG_PTR m_token = 0;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (cond()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

std::wstring FixtureName(const wchar_t* pszFile) { return FixtureFolderName() + L"\\" + pszFile; }

std::wstring FixturePath(const wchar_t* pszFile) { return ProgramFolder() + FixtureName(pszFile); }

void WriteBmp(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = &rows[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3 + 0] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(&file, sizeof(file), 1, f);
    fwrite(&info, sizeof(info), 1, f);
    fwrite(rows.data(), 1, rows.size(), f);
    fclose(f);
}

void WritePng(const std::wstring& path, int width, int height, const std::function<uint32_t(int, int)>& argb) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = argb(x, y);
    }
    Gdiplus::GpBitmap* pBitmap = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                                             reinterpret_cast<BYTE*>(pixels.data()), &pBitmap),
              Gdiplus::Ok);
    // The PNG encoder's well-known class id.
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    EXPECT_EQ(Gdiplus::DllExports::GdipSaveImageToFile(pBitmap, path.c_str(), &png, nullptr), Gdiplus::Ok);
    Gdiplus::DllExports::GdipDisposeImage(pBitmap);
}

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_section = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    m_bits = static_cast<uint32_t*>(pBits);
    m_old = ::SelectObject(m_dc, m_section);
    const uint32_t value = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    for (int i = 0; i < width * height; ++i) m_bits[i] = value;
}

Canvas::~Canvas() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_section);
    ::DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const uint32_t v = m_bits[static_cast<size_t>(y) * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<COLORREF> Canvas::All() const {
    std::vector<COLORREF> all;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) all.push_back(At(x, y));
    }
    return all;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

bool NearArgb(uint32_t a, uint32_t b) {
    const int tolerance = 1;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

Pixels CTestDialog::Compose() {
    Pixels pixels;
    CClientDC screen(m_hFakeWnd);
    LayeredPicture picture;
    if (!BuildLayeredPicture(screen, picture)) return pixels;
    ::GdiFlush();
    pixels.width = static_cast<int>(m_nWidth);
    pixels.height = static_cast<int>(m_nHeight);
    pixels.data.resize(static_cast<size_t>(pixels.width) * pixels.height);
    // The section's rows run bottom to top.
    const auto* bits = static_cast<const uint32_t*>(picture.pBits);
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(&pixels.data[static_cast<size_t>(y) * pixels.width],
                    bits + static_cast<size_t>(pixels.height - 1 - y) * pixels.width, pixels.width * 4u);
    }
    return pixels;
}

std::vector<int> CTestDialog::FadeAlphas() const {
    std::vector<int> alphas;
    for (const Composition& c : m_compositions) {
        if (c.fromFade) alphas.push_back(c.alpha);
    }
    return alphas;
}

void CTestDialog::OnDrawAfterBackground(Gdiplus::Graphics*) {
    // A fade's WM_PAINT is sent from its own thread; the system's are not.
    m_compositions.push_back({m_nAlpha, ::InSendMessage() != FALSE});
}

LRESULT CTestDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_onMessage) m_onMessage(message, wParam, lParam);
    return CTransparentDialogBase::WindowProc(message, wParam, lParam);
}

}  // namespace UiTest
