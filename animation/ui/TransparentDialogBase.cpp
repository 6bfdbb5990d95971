#include "TransparentDialogBase.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "MessageWait.h"

namespace UI {

namespace {

constexpr wchar_t kFakeWndClass[] = L"TranFakeWnd";
constexpr BYTE kDialogOpacity = 5;
constexpr int kFadeStep = 40;
constexpr DWORD kFadeInPauseMs = 10;
constexpr DWORD kFadeOutPauseMs = 20;
constexpr int kCaretHeight = 13;
constexpr LPARAM kPrintFlags = PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN;

// The dialogs that exist, so that a fade worker that starts after its dialog
// is gone finds that out instead of touching freed memory. The same lock
// counts the running fades of each dialog.
struct LiveDialogs {
    std::mutex lock;
    std::unordered_set<const void*> dialogs;
};

LiveDialogs& Live() {
    static LiveDialogs live;
    return live;
}

}  // namespace

BOOL CTransparentDialogBase::s_bFadeInStarted = FALSE;

CTransparentDialogBase::LayeredPicture::~LayeredPicture() {
    // The section goes back out of the context before either is deleted.
    if (hOldBitmap != nullptr) ::SelectObject(dc, hOldBitmap);
}

CTransparentDialogBase::CTransparentDialogBase(UINT nIDTemplate, LPCWSTR pszBackground)
    : CDialog(nIDTemplate),
      m_imgBackground(pszBackground, FALSE),
      m_hStopFades(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_hFadesIdle(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {
    m_nWidth = m_imgBackground.GetWidth();
    m_nHeight = m_imgBackground.GetHeight();
    std::lock_guard<std::mutex> lock(Live().lock);
    Live().dialogs.insert(this);
}

CTransparentDialogBase::~CTransparentDialogBase() {
    {
        std::lock_guard<std::mutex> lock(Live().lock);
        Live().dialogs.erase(this);
    }
    ::SetEvent(m_hStopFades);
    // A fade may be sending WM_PAINT to this thread's window right now: keep
    // serving sent messages while waiting, or both threads would hang.
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(Live().lock);
            if (m_nFades == 0) break;
        }
        if (WaitServingSentMessages(m_hFadesIdle) == WAIT_FAILED) ::Sleep(1);
    }
}

const MessageMap* CTransparentDialogBase::GetThisMessageMap() {
    static const MessageMap map(CDialog::GetThisMessageMap(), {
        Msg::Mouse(WM_LBUTTONDOWN, &CTransparentDialogBase::OnLButtonDown),
        Msg::EraseBkgnd(&CTransparentDialogBase::OnEraseBkgnd),
        Msg::Message(WM_DESTROY, &CTransparentDialogBase::OnDestroy),
        Msg::Move(&CTransparentDialogBase::OnMove),
        Msg::Size(&CTransparentDialogBase::OnSize),
        Msg::Message(WM_PAINT, &CTransparentDialogBase::OnPaint),
        Msg::ShowWindow(&CTransparentDialogBase::OnShowWindow),
        Msg::Activate(&CTransparentDialogBase::OnActivate),
        Msg::Message(WM_CLOSE, &CTransparentDialogBase::OnClose),
    });
    return &map;
}

BOOL CTransparentDialogBase::OnInitDialog() {
    CDialog::OnInitDialog();
    const UINT nHeight = m_imgBackground.GetHeight();
    const UINT nWidth = m_imgBackground.GetWidth();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, static_cast<int>(nWidth), static_cast<int>(nHeight),
                   SWP_NOMOVE | SWP_NOZORDER);
    CreateFakeWindow();
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(GetExStyle() | WS_EX_LAYERED));
    ::SetLayeredWindowAttributes(m_hWnd, 0, kDialogOpacity, LWA_ALPHA);
    return TRUE;
}

void CTransparentDialogBase::CreateFakeWindow() {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (m_hFakeWnd != nullptr) {
        ::DestroyWindow(m_hFakeWnd);
        m_hFakeWnd = nullptr;
        ::UnregisterClassW(kFakeWndClass, hInstance);
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kFakeWndClass;
    // Fails while a class of that name is still registered; the companion is
    // then made from that class.
    ::RegisterClassExW(&wc);

    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    m_hFakeWnd = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT, kFakeWndClass, nullptr,
                                   WS_VISIBLE, 0, 0, rc.right - rc.left, rc.bottom - rc.top, m_hWnd, nullptr,
                                   hInstance, nullptr);
}

// --- composition -------------------------------------------------------------

