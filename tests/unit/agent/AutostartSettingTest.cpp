// The autostart request against a Run key of the test's own (under
// HKEY_CURRENT_USER), so that it can play every state of the entry without
// touching the machine's.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <string>

#include "AutostartSetting.h"

namespace {

std::string ProgramFiles() {
    char sz[MAX_PATH] = {};
    EXPECT_TRUE(::SHGetSpecialFolderPathA(nullptr, sz, CSIDL_PROGRAM_FILES, FALSE));
    return sz;
}
std::string Quoted() { return "\"" + ProgramFiles() + "\\Kestrel\\Kestrel.exe\" -tb"; }
std::string Unquoted() { return ProgramFiles() + "\\Kestrel\\Kestrel.exe -tb"; }

struct Value {
    DWORD dwType = REG_SZ;
    std::string bytes;  // exactly as stored, terminator included when there is one

    static Value Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }
    bool operator==(const Value& other) const { return dwType == other.dwType && bytes == other.bytes; }
};

void PrintTo(const Value& v, std::ostream* os) { *os << "type " << v.dwType << " [" << v.bytes << "] size " << v.bytes.size(); }

class AutostartSettingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_subKey = "Software\\KestrelAgentUnitTest\\" + std::to_string(::GetCurrentProcessId()) + "\\Run";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_subKey.c_str());
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                                    nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(hKey);
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER,
                         ("Software\\KestrelAgentUnitTest\\" + std::to_string(::GetCurrentProcessId())).c_str());
    }

    void Put(const std::optional<Value>& value) {
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, m_subKey.c_str(), "Kestrel");
        if (!value) return;
        // A byte after the data that is not a NUL: the system would count a
        // NUL there as the string's terminator and store it too.
        const std::string buffer = value->bytes + 'X';
        ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, m_subKey.c_str(), "Kestrel", value->dwType, buffer.data(),
                                    static_cast<DWORD>(value->bytes.size())),
                  ERROR_SUCCESS);
        ASSERT_EQ(Get(), value);
    }
    // The raw bytes: RegGetValue would add a terminator that is not stored.
    std::optional<Value> Get() {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, m_subKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return std::nullopt;
        DWORD dwType = 0;
        DWORD cb = 0;
        std::optional<Value> value;
        if (::RegQueryValueExA(hKey, "Kestrel", nullptr, &dwType, nullptr, &cb) == ERROR_SUCCESS) {
            std::string bytes(cb, '\0');
            ::RegQueryValueExA(hKey, "Kestrel", nullptr, &dwType, reinterpret_cast<BYTE*>(bytes.data()), &cb);
            bytes.resize(cb);
            value = Value{dwType, bytes};
        }
        ::RegCloseKey(hKey);
        return value;
    }

    std::string m_subKey;
};

TEST_F(AutostartSettingTest, TheDataIsTheQuotedProgramPathWithItsArgument) {
    char sz[CAutostartSetting::kBufferChars];
    ASSERT_TRUE(CAutostartSetting::BuildCommand(sz, sizeof(sz), true));
    EXPECT_EQ(sz, Quoted());
    ASSERT_TRUE(CAutostartSetting::BuildCommand(sz, sizeof(sz), false));
    EXPECT_EQ(sz, Unquoted());

    // A buffer one short of the string gets nothing rather than a cut-off path.
    const size_t nNeeded = Quoted().size() + 1;
    EXPECT_FALSE(CAutostartSetting::BuildCommand(sz, nNeeded - 1, true));
    EXPECT_STREQ(sz, "");
    EXPECT_TRUE(CAutostartSetting::BuildCommand(sz, nNeeded, true));
}

TEST_F(AutostartSettingTest, ActsOnlyOnWParam1AndKeepsWhatItDoesNotOwn) {
    const Value quoted = Value::Sz(Quoted());
    const Value old = Value::Sz(Unquoted());
    const Value other = Value::Sz("C:\\Elsewhere\\Kestrel.exe");
    // Longer than the 260 bytes that are read back: counts as absent.
    const Value oversize = Value::Sz(std::string(300, 'k'));

    struct Case {
        const char* name;
        std::optional<Value> before;
        WPARAM wParam;
        LPARAM lParam;
        std::optional<Value> after;
    };
    const Case cases[] = {
        {"absent, enable", std::nullopt, 1, 1, quoted},
        {"absent, disable", std::nullopt, 1, 0, std::nullopt},
        {"absent, lParam 2", std::nullopt, 1, 2, std::nullopt},
        {"absent, lParam -1", std::nullopt, 1, -1, std::nullopt},
        {"absent, wParam 0", std::nullopt, 0, 1, std::nullopt},
        {"absent, wParam 2", std::nullopt, 2, 1, std::nullopt},
        {"quoted, enable", quoted, 1, 1, quoted},
        {"quoted, disable", quoted, 1, 0, std::nullopt},
        {"quoted, wParam 0 disable", quoted, 0, 0, quoted},
        {"other data, enable", other, 1, 1, other},
        {"other data, disable", other, 1, 0, std::nullopt},
        {"other data, lParam 2", other, 1, 2, other},
        {"other data, wParam 2 disable", other, 2, 0, other},
        {"old unquoted, enable migrates", old, 1, 1, quoted},
        {"old unquoted, disable", old, 1, 0, std::nullopt},
        {"old unquoted, lParam 2", old, 1, 2, old},
        {"old unquoted, wParam 0", old, 0, 1, old},
        {"old unquoted without terminator, enable", Value{REG_SZ, Unquoted()}, 1, 1, Value{REG_SZ, Unquoted()}},
        {"old unquoted as REG_EXPAND_SZ, enable", Value{REG_EXPAND_SZ, old.bytes}, 1, 1, Value{REG_EXPAND_SZ, old.bytes}},
        {"old unquoted and more, enable", Value::Sz(Unquoted() + " -x"), 1, 1, Value::Sz(Unquoted() + " -x")},
        {"oversize, enable overwrites", oversize, 1, 1, quoted},
        {"oversize, disable leaves it", oversize, 1, 0, oversize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.before);
        CAutostartSetting(HKEY_CURRENT_USER, m_subKey.c_str()).Apply(c.wParam, c.lParam);
        EXPECT_EQ(Get(), c.after);
    }
}

TEST_F(AutostartSettingTest, AMissingKeyIsNotCreated) {
    const std::string missing = m_subKey + "\\Missing";
    CAutostartSetting(HKEY_CURRENT_USER, missing.c_str()).Apply(1, 1);
    HKEY hKey = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
}

}  // namespace
