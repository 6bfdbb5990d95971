// What the shutdown request asks of the system, played against a recording
// platform: the real ExitWindowsEx would end the test session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Shutdown.h"

namespace {

class CFakePlatform : public CShutdown::Platform {
public:
    // Outcomes to play.
    bool m_bOpenOk = true;
    DWORD m_dwErrorAfterAdjust = 0;

    // What was asked.
    std::vector<std::string> m_calls;
    DWORD m_dwAccess = 0;
    std::string m_privilege;
    HANDLE m_hAdjusted = nullptr;
    TOKEN_PRIVILEGES m_adjusted{};
    HANDLE m_hClosed = nullptr;
    UINT m_uFlags = 0;
    DWORD m_dwReason = 0;

    static constexpr LUID kShutdownLuid = {19, 0};
    HANDLE Token() const { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1234)); }

    BOOL OpenProcessToken(DWORD dwDesiredAccess, HANDLE* phToken) override {
        m_calls.push_back("OpenProcessToken");
        m_dwAccess = dwDesiredAccess;
        if (!m_bOpenOk) return FALSE;
        *phToken = Token();
        return TRUE;
    }
    BOOL LookupPrivilege(const char* pszName, LUID* pLuid) override {
        m_calls.push_back("LookupPrivilegeValue");
        m_privilege = pszName;
        *pLuid = kShutdownLuid;
        return TRUE;
    }
    BOOL AdjustTokenPrivileges(HANDLE hToken, TOKEN_PRIVILEGES* pNewState) override {
        m_calls.push_back("AdjustTokenPrivileges");
        m_hAdjusted = hToken;
        m_adjusted = *pNewState;
        return TRUE;  // as the system does when the privilege was not all assigned
    }
    DWORD GetLastError() override {
        m_calls.push_back("GetLastError");
        return m_dwErrorAfterAdjust;
    }
    BOOL ExitWindowsEx(UINT uFlags, DWORD dwReason) override {
        m_calls.push_back("ExitWindowsEx");
        m_uFlags = uFlags;
        m_dwReason = dwReason;
        return TRUE;
    }
    BOOL CloseHandle(HANDLE hObject) override {
        m_calls.push_back("CloseHandle");
        m_hClosed = hObject;
        return TRUE;
    }
};

TEST(Shutdown, EnablesThePrivilegeThenShutsDownWithForceAndAPlannedReason) {
    CFakePlatform platform;
    EXPECT_TRUE(CShutdown(platform).Run());

    const std::vector<std::string> expected = {"OpenProcessToken", "LookupPrivilegeValue", "AdjustTokenPrivileges",
                                               "GetLastError", "CloseHandle", "ExitWindowsEx"};
    EXPECT_EQ(platform.m_calls, expected);
    EXPECT_EQ(platform.m_dwAccess, 0x28u);
    EXPECT_EQ(platform.m_dwAccess, static_cast<DWORD>(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY));
    EXPECT_EQ(platform.m_privilege, "SeShutdownPrivilege");
    EXPECT_EQ(platform.m_hAdjusted, platform.Token());
    ASSERT_EQ(platform.m_adjusted.PrivilegeCount, 1u);
    EXPECT_EQ(platform.m_adjusted.Privileges[0].Luid.LowPart, CFakePlatform::kShutdownLuid.LowPart);
    EXPECT_EQ(platform.m_adjusted.Privileges[0].Luid.HighPart, CFakePlatform::kShutdownLuid.HighPart);
    EXPECT_EQ(platform.m_adjusted.Privileges[0].Attributes, static_cast<DWORD>(SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(platform.m_hClosed, platform.Token());
    EXPECT_EQ(platform.m_uFlags, 5u);
    EXPECT_EQ(platform.m_uFlags, static_cast<UINT>(EWX_SHUTDOWN | EWX_FORCE));
    EXPECT_EQ(platform.m_dwReason, 0x80020003u);
}

TEST(Shutdown, NoShutdownWithoutTheTokenOrThePrivilege) {
    struct Case {
        const char* name;
        bool bOpenOk;
        DWORD dwErrorAfterAdjust;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"token cannot be opened", false, 0, {"OpenProcessToken"}},
        {"privilege not held", true, ERROR_NOT_ALL_ASSIGNED,
         {"OpenProcessToken", "LookupPrivilegeValue", "AdjustTokenPrivileges", "GetLastError", "CloseHandle"}},
        {"adjustment failed otherwise", true, ERROR_ACCESS_DENIED,
         {"OpenProcessToken", "LookupPrivilegeValue", "AdjustTokenPrivileges", "GetLastError", "CloseHandle"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakePlatform platform;
        platform.m_bOpenOk = c.bOpenOk;
        platform.m_dwErrorAfterAdjust = c.dwErrorAfterAdjust;
        EXPECT_FALSE(CShutdown(platform).Run());
        EXPECT_EQ(platform.m_calls, c.calls);
    }
}

}  // namespace
