// The agent's working part, driven by three timers of its hidden window and
// by that window's device-change notifications: it keeps the engine's drive
// list in step with the fixed drives the device library admits, tells the
// main window about drive changes, turns device reports into click requests
// once a second, and closes the agent when the main window has gone.
#pragma once

#include <windows.h>

#include <cstddef>

class CDriveWatcher {
public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT_PTR kWatchdogTimer = 2;
    static constexpr UINT_PTR kDeviceChangeTimer = 3;
    static constexpr UINT kPollPeriod = 1000;
    static constexpr UINT kWatchdogPeriod = 2000;
    static constexpr UINT kDeviceChangeDelay = 3000;

    // A drive list: upper-case letters and a terminator in 26 bytes.
    static constexpr size_t kListBytes = 26;
    static constexpr size_t kMaxLetters = kListBytes - 1;
    // Four characters per root ("C:\" and its NUL) for all 26 letters, and
    // the terminator that closes the series.
    static constexpr size_t kRootChars = 26 * 4 + 1;
    // The engine's stored list has at most this many entries.
    static constexpr int kMaxStoredIndex = 26;
    // Consecutive watchdog ticks without the main window that close the agent.
    static constexpr int kMissesToClose = 2;

    CDriveWatcher() = default;
    CDriveWatcher(const CDriveWatcher&) = delete;
    CDriveWatcher& operator=(const CDriveWatcher&) = delete;

    // At dialog initialisation: opens the engine, arms the watchdog and runs
    // the first snapshot.
    void Start(HWND hWnd);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDeviceChange();

private:
    void Snapshot();
    void PollTick();
    void WatchdogTick();

    HWND m_hWnd = nullptr;
    int m_nMissedTicks = 0;
};
