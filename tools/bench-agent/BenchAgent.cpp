// bench-agent: the agent's CPU time while it idles for a while with 25 drives
// in the engine's list and no device reporting, and the cost of one poll tick,
// each beside a baseline measured in the same run: a process that runs the
// agent's hand-written loop with the same two timers and does nothing in them.
//
//   bench-agent [seconds]    measure (default 60 s of idle running)
//   bench-agent baseline     the baseline process (started by the above)
//
// Under Wine, GetProcessTimes does not report another process's CPU time, so
// there the two processes are read from the Linux process table (each thread's
// run time in nanoseconds); on Windows GetProcessTimes serves.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "KestrelNames.h"
#include "OutsideLibs.h"
#include "sim/Sim.h"

namespace {

constexpr char kBaselineTitle[] = "KestrelBenchBaseline";
constexpr char kStoredList[] = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 drives
constexpr DWORD kWarmUpMs = 2500;
constexpr int kReplayTicks = 200;

// ---- The baseline: the agent's loop and timers, with no work in them --------

LRESULT CALLBACK BaselineProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == 1) {
        ::KillTimer(hWnd, 1);
        ::SetTimer(hWnd, 1, 1000, nullptr);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

int RunBaseline() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BaselineProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kBaselineTitle;
    ::RegisterClassA(&wc);
    HWND hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, kBaselineTitle, kBaselineTitle, WS_CAPTION, 0, 0, 100, 100,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (hWnd == nullptr) return 1;
    ::SetTimer(hWnd, 2, 2000, nullptr);
    ::SetTimer(hWnd, 1, 1000, nullptr);
    MSG msg{};
    for (;;) {
        ::GetMessageA(&msg, nullptr, 0, 0);
        ::DispatchMessageA(&msg);
        if (msg.message == WM_CLOSE) break;
    }
    ::DestroyWindow(hWnd);
    return 0;
}

// ---- CPU time of another process ------------------------------------------

bool UnderWine() {
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    return hNtdll != nullptr && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

std::string ReadFileText(const std::string& path, size_t nMax = 1 << 16) {
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return {};
    std::string text(nMax, '\0');
    DWORD nRead = 0;
    ::ReadFile(hFile, text.data(), static_cast<DWORD>(nMax), &nRead, nullptr);
    ::CloseHandle(hFile);
    text.resize(nRead);
    return text;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(::tolower(static_cast<unsigned char>(c))); });
    return text;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE) return names;
    do {
        if (fd.cFileName[0] >= '0' && fd.cFileName[0] <= '9') names.push_back(fd.cFileName);
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
    return names;
}

// A process of this run in the Linux process table, by its command line:
// the program's full path (other Wine sessions on the machine may run
// programs of the same name from other folders) and a word that follows it.
// Wine keeps the Windows environment out of the Linux one, so no variable
// could mark the process instead.
class CProcessClock {
public:
    CProcessClock(const Sim::CProcess& process, const std::string& path, const char* pszWord) : m_process(process) {
        if (!UnderWine()) return;
        const std::string wanted = Lower(path);
        int nFound = 0;
        for (const std::string& pid : ListFolder("Z:\\proc")) {
            const std::string folder = "Z:\\proc\\" + pid;
            std::string commandLine = ReadFileText(folder + "\\cmdline", 4096);
            std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
            commandLine = Lower(commandLine);
            const size_t at = commandLine.find(wanted);
            if (at == std::string::npos || commandLine.find(pszWord, at + wanted.size()) == std::string::npos) continue;
            m_procFolder = folder;
            ++nFound;
        }
        if (nFound != 1) m_procFolder.clear();
    }

    bool Found() const { return !UnderWine() || !m_procFolder.empty(); }
    const std::string& Where() const { return m_procFolder; }

    // CPU time, user and kernel together, in milliseconds.
    double CpuMs() const {
        if (!UnderWine()) {
            FILETIME created, exited, kernel, user;
            if (!::GetProcessTimes(m_process.Handle(), &created, &exited, &kernel, &user)) return 0;
            const auto ms = [](FILETIME f) {
                return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
            };
            return ms(kernel) + ms(user);
        }
        double total = 0;
        for (const std::string& tid : ListFolder(m_procFolder + "\\task")) {
            const std::string schedstat = ReadFileText(m_procFolder + "\\task\\" + tid + "\\schedstat", 256);
            total += std::strtod(schedstat.c_str(), nullptr) / 1e6;
        }
        return total;
    }

private:
    const Sim::CProcess& m_process;
    std::string m_procFolder;
};

// ---- One poll tick, replayed in this process --------------------------------

// The calls a tick makes over the stored list: the letters by index until a
// 0, and the device library about each.
int ReplayTick() {
    int nReports = 0;
    int nLetter = Kestrel32_GetStoredDrive(0) & 0xFF;
    for (int i = 0; nLetter != 0;) {
        if (KestrelSDK_DeviceReports(nLetter) != 0) ++nReports;
        if (++i == 26) break;
        nLetter = Kestrel32_GetStoredDrive(i) & 0xFF;
    }
    return nReports;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND FindWindowOf(DWORD processId, const char* pszTitle) {
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, nullptr, pszTitle)) != nullptr) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == processId) return hWnd;
    }
    return nullptr;
}

int Fail(const char* pszWhat) {
    std::fprintf(stderr, "bench-agent: %s\n", pszWhat);
    return 1;
}

