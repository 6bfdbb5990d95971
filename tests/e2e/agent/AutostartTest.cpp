// The autostart request sent to the running agent, against the machine's own
// Run key: what the product's other processes can see of it.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <string>

#include "AgentE2E.h"
#include "KestrelNames.h"

using namespace AgentE2E;

namespace {

struct Value {
    DWORD dwType = REG_SZ;
    std::string bytes;  // as stored, terminator included

    static Value Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }
    bool operator==(const Value& other) const { return dwType == other.dwType && bytes == other.bytes; }
};

void PrintTo(const Value& v, std::ostream* os) { *os << "type " << v.dwType << " [" << v.bytes << "] size " << v.bytes.size(); }

std::optional<Value> ReadEntry() {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Kestrel::kRunKeyA, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return std::nullopt;
    std::optional<Value> value;
    DWORD dwType = 0;
    DWORD cb = 0;
    if (::RegQueryValueExA(hKey, Kestrel::kRunValueA, nullptr, &dwType, nullptr, &cb) == ERROR_SUCCESS) {
        std::string bytes(cb, '\0');
        ::RegQueryValueExA(hKey, Kestrel::kRunValueA, nullptr, &dwType, reinterpret_cast<BYTE*>(bytes.data()), &cb);
        bytes.resize(cb);
        value = Value{dwType, bytes};
    }
    ::RegCloseKey(hKey);
    return value;
}

void WriteEntry(const std::optional<Value>& value) {
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Kestrel::kRunKeyA, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegDeleteValueA(hKey, Kestrel::kRunValueA);
    if (value) {
        ::RegSetValueExA(hKey, Kestrel::kRunValueA, 0, value->dwType, reinterpret_cast<const BYTE*>(value->bytes.data()),
                         static_cast<DWORD>(value->bytes.size()));
    }
    ::RegCloseKey(hKey);
}

// Whatever the session's Run key held before the test is put back after it.
class CKeptEntry {
public:
    CKeptEntry() : m_saved(ReadEntry()) {}
    ~CKeptEntry() { WriteEntry(m_saved); }
    CKeptEntry(const CKeptEntry&) = delete;
    CKeptEntry& operator=(const CKeptEntry&) = delete;

private:
    std::optional<Value> m_saved;
};

TEST(AgentAutostart, WritesTheQuotedEntryMigratesTheOldOneAndAnswersOne) {
    ResetAll();
    CKeptEntry kept;
    char szProgramFiles[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, szProgramFiles, CSIDL_PROGRAM_FILES, FALSE));
    const Value quoted = Value::Sz("\"" + std::string(szProgramFiles) + "\\Kestrel\\Kestrel.exe\" -tb");
    const Value old = Value::Sz(std::string(szProgramFiles) + "\\Kestrel\\Kestrel.exe -tb");
    const Value other = Value::Sz("\"D:\\Kestrel\\Kestrel.exe\" -tb");

    Sim::CMainWindow mainWindow;
    ASSERT_TRUE(mainWindow.Start());
    Sim::CProcess agent;
    ASSERT_TRUE(StartAgent(agent));
    ASSERT_NE(WaitForAgentWindow(agent), nullptr);

    struct Case {
        const char* name;
        std::optional<Value> before;
        WPARAM wParam;
        LPARAM lParam;
        std::optional<Value> after;
    };
    const Case cases[] = {
        {"wParam 0 does nothing", std::nullopt, 0, 1, std::nullopt},
        {"lParam 2 does nothing", std::nullopt, 1, 2, std::nullopt},
        {"enable writes the quoted form with its terminator", std::nullopt, 1, 1, quoted},
        {"enable again leaves it", quoted, 1, 1, quoted},
        {"enable migrates the old unquoted form", old, 1, 1, quoted},
        {"enable keeps other data", other, 1, 1, other},
        {"disable removes it", other, 1, 0, std::nullopt},
        {"disable without it changes nothing", std::nullopt, 1, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteEntry(c.before);
        EXPECT_EQ(Sim::SendToAgent(Sim::AgentRequest::SaveSetup, c.wParam, c.lParam), std::optional<LRESULT>(1));
        EXPECT_EQ(ReadEntry(), c.after);
    }

    ASSERT_TRUE(Sim::PostToAgent(Sim::AgentRequest::Close));
    EXPECT_TRUE(agent.WaitForExit(10000));
}

}  // namespace
