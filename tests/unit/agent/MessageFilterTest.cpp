// The version query and the message filter step of start-up, played against a
// platform that reports any version and fails any step on request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MessageFilter.h"

namespace {

constexpr UINT kSaveSetup = 0xC101;
constexpr UINT kShutdown = 0xC102;

class CFakePlatform : public CMessageFilter::Platform {
public:
    // Outcomes to play: the answer to each GetVersionEx call in turn.
    std::vector<bool> m_versionAnswers = {true};
    DWORD m_dwMajor = 6;
    bool m_bFolderOk = true;
    std::string m_folder = "C:\\windows\\system32";
    bool m_bLoadOk = true;
    bool m_bEntryPresent = true;

    // What was asked.
    std::vector<DWORD> m_versionSizes;
    std::vector<std::string> m_loaded;
    std::vector<std::string> m_lookedUp;
    std::vector<std::pair<UINT, DWORD>> m_filtered;
    std::vector<FARPROC> m_filterEntries;
    std::vector<HMODULE> m_freed;

    HMODULE Module() const { return reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x7700)); }
    FARPROC Entry() const { return reinterpret_cast<FARPROC>(static_cast<INT_PTR>(0x7710)); }

    BOOL QueryVersion(OSVERSIONINFOEXA* pInfo) override {
        const size_t n = m_versionSizes.size();
        m_versionSizes.push_back(pInfo->dwOSVersionInfoSize);
        if (n >= m_versionAnswers.size() || !m_versionAnswers[n]) return FALSE;
        pInfo->dwMajorVersion = m_dwMajor;
        pInfo->dwMinorVersion = 1;
        return TRUE;
    }
    BOOL GetSystemFolder(char* pszPath) override {
        if (!m_bFolderOk) return FALSE;
        lstrcpynA(pszPath, m_folder.c_str(), MAX_PATH);
        return TRUE;
    }
    HMODULE Load(const char* pszPath) override {
        m_loaded.push_back(pszPath);
        return m_bLoadOk ? Module() : nullptr;
    }
    FARPROC FindEntryPoint(HMODULE hModule, const char* pszName) override {
        EXPECT_EQ(hModule, Module());
        m_lookedUp.push_back(pszName);
        return m_bEntryPresent ? Entry() : nullptr;
    }
    BOOL ChangeWindowMessageFilter(FARPROC pfn, UINT message, DWORD dwFlag) override {
        m_filterEntries.push_back(pfn);
        m_filtered.emplace_back(message, dwFlag);
        return TRUE;
    }
    BOOL Free(HMODULE hModule) override {
        m_freed.push_back(hModule);
        return TRUE;
    }
};

// Open, then Release, as start-up and the end of the loop do.
void OpenAndRelease(CMessageFilter& filter) {
    filter.Open(kSaveSetup, kShutdown);
    filter.Release();
}

TEST(MessageFilter, OnMajorVersion6AddsCloseAndTheTwoRequestsThroughUser32ByItsFullPath) {
    CFakePlatform platform;
    CMessageFilter filter(platform);
    filter.Open(kSaveSetup, kShutdown);

    EXPECT_TRUE(filter.m_bVersion6);
    EXPECT_EQ(platform.m_versionSizes, (std::vector<DWORD>{156}));
    EXPECT_EQ(platform.m_loaded, (std::vector<std::string>{"C:\\windows\\system32\\user32.dll"}));
    EXPECT_EQ(platform.m_lookedUp, (std::vector<std::string>{"ChangeWindowMessageFilter"}));
    const std::vector<std::pair<UINT, DWORD>> expected = {{WM_CLOSE, 1}, {kSaveSetup, 1}, {kShutdown, 1}};
    EXPECT_EQ(platform.m_filtered, expected);
    EXPECT_EQ(platform.m_filterEntries, std::vector<FARPROC>(3, platform.Entry()));
    EXPECT_TRUE(platform.m_freed.empty()) << "the library stays loaded while the loop runs";

    filter.Release();
    EXPECT_EQ(platform.m_freed, (std::vector<HMODULE>{platform.Module()}));
    filter.Release();
    EXPECT_EQ(platform.m_freed.size(), 1u) << "released once";
}

TEST(MessageFilter, OnlyMajorVersion6OpensTheFilter) {
    struct Case {
        DWORD dwMajor;
        bool bFilter;
    };
    for (const Case c : {Case{6, true}, Case{5, false}, Case{4, false}, Case{7, false}, Case{10, false}}) {
        SCOPED_TRACE("major " + std::to_string(c.dwMajor));
        CFakePlatform platform;
        platform.m_dwMajor = c.dwMajor;
        CMessageFilter filter(platform);
        OpenAndRelease(filter);
        EXPECT_EQ(filter.m_bVersion6 != FALSE, c.bFilter);
        EXPECT_EQ(platform.m_loaded.size(), c.bFilter ? 1u : 0u) << "no library is loaded off version 6";
        EXPECT_EQ(platform.m_filtered.size(), c.bFilter ? 3u : 0u);
        EXPECT_EQ(platform.m_freed.size(), c.bFilter ? 1u : 0u);
    }
}

TEST(MessageFilter, AsksAgainWithTheShortStructureWhenTheLongOneIsRefused) {
    struct Case {
        const char* name;
        std::vector<bool> answers;
        std::vector<DWORD> sizes;
        bool bFilter;
    };
    const Case cases[] = {
        {"long structure taken", {true}, {156}, true},
        {"short structure taken", {false, true}, {156, 148}, true},
        {"both refused", {false, false}, {156, 148}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakePlatform platform;
        platform.m_versionAnswers = c.answers;
        CMessageFilter filter(platform);
        OpenAndRelease(filter);
        EXPECT_EQ(platform.m_versionSizes, c.sizes);
        EXPECT_EQ(platform.m_filtered.size(), c.bFilter ? 3u : 0u);
    }
}

TEST(MessageFilter, AFailedLibraryStepSkipsTheFilterAndFreesOnlyWhatWasLoaded) {
    struct Case {
        const char* name;
        bool bFolderOk;
        std::string folder;
        bool bLoadOk;
        bool bEntryPresent;
        size_t nLoaded;
        size_t nLookedUp;
        size_t nFreed;
    };
    const Case cases[] = {
        {"no system folder", false, "", true, true, 0, 0, 0},
        // A bare "\user32.dll" would be looked for in the current drive's root.
        {"empty system folder", true, "", true, true, 0, 0, 0},
        {"folder too long for the path", true, std::string(MAX_PATH - 5, 'x'), true, true, 0, 0, 0},
        {"library not loaded", true, "C:\\windows\\system32", false, true, 1, 0, 0},
        {"entry point missing", true, "C:\\windows\\system32", true, false, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakePlatform platform;
        platform.m_bFolderOk = c.bFolderOk;
        platform.m_folder = c.folder;
        platform.m_bLoadOk = c.bLoadOk;
        platform.m_bEntryPresent = c.bEntryPresent;
        CMessageFilter filter(platform);
        OpenAndRelease(filter);
        EXPECT_TRUE(filter.m_bVersion6);
        EXPECT_EQ(platform.m_loaded.size(), c.nLoaded);
        EXPECT_EQ(platform.m_lookedUp.size(), c.nLookedUp);
        EXPECT_TRUE(platform.m_filtered.empty());
        EXPECT_EQ(platform.m_freed.size(), c.nFreed);
    }
}

}  // namespace
