#include "DriveWatcher.h"

#include <cstring>

#include "KestrelNames.h"
#include "KestrelServApp.h"
#include "OutsideLibs.h"

namespace {

// The main window is looked up anew for every post: it may come and go.
void PostToMainWindow(UINT message) {
    HWND hMain = ::FindWindowA(nullptr, Kestrel::kMainWindowTitleA);
    if (hMain != nullptr) ::PostMessageA(hMain, message, 0, 0);
}

int LetterArgument(char chLetter) { return static_cast<unsigned char>(chLetter); }

}  // namespace

void CDriveWatcher::Start(HWND hWnd) {
    m_hWnd = hWnd;
    Kestrel32_Open();
    ::SetTimer(m_hWnd, kWatchdogTimer, kWatchdogPeriod, nullptr);
    Snapshot();
}

void CDriveWatcher::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case kPollTimer:
        PollTick();
        break;
    case kWatchdogTimer:
        WatchdogTick();
        break;
    case kDeviceChangeTimer:
        ::KillTimer(m_hWnd, kDeviceChangeTimer);
        Snapshot();
        break;
    default:
        break;
    }
}

void CDriveWatcher::OnDeviceChange() {
    // Re-arming restarts the delay, so a burst of notifications gives one
    // snapshot after the last of them.
    ::SetTimer(m_hWnd, kDeviceChangeTimer, kDeviceChangeDelay, nullptr);
}

void CDriveWatcher::Snapshot() {
    char szRoots[kRootChars] = {};
    char freshList[kListBytes] = {};
    char storedList[kListBytes] = {};

    // An answer as large as the buffer or larger is the size the roots would
    // need; the buffer then holds nothing to read.
    const DWORD nReturned = ::GetLogicalDriveStringsA(static_cast<DWORD>(kRootChars), szRoots);
    const DWORD nRoots = nReturned < kRootChars ? nReturned / 4 : 0;

    PostToMainWindow(g_nMsgDesktopDriveChange);

    size_t nFresh = 0;
    for (DWORD i = 0; i < nRoots; ++i) {
        const char* pszRoot = szRoots + 4 * i;
        if (::GetDriveTypeA(pszRoot) != DRIVE_FIXED) continue;
        if (KestrelSDK_AdmitDrive(LetterArgument(pszRoot[0])) != 1) continue;
        // With all 26 letters admitted the last one stays out: the list
        // keeps its terminator.
        if (nFresh < kMaxLetters) freshList[nFresh++] = pszRoot[0];
    }

    Kestrel32_GetDriveList(storedList);
    // An engine that filled all 26 bytes is read as its first 25 letters.
    storedList[kMaxLetters] = '\0';

    if (std::strcmp(freshList, storedList) != 0 && Kestrel32_OfferDriveList(freshList) == 1) {
        PostToMainWindow(g_nMsgUpdateDriveList);
    }

    if (freshList[0] != '\0') ::SetTimer(m_hWnd, kPollTimer, kPollPeriod, nullptr);
}

void CDriveWatcher::PollTick() {
    // One-shot: armed again only when this tick is done, so ticks never pile
    // up however long the device library takes.
    ::KillTimer(m_hWnd, kPollTimer);

    // The poll follows the engine's stored list, not the last fresh one.
    // Only the low byte of the answer is the letter.
    int nLetter = Kestrel32_GetStoredDrive(0) & 0xFF;
    if (nLetter == 0) return;
    for (int i = 0;;) {
        if (KestrelSDK_DeviceReports(nLetter) != 0) PostToMainWindow(g_nMsgClickFirstButton);
        if (++i == kMaxStoredIndex) break;
        nLetter = Kestrel32_GetStoredDrive(i) & 0xFF;
        if (nLetter == 0) break;
    }

    ::SetTimer(m_hWnd, kPollTimer, kPollPeriod, nullptr);
}

void CDriveWatcher::WatchdogTick() {
    if (::FindWindowA(nullptr, Kestrel::kMainWindowTitleA) != nullptr) {
        m_nMissedTicks = 0;
        return;
    }
    if (++m_nMissedTicks == kMissesToClose) {
        HWND hSelf = ::FindWindowA(nullptr, Kestrel::kAgentWindowTitleA);
        if (hSelf != nullptr) ::PostMessageA(hSelf, WM_CLOSE, 0, 0);
        ::KillTimer(m_hWnd, kWatchdogTimer);
    }
}
