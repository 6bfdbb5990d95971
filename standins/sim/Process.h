// A program started by the simulator: one owner of its process handle.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace Sim {

class CProcess {
public:
    CProcess() = default;
    // A process still running when its owner goes is ended, so that a failed
    // test leaves nothing behind in the session; Detach() keeps it running.
    ~CProcess();
    CProcess(CProcess&& other) noexcept;
    CProcess& operator=(CProcess&& other) noexcept;
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    // Starts program (a file name in BinFolder(), or a path) with the
    // arguments as they stand, in the caller's current folder and environment.
    // showCommand, if given, goes to STARTUPINFO (STARTF_USESHOWWINDOW).
    bool Start(const std::wstring& program, const std::wstring& arguments = {},
               std::optional<int> showCommand = std::nullopt);

    DWORD Id() const { return m_dwId; }
    HANDLE Handle() const { return m_hProcess; }
    bool IsRunning() const;
    // True once the process has ended, false on timeout or if none was started.
    bool WaitForExit(DWORD timeoutMs);
    // The exit code once the process has ended.
    std::optional<DWORD> ExitCode() const;
    // Ends the process and waits for it; true if it is not running afterwards.
    bool Kill(UINT exitCode = 1);
    // Lets go of the process without ending it.
    void Detach();

private:
    void Close();

    HANDLE m_hProcess = nullptr;
    DWORD m_dwId = 0;
};

}  // namespace Sim
