#include "StandinTestSupport.h"

#include <vector>

namespace {

std::wstring TempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder, n) + name;
}

// The tests reset and script the block at will; a file of their own keeps
// that away from anyone using the default one in the same session. The
// programs they start inherit it.
class PrivateStateFile : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(Sim::UseStateFile(TempFile(L"KestrelStandinTest.state"))); }
};

const auto* const g_privateState = ::testing::AddGlobalTestEnvironment(new PrivateStateFile);

HANDLE InheritableFile(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

// The child's text-mode streams end lines with CR LF; the tests compare
// lines.
std::string ReadAll(HANDLE file)
{
    std::string text;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        for (DWORD i = 0; i < n; ++i) {
            if (buffer[i] != '\r')
                text += buffer[i];
        }
    }
    return text;
}

}  // namespace

SimRun RunSim(const std::wstring& arguments)
{
    SimRun run;
    // Files, not pipes: nothing to drain while the child runs.
    HANDLE out = InheritableFile(TempFile(L"KestrelSimTest.out"));
    HANDLE err = InheritableFile(TempFile(L"KestrelSimTest.err"));
    std::wstring path = Sim::BinFolder() + L"\\kestrel-sim.exe";
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(path.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 99);
        GetExitCodeProcess(info.hProcess, &run.exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    } else {
        run.exitCode = 0xFFFFFFFF;
    }
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    CloseHandle(out);
    CloseHandle(err);
    return run;
}
