// The message filter step of start-up: on systems that report major version
// 6 the agent lets the three messages it expects from other processes through
// the filter that would otherwise hold back senders of lower integrity. The
// platform calls sit behind Platform so that a test can play any system
// version and any outcome of the library steps.
#pragma once

#include <windows.h>

class CMessageFilter {
public:
    class Platform {
    public:
        virtual ~Platform() = default;
        virtual BOOL QueryVersion(OSVERSIONINFOEXA* pInfo) = 0;
        // The system folder into a buffer of MAX_PATH characters.
        virtual BOOL GetSystemFolder(char* pszPath) = 0;
        virtual HMODULE Load(const char* pszPath) = 0;
        virtual FARPROC FindEntryPoint(HMODULE hModule, const char* pszName) = 0;
        virtual BOOL ChangeWindowMessageFilter(FARPROC pfn, UINT message, DWORD dwFlag) = 0;
        virtual BOOL Free(HMODULE hModule) = 0;
    };
    // The running system; it writes each call to the agent's trace.
    static Platform& SystemPlatform();

    explicit CMessageFilter(Platform& platform = SystemPlatform()) : m_platform(platform) {}
    CMessageFilter(const CMessageFilter&) = delete;
    CMessageFilter& operator=(const CMessageFilter&) = delete;

    // Queries the system version and, on major version 6, adds WM_CLOSE and
    // the two registered requests to the filter.
    void Open(UINT nMsgSaveSetup, UINT nMsgShutdown);
    // Releases the library that Open loaded, if any.
    void Release();

    BOOL m_bVersion6 = FALSE;
    HMODULE m_hUser32 = nullptr;
    FARPROC m_pfnChangeWindowMessageFilter = nullptr;

private:
    BOOL QueryVersion6();

    Platform& m_platform;
};
