// The "MyShutdown" request: enable the shutdown privilege in the agent's own
// token and shut the computer down, closing running programs without asking
// them. The platform calls sit behind Platform so that a test can check what
// would be asked of the system without ending its session.
#pragma once

#include <windows.h>

class CShutdown {
public:
    class Platform {
    public:
        virtual ~Platform() = default;
        virtual BOOL OpenProcessToken(DWORD dwDesiredAccess, HANDLE* phToken) = 0;
        virtual BOOL LookupPrivilege(const char* pszName, LUID* pLuid) = 0;
        virtual BOOL AdjustTokenPrivileges(HANDLE hToken, TOKEN_PRIVILEGES* pNewState) = 0;
        virtual DWORD GetLastError() = 0;
        virtual BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) = 0;
        virtual BOOL CloseHandle(HANDLE hObject) = 0;
    };
    // The running system: ExitWindowsEx really shuts it down.
    static Platform& SystemPlatform();

    // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
    static constexpr DWORD kTokenAccess = 0x28;
    // EWX_SHUTDOWN | EWX_FORCE
    static constexpr UINT kExitFlags = 0x5;
    // SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_UPGRADE
    static constexpr DWORD kReason = 0x80020003;

    explicit CShutdown(Platform& platform = SystemPlatform()) : m_platform(platform) {}
    CShutdown(const CShutdown&) = delete;
    CShutdown& operator=(const CShutdown&) = delete;

    // TRUE when the shutdown was asked for (it then proceeds on its own).
    BOOL Run();

private:
    Platform& m_platform;
};
