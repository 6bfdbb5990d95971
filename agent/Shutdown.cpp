#include "Shutdown.h"

namespace {

constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";

class CSystemPlatform : public CShutdown::Platform {
public:
    BOOL OpenProcessToken(DWORD dwDesiredAccess, HANDLE* phToken) override {
        return ::OpenProcessToken(::GetCurrentProcess(), dwDesiredAccess, phToken);
    }
    BOOL LookupPrivilege(const char* pszName, LUID* pLuid) override {
        return ::LookupPrivilegeValueA(nullptr, pszName, pLuid);
    }
    BOOL AdjustTokenPrivileges(HANDLE hToken, TOKEN_PRIVILEGES* pNewState) override {
        return ::AdjustTokenPrivileges(hToken, FALSE, pNewState, 0, nullptr, nullptr);
    }
    DWORD GetLastError() override { return ::GetLastError(); }
    BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) override { return ::ExitWindowsEx(uFlags, dwReason); }
    BOOL CloseHandle(HANDLE hObject) override { return ::CloseHandle(hObject); }
};

}  // namespace

CShutdown::Platform& CShutdown::SystemPlatform() {
    static CSystemPlatform s_platform;
    return s_platform;
}

BOOL CShutdown::Run() {
    HANDLE hToken = nullptr;
    if (!m_platform.OpenProcessToken(kTokenAccess, &hToken)) return FALSE;

    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    m_platform.LookupPrivilege(kShutdownPrivilege, &privileges.Privileges[0].Luid);
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    m_platform.AdjustTokenPrivileges(hToken, &privileges);
    // The adjustment succeeds even when the token lacks the privilege; only
    // the last error (ERROR_NOT_ALL_ASSIGNED) tells.
    const DWORD dwError = m_platform.GetLastError();
    m_platform.CloseHandle(hToken);
    if (dwError != 0) return FALSE;

    return m_platform.ExitWindowsEx(kExitFlags, kReason);
}
