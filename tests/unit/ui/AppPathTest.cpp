// MakeAppPath: names are placed in the program's folder whatever the current
// directory, and a result that does not fit is empty, never cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "AppPath.h"
#include "UiTestSupport.h"

namespace {

using UiTest::ProgramFolder;

TEST(MakeAppPath, PlacesTheNameInTheProgramsFolderOrGivesNothing) {
    const std::wstring folder = ProgramFolder();
    ASSERT_LT(folder.size(), 200u);
    // The longest name that still fits 260 units with the terminator.
    const std::wstring fits(kAppPathLength - 1 - folder.size(), L'a');
    const std::wstring tooLong = fits + L"b";
    const std::wstring farTooLong(1000, L'x');

    struct Case {
        const char* what;
        const wchar_t* name;
        std::wstring expected;
    };
    const Case cases[] = {
        {"null: the folder with its trailing backslash", nullptr, folder},
        {"a relative name", L"img\\Animation\\Backup\\a-1.png", folder + L"img\\Animation\\Backup\\a-1.png"},
        {"exactly 259 units", fits.c_str(), folder + fits},
        {"one unit too many: empty, not cut", tooLong.c_str(), L""},
        {"far too long: empty", farTooLong.c_str(), L""},
    };
    // Another current directory changes nothing.
    wchar_t szOldDir[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szOldDir);
    ASSERT_TRUE(::SetCurrentDirectoryW(L"C:\\"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Room beyond the 260 units, filled, to see that nothing is written there.
        wchar_t buffer[kAppPathLength + 40];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        EXPECT_EQ(MakeAppPath(c.name, buffer), buffer);
        EXPECT_EQ(std::wstring(buffer), c.expected);
        for (int i = kAppPathLength; i < kAppPathLength + 40; ++i) ASSERT_EQ(buffer[i], L'#') << i;
    }
    ::SetCurrentDirectoryW(szOldDir);
}

}  // namespace
