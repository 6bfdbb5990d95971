#include "MessageFilter.h"

#include <shlobj.h>

#include <cstring>

#include "AgentTrace.h"

namespace {

constexpr char kUser32[] = "\\user32.dll";
constexpr char kChangeWindowMessageFilter[] = "ChangeWindowMessageFilter";

// MSGFLT_ADD; the headers define it only for newer targets than ours.
constexpr DWORD kMsgFilterAdd = 1;

class CSystemPlatform : public CMessageFilter::Platform {
public:
    BOOL QueryVersion(OSVERSIONINFOEXA* pInfo) override {
        const DWORD cbSize = pInfo->dwOSVersionInfoSize;
        const BOOL bOk = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(pInfo));
        CAgentTrace::Write("GetVersionExA size %lu -> %d, version %lu.%lu", cbSize, bOk,
                           bOk ? pInfo->dwMajorVersion : 0UL, bOk ? pInfo->dwMinorVersion : 0UL);
        return bOk;
    }
    BOOL GetSystemFolder(char* pszPath) override {
        return ::SHGetSpecialFolderPathA(nullptr, pszPath, CSIDL_SYSTEM, FALSE);
    }
    HMODULE Load(const char* pszPath) override {
        HMODULE hModule = ::LoadLibraryA(pszPath);
        CAgentTrace::Write("LoadLibraryA %s -> %s", pszPath, hModule != nullptr ? "loaded" : "failed");
        return hModule;
    }
    FARPROC FindEntryPoint(HMODULE hModule, const char* pszName) override {
        FARPROC pfn = ::GetProcAddress(hModule, pszName);
        CAgentTrace::Write("GetProcAddress %s -> %s", pszName, pfn != nullptr ? "found" : "missing");
        return pfn;
    }
    BOOL ChangeWindowMessageFilter(FARPROC pfn, UINT message, DWORD dwFlag) override {
        using Fn = BOOL(WINAPI*)(UINT, DWORD);
        const BOOL bOk = reinterpret_cast<Fn>(reinterpret_cast<void*>(pfn))(message, dwFlag);
        CAgentTrace::Write("ChangeWindowMessageFilter 0x%04X %lu -> %d", message, dwFlag, bOk);
        return bOk;
    }
    BOOL Free(HMODULE hModule) override {
        CAgentTrace::Write("FreeLibrary user32");
        return ::FreeLibrary(hModule);
    }
};

}  // namespace

CMessageFilter::Platform& CMessageFilter::SystemPlatform() {
    static CSystemPlatform s_platform;
    return s_platform;
}

BOOL CMessageFilter::QueryVersion6() {
    // The extended structure first; systems that know only the short one
    // refuse its size, and are asked again with theirs.
    OSVERSIONINFOEXA info;
    std::memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!m_platform.QueryVersion(&info)) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!m_platform.QueryVersion(&info)) return FALSE;
    }
    // Major version 6 covers Vista to 8, and also 8.1, 10 and 11 as long as
    // the program's manifest does not declare them (ours does not, on
    // purpose): to such programs those systems report 6.2. A manifest that
    // declared them would make them report their own versions and silently
    // close the filter to lower-integrity senders.
    return info.dwMajorVersion == 6;
}

void CMessageFilter::Open(UINT nMsgSaveSetup, UINT nMsgShutdown) {
    m_bVersion6 = QueryVersion6();
    if (!m_bVersion6) return;

    // By its full path, so that no user32.dll planted in the current or the
    // program's folder is loaded in its place. Without the folder, or when
    // the path would not fit, the step is skipped: a bare or cut-off path
    // could name some other file.
    char szPath[MAX_PATH] = {};
    if (!m_platform.GetSystemFolder(szPath) || szPath[0] == '\0') return;
    szPath[MAX_PATH - 1] = '\0';
    const size_t nLength = std::strlen(szPath);
    if (nLength + sizeof(kUser32) > MAX_PATH) return;
    std::memcpy(szPath + nLength, kUser32, sizeof(kUser32));

    m_hUser32 = m_platform.Load(szPath);
    if (m_hUser32 == nullptr) return;

    // A user32 without the entry point (an emulation layer, say) may report 6
    // all the same; the filter is then left alone rather than called through
    // a null address.
    m_pfnChangeWindowMessageFilter = m_platform.FindEntryPoint(m_hUser32, kChangeWindowMessageFilter);
    if (m_pfnChangeWindowMessageFilter == nullptr) return;

    m_platform.ChangeWindowMessageFilter(m_pfnChangeWindowMessageFilter, WM_CLOSE, kMsgFilterAdd);
    m_platform.ChangeWindowMessageFilter(m_pfnChangeWindowMessageFilter, nMsgSaveSetup, kMsgFilterAdd);
    m_platform.ChangeWindowMessageFilter(m_pfnChangeWindowMessageFilter, nMsgShutdown, kMsgFilterAdd);
}

void CMessageFilter::Release() {
    if (m_bVersion6 && m_hUser32 != nullptr) {
        m_platform.Free(m_hUser32);
        m_hUser32 = nullptr;
        m_pfnChangeWindowMessageFilter = nullptr;
    }
}
