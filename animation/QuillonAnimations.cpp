#include "QuillonAnimations.h"

#include <gdiplus.h>
#include <shellapi.h>

#include "BackupAnimationDlg.h"
#include "KestrelNames.h"
#include "OutsideLibs.h"
#include "RestoreAnimationDlg.h"

// Defined in this order: the events and the message id exist before the
// application object is constructed.
CHandle g_eventProgressBackup(::CreateEventW(nullptr, FALSE, FALSE, Kestrel::kEventProgressBackupW));
CHandle g_eventProgressRestore(::CreateEventW(nullptr, FALSE, FALSE, Kestrel::kEventProgressRestoreW));
const UINT g_nProgressMessage = ::RegisterWindowMessageW(Kestrel::kMsgProgressW);

const wchar_t** g_pTextTable = nullptr;
ULONG_PTR g_gdiplusToken = 0;

CQuillonAnimationsApp theApp;

const wchar_t* TextEntry(int nIndex) {
    const wchar_t** table = g_pTextTable;
    return table != nullptr ? table[nIndex] : nullptr;
}

namespace {

bool SameWordIgnoringCase(const wchar_t* a, const wchar_t* b) {
    return ::CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

CQuillonAnimationsApp::Job CQuillonAnimationsApp::ParseCommandLine() {
    int nArgs = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (argv == nullptr) return Job::None;

    Job job = Job::None;
    if (nArgs >= 2) {
        if (SameWordIgnoringCase(argv[1], Kestrel::kWordBackupW)) job = Job::Backup;
        else if (SameWordIgnoringCase(argv[1], Kestrel::kWordRestoreW)) job = Job::Restore;
    }
    if (job != Job::None) {
        // The starter may pass "Shutdown" or "Remove" after the job word: the
        // second word when there are exactly two, else the third. The answer
        // is taken and, by design, nothing depends on it yet.
        const int nWords = nArgs - 1;
        const wchar_t* pszWord = nWords == 2 ? argv[2] : nWords >= 3 ? argv[3] : nullptr;
        [[maybe_unused]] const bool bShutdownOrRemove =
            pszWord != nullptr &&
            (SameWordIgnoringCase(pszWord, Kestrel::kWordShutdownW) || SameWordIgnoringCase(pszWord, Kestrel::kWordRemoveW));
    }
    ::LocalFree(argv);
    return job;
}

void CQuillonAnimationsApp::ShowAlreadyRunningNotice() {
    ::MessageBoxW(nullptr, TextEntry(Kestrel::kTextAlreadyRunning), TextEntry(Kestrel::kTextCaption), MB_SETFOREGROUND);
}

BOOL CQuillonAnimationsApp::InitInstance() {
    CWinApp::InitInstance();

    // A missing or unknown job word ends the program before the strings
    // library, GDI+ or the mutex are touched.
    const Job job = ParseCommandLine();
    if (job == Job::None) return FALSE;

    InitAPStringW(Kestrel::kGlossaMode, LanguageType(), &g_pTextTable);

    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs not suppressed
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);

    HANDLE hMutex = ::CreateMutexW(nullptr, TRUE, Kestrel::kMutexAnimationW);
    if (hMutex == nullptr || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowAlreadyRunningNotice();
        // Our handle to the first instance's mutex; closing it leaves that
        // instance's ownership untouched.
        if (hMutex != nullptr) ::CloseHandle(hMutex);
        return FALSE;
    }

    if (job == Job::Backup) {
        CBackupAnimationDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
    } else {
        CRestoreAnimationDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    m_pMainWnd = nullptr;

    // Hand the screen back to the main program's window.
    ::Sleep(100);
    HWND hMain = ::FindWindowW(Kestrel::kDialogClassW, Kestrel::kMainWindowTitleW);
    if (hMain != nullptr) {
        ::ShowWindow(hMain, SW_SHOW);
        ::SetForegroundWindow(hMain);
    }

    ::CloseHandle(hMutex);
    return FALSE;
}

int CQuillonAnimationsApp::ExitInstance() {
    if (g_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(g_gdiplusToken);
        g_gdiplusToken = 0;
    }
    // On every path, also when the table was never loaded.
    TerminateAPStringW(&g_pTextTable);
    return CWinApp::ExitInstance();
}