int Measure(double seconds) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    const std::string statePath = std::string(szTemp) + "KestrelAgentBench.state";
    if (!Sim::UseStateFile(std::wstring(statePath.begin(), statePath.end()))) return Fail("no state file");
    Sim::Reset();
    Sim::SetStoredList(kStoredList);
    // The engine keeps its 25 drives whatever the snapshot offers.
    Sim::SetOfferAnswer(0);

    Sim::CMainWindow mainWindow;
    if (!mainWindow.Start()) return Fail("no main window");
    char szSelf[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
    Sim::CProcess agent, baseline;
    if (!agent.Start(L"KestrelServ.exe", L"execute")) return Fail("the agent did not start");
    if (!baseline.Start(std::wstring(szSelf, szSelf + std::strlen(szSelf)), L"baseline")) {
        return Fail("the baseline did not start");
    }
    if (!Sim::WaitUntil([&] { return FindWindowOf(baseline.Id(), kBaselineTitle) != nullptr; }, 10000)) {
        return Fail("no baseline window");
    }

    const std::string binFolder(szSelf, std::strrchr(szSelf, '\\'));
    const CProcessClock agentClock(agent, binFolder + "\\KestrelServ.exe", "execute");
    const CProcessClock baselineClock(baseline, szSelf, "baseline");
    if (!agentClock.Found() || !baselineClock.Found()) {
        return Fail("the two processes are not each once in the process table (is another agent of this build running?)");
    }

    Sim::WaitUntil([] { return false; }, kWarmUpMs);
    if (!agent.IsRunning()) return Fail("the agent ended");

    // The call log holds 4096 calls, about 80 ticks of 51 calls: it starts
    // empty at the measured span.
    Sim::ClearCalls();
    const double agentStart = agentClock.CpuMs();
    const double baselineStart = baselineClock.CpuMs();
    const double wallStart = NowMs();
    Sim::WaitUntil([] { return false; }, static_cast<DWORD>(seconds * 1000));
    const double agentCpu = agentClock.CpuMs() - agentStart;
    const double baselineCpu = baselineClock.CpuMs() - baselineStart;
    const double wall = NowMs() - wallStart;

    bool bOverflowed = false;
    const std::vector<Sim::Call> calls = Sim::ReadCalls(&bOverflowed);
    int nTicks = 0;
    int nCalls = 0;
    for (const Sim::Call& call : calls) {
        if (call.processId != agent.Id()) continue;
        ++nCalls;
        if (call.Is(Sim::Library::Kestrel32, 4) && !call.args.empty() && call.args[0] == 0) ++nTicks;
    }
    const bool bAgentRan = agent.IsRunning();

    if (HWND hAgent = FindWindowOf(agent.Id(), Kestrel::kAgentWindowTitleA)) ::PostMessageA(hAgent, WM_CLOSE, 0, 0);
    if (HWND hBaseline = FindWindowOf(baseline.Id(), kBaselineTitle)) ::PostMessageA(hBaseline, WM_CLOSE, 0, 0);
    agent.WaitForExit(5000);
    baseline.WaitForExit(5000);
    if (!bAgentRan) return Fail("the agent ended during the measurement");

    // One tick replayed here: its calls counted once, then timed over many.
    Sim::ClearCalls();
    int nReports = ReplayTick();
    const int nReplayCalls = static_cast<int>(Sim::ReadCalls().size());
    double replayWall = NowMs();
    double replayCpu = ThreadCpuMs();
    for (int i = 0; i < kReplayTicks; ++i) nReports += ReplayTick();
    replayWall = (NowMs() - replayWall) / kReplayTicks;
    replayCpu = (ThreadCpuMs() - replayCpu) / kReplayTicks;

    const double idlePct = 100.0 * agentCpu / wall;
    const double basePct = 100.0 * baselineCpu / wall;
    std::printf("KestrelServ idle with %zu listed drives, no device reporting, %.1f s measured\n",
                std::strlen(kStoredList), wall / 1000);
    std::printf("  agent CPU            %9.1f ms  (%.3f %% of one core)\n", agentCpu, idlePct);
    std::printf("  baseline CPU         %9.1f ms  (%.3f %%; the same loop and timers, empty)\n", baselineCpu, basePct);
    std::printf("  ratio agent/baseline %9.2f\n", baselineCpu > 0 ? agentCpu / baselineCpu : 0.0);
    std::printf("  poll ticks           %9d     (%d calls into the stand-ins%s)\n", nTicks, nCalls,
                bOverflowed ? ", log overflowed: ticks undercounted" : "");
    if (nTicks > 0) {
        const double agentPerTick = agentCpu / nTicks;
        const double basePerTick = baselineCpu / nTicks;
        std::printf("  per poll tick        %9.3f ms agent, %.3f ms baseline (its empty timer tick): poll work %.3f ms,"
                    " ratio %.2f\n",
                    agentPerTick, basePerTick, agentPerTick - basePerTick,
                    basePerTick > 0 ? agentPerTick / basePerTick : 0.0);
    }
    std::printf("  tick replayed here   %9.3f ms wall, %.3f ms CPU (%d calls per tick, %d reports)\n", replayWall,
                replayCpu, nReplayCalls, nReports);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "baseline") == 0) return RunBaseline();
    const double seconds = argc >= 2 ? std::atof(argv[1]) : 60.0;
    if (seconds <= 0) return Fail("usage: bench-agent [seconds]");
    return Measure(seconds);
}