void CTransparentDialogBase::RenderLayered() {
    if (!::IsWindow(m_hFakeWnd)) return;
    RECT rcFake{};
    ::GetWindowRect(m_hFakeWnd, &rcFake);
    POINT ptDst{rcFake.left, rcFake.top};
    SIZE size{static_cast<LONG>(m_nWidth), static_cast<LONG>(m_nHeight)};
    POINT ptSrc{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(m_nAlpha.load() & 0xFF), AC_SRC_ALPHA};

    CClientDC screen(m_hFakeWnd);
    LayeredPicture picture;
    if (!BuildLayeredPicture(screen, picture)) return;
    ::UpdateLayeredWindow(m_hFakeWnd, screen, &ptDst, &size, picture.dc, &ptSrc, 0, &blend, ULW_ALPHA);
}

BOOL CTransparentDialogBase::BuildLayeredPicture(HDC hdcScreen, LayeredPicture& picture) {
    picture.dc.CreateCompatibleDC(hdcScreen);

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = static_cast<LONG>(m_nWidth);
    bmi.bmiHeader.biHeight = static_cast<LONG>(m_nHeight);  // bottom-up rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = m_nHeight * (((m_nWidth * 32 + 31) / 8) & ~3u);
    void* pBits = nullptr;
    if (!picture.section.Attach(::CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0)) ||
        pBits == nullptr || !picture.dc) {
        return FALSE;
    }
    picture.pBits = pBits;
    std::memset(pBits, 0, static_cast<size_t>(m_nWidth) * m_nHeight * 4);
    picture.hOldBitmap = ::SelectObject(picture.dc, picture.section);

    Gdiplus::Graphics graphics(picture.dc.Get());
    graphics.SetPageScale(1.0f);
    graphics.SetPageUnit(Gdiplus::UnitPixel);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    {
        // A current picture that holds nothing draws nothing: the background
        // does not stand in for it.
        std::lock_guard<std::mutex> lock(m_frameLock);
        Gdiplus::Image* pImage = m_pFrameImage != nullptr ? m_pFrameImage : &m_imgBackground;
        graphics.DrawImage(pImage, 0, 0, static_cast<INT>(m_nWidth), static_cast<INT>(m_nHeight));
    }
    OnDrawAfterBackground(&graphics);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        DrawChildWindow(&graphics, hdcScreen, hChild);
    }
    DrawFocusedEditCaret(&graphics);
    return TRUE;
}

void CTransparentDialogBase::OnDrawAfterBackground(Gdiplus::Graphics*) {}

void CTransparentDialogBase::DrawChildWindow(Gdiplus::Graphics* pGraphics, HDC hdcScreen, HWND hChild) {
    if (!::IsWindow(hChild)) return;
    RECT rcClient{};
    ::GetClientRect(hChild, &rcClient);
    const int cx = rcClient.right - rcClient.left;
    const int cy = rcClient.bottom - rcClient.top;
    // A hidden child prints nothing (PRF_CHECKVISIBLE), and an empty one
    // would be captured as a 1 x 1 bitmap: either capture would be drawn as
    // an opaque patch of unpainted pixels. Nothing of such a child may show.
    if (cx <= 0 || cy <= 0 || (::GetWindowLongPtrW(hChild, GWL_STYLE) & WS_VISIBLE) == 0) return;

    RECT rcWindow{};
    ::GetWindowRect(hChild, &rcWindow);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcWindow), 2);

    CMemoryDC dc(hdcScreen);
    CBitmap bitmap(::CreateCompatibleBitmap(hdcScreen, cx, cy));
    if (!dc || !bitmap) return;
    {
        CSelectObject select(dc, bitmap);
        ::SendMessageW(hChild, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), kPrintFlags);
    }
    // Made after the bitmap has left the context: its bits are read then.
    Gdiplus::Bitmap image(bitmap.Get(), nullptr);
    pGraphics->DrawImage(&image, static_cast<INT>(rcWindow.left), static_cast<INT>(rcWindow.top));
}

void CTransparentDialogBase::DrawFocusedEditCaret(Gdiplus::Graphics* pGraphics) {
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || !::IsWindow(hFocus)) return;
    wchar_t szClass[MAX_PATH] = {};
    ::GetClassNameW(hFocus, szClass, MAX_PATH);
    if (::CompareStringOrdinal(szClass, -1, L"EDIT", -1, TRUE) != CSTR_EQUAL) return;

    POINT pt{};
    ::GetCaretPos(&pt);
    ::ClientToScreen(hFocus, &pt);
    ::ScreenToClient(m_hWnd, &pt);
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 1.0f);
    pGraphics->DrawLine(&pen, static_cast<INT>(pt.x), static_cast<INT>(pt.y), static_cast<INT>(pt.x),
                        static_cast<INT>(pt.y + kCaretHeight));
}

// --- the current picture -------------------------------------------------------

void CTransparentDialogBase::ReplaceFrameImage(Gdiplus::Image* pNewImage) {
    Gdiplus::Image* pOldImage = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        pOldImage = m_pFrameImage;
        m_pFrameImage = pNewImage;
    }
    delete pOldImage;
}

