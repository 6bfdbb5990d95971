#include "sim/Process.h"

#include <vector>

#include "sim/Sim.h"

namespace Sim {

namespace {

constexpr DWORD kKillWaitMs = 5000;

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool IsPath(const std::wstring& program)
{
    return program.find_first_of(L"\\/:") != std::wstring::npos;
}

}  // namespace

std::wstring BinFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    std::wstring folder = FolderOf(std::wstring(buffer.data(), n));
    if (FileExists(folder + L"\\Kestrel32.dll"))
        return folder;
    std::wstring sibling = folder + L"\\..\\bin";
    std::vector<wchar_t> full(sibling.size() + MAX_PATH);
    n = GetFullPathNameW(sibling.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return (n > 0 && n < full.size()) ? std::wstring(full.data(), n) : sibling;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return condition();
        DWORD left = timeoutMs - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs < left ? pollMs : left, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

CProcess::~CProcess()
{
    if (IsRunning())
        Kill();
    Close();
}

CProcess::CProcess(CProcess&& other) noexcept : m_hProcess(other.m_hProcess), m_dwId(other.m_dwId)
{
    other.m_hProcess = nullptr;
    other.m_dwId = 0;
}

CProcess& CProcess::operator=(CProcess&& other) noexcept
{
    if (this != &other) {
        if (IsRunning())
            Kill();
        Close();
        m_hProcess = other.m_hProcess;
        m_dwId = other.m_dwId;
        other.m_hProcess = nullptr;
        other.m_dwId = 0;
    }
    return *this;
}

void CProcess::Close()
{
    if (m_hProcess)
        CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_dwId = 0;
}

bool CProcess::Start(const std::wstring& program, const std::wstring& arguments, std::optional<int> showCommand)
{
    if (IsRunning())
        Kill();
    Close();
    std::wstring path = IsPath(program) ? program : BinFolder() + L"\\" + program;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(*showCommand);
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    m_hProcess = info.hProcess;
    m_dwId = info.dwProcessId;
    return true;
}

bool CProcess::IsRunning() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CProcess::WaitForExit(DWORD timeoutMs)
{
    return m_hProcess && WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> CProcess::ExitCode() const
{
    DWORD code = 0;
    if (!m_hProcess || IsRunning() || !GetExitCodeProcess(m_hProcess, &code))
        return std::nullopt;
    return code;
}

bool CProcess::Kill(UINT exitCode)
{
    if (!m_hProcess)
        return true;
    if (IsRunning())
        TerminateProcess(m_hProcess, exitCode);
    return WaitForSingleObject(m_hProcess, kKillWaitMs) == WAIT_OBJECT_0;
}

void CProcess::Detach()
{
    Close();
}

}  // namespace Sim