void CTransparentDialogBase::LoadFrameImage(LPCWSTR pszPath) {
    // Decoding takes far longer than a swap: it happens before the lock.
    ReplaceFrameImage(pszPath != nullptr ? new Gdiplus::Image(pszPath, FALSE) : nullptr);
}

// --- message handlers ----------------------------------------------------------

void CTransparentDialogBase::OnLButtonDown(UINT, POINT) {
    if (m_bDragMove) {
        // Only an outline follows the pointer while the dialog is dragged; the
        // user's own setting comes back when the move loop ends.
        BOOL bFullWindows = FALSE;
        const BOOL bRead = ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &bFullWindows, 0);
        ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        if (bRead) ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, static_cast<UINT>(bFullWindows), nullptr, 0);
    }
    Default();
}

BOOL CTransparentDialogBase::OnEraseBkgnd(HDC) { return TRUE; }

void CTransparentDialogBase::OnDestroy() {
    Default();
    if (m_hFakeWnd != nullptr) {
        ::DestroyWindow(m_hFakeWnd);
        m_hFakeWnd = nullptr;
        ::UnregisterClassW(kFakeWndClass, AfxGetInstanceHandle());
    }
}

void CTransparentDialogBase::OnMove(int x, int y) {
    Default();
    if (m_hFakeWnd != nullptr) {
        ::SetWindowPos(m_hFakeWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTransparentDialogBase::OnSize(UINT, int cx, int cy) {
    Default();
    if (m_hFakeWnd != nullptr) {
        ::SetWindowPos(m_hFakeWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTransparentDialogBase::OnPaint() {
    CPaintDC dc(m_hWnd);
    RenderLayered();
}

void CTransparentDialogBase::OnShowWindow(BOOL bShow, UINT) {
    Default();
    if (m_hFakeWnd != nullptr) ::ShowWindow(m_hFakeWnd, bShow ? SW_SHOWNA : SW_HIDE);
    if (!s_bFadeInStarted) {
        s_bFadeInStarted = TRUE;
        AfxBeginThread(&CTransparentDialogBase::FadeInThreadProc, this);
    }
}

void CTransparentDialogBase::OnActivate(UINT nState, HWND, BOOL) {
    Default();
    if (nState == WA_ACTIVE) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTransparentDialogBase::OnClose() { AfxBeginThread(&CTransparentDialogBase::FadeOutThreadProc, this); }

// --- fades ---------------------------------------------------------------------

UINT __cdecl CTransparentDialogBase::FadeInThreadProc(LPVOID pParam) {
    if (CTransparentDialogBase* pDlg = EnterFade(pParam)) {
        pDlg->RunFade(kFadeStep, kFadeInPauseMs);
        pDlg->LeaveFade();
    }
    AfxEndThread(1);
}

UINT __cdecl CTransparentDialogBase::FadeOutThreadProc(LPVOID pParam) {
    if (CTransparentDialogBase* pDlg = EnterFade(pParam)) {
        pDlg->RunFade(-kFadeStep, kFadeOutPauseMs);
        pDlg->LeaveFade();
    }
    AfxEndThread(1);
}

CTransparentDialogBase* CTransparentDialogBase::EnterFade(LPVOID pParam) {
    auto* pDlg = static_cast<CTransparentDialogBase*>(pParam);
    std::lock_guard<std::mutex> lock(Live().lock);
    if (Live().dialogs.count(pDlg) == 0) return nullptr;
    if (pDlg->m_nFades++ == 0) ::ResetEvent(pDlg->m_hFadesIdle);
    return pDlg;
}

void CTransparentDialogBase::LeaveFade() {
    std::lock_guard<std::mutex> lock(Live().lock);
    if (--m_nFades == 0) ::SetEvent(m_hFadesIdle);
}

BOOL CTransparentDialogBase::IsFading() const {
    std::lock_guard<std::mutex> lock(Live().lock);
    return m_nFades > 0;
}

void CTransparentDialogBase::RunFade(int nStep, DWORD nPauseMs) {
    const int nBound = nStep > 0 ? 255 : 0;
    for (;;) {
        int nAlpha = m_nAlpha.load();
        if (nStep > 0 ? nAlpha >= nBound : nAlpha <= nBound) break;
        // Once the window is gone there is nobody to paint for.
        HWND hWnd = m_hWnd;
        if (!::IsWindow(hWnd)) break;
        // The other fade may step at the same moment; each step starts from
        // what is there and stops at this fade's bound.
        int nNext = 0;
        do {
            nNext = nStep > 0 ? std::min(nAlpha + nStep, nBound) : std::max(nAlpha + nStep, nBound);
        } while (!m_nAlpha.compare_exchange_weak(nAlpha, nNext));
        ::SendMessageW(hWnd, WM_PAINT, 0, 0);
        if (m_hStopFades) {
            if (::WaitForSingleObject(m_hStopFades, nPauseMs) == WAIT_OBJECT_0) break;
        } else {
            ::Sleep(nPauseMs);
        }
    }
}

}  // namespace UI
