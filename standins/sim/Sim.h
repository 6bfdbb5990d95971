// The product simulator: plays the product's processes around QuillonAnimations
// and KestrelServ, and scripts and reads the stand-in libraries. kestrel-sim is
// a command language over this library; the end-to-end tests link it.
//
// Everything goes through the stand-ins' shared state file (KESTREL_STANDIN_STATE,
// or KestrelStandin.state in the user's temp folder). Programs started from a
// process inherit its environment, and with it the file.
//
// The calls of this library are not meant to be made from several threads at
// once, except that a CMainWindow's callback runs on the window's thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/MainWindow.h"
#include "sim/Process.h"
#include "sim/Records.h"
#include "state/StateLayout.h"

namespace Sim {

// ---- The stand-ins' state --------------------------------------------------

// The state file this process uses.
std::wstring StateFilePath();
// Uses another state file, for this process and the programs it starts (sets
// KESTREL_STANDIN_STATE). Call it before the stand-ins are first called in this
// process. False if the file cannot be mapped (a private block stands in).
bool UseStateFile(const std::wstring& path);
// Re-initialises the block: the defaults below, empty logs, sequence from 1.
bool Reset();

// What the stand-ins answer. Defaults after Reset() in brackets.
struct Script {
    int32_t percent = 0;             // Kestrel32 ordinal 8 [0]
    bool failed = false;             // ordinal 9 [false]
    std::string storedList;          // the engine's drive list [empty]
    bool storedTerminated = true;    // ordinal 6 writes a NUL after it [true]
    std::optional<int32_t> offerAnswer;  // ordinal 5: nullopt = plausible [nullopt]
    int32_t admit[Standin::kLetters] = {};    // KestrelSDK ordinal 2, by letter - 'A' [1]
    int32_t reports[Standin::kLetters] = {};  // KestrelSDK ordinal 3 [0]
    int32_t language = 0;            // LanguageType; 0 follows the UI language [0]
    bool nullTextTable = false;      // InitAPStringW leaves the table null [false]
};
Script ReadScript();

void SetPercent(int32_t percent);
void SetFailed(bool failed);
// The engine's list, at most 25 bytes; ordinal 6 writes it with a terminator
// and ordinal 4 yields its bytes by index (0 past the end).
bool SetStoredList(std::string_view letters);
// At most 26 bytes that ordinal 6 writes exactly as given, without a
// terminator: 26 letters fill the caller's buffer.
bool SetStoredListRaw(std::string_view bytes);
// Ordinal 5's answer. nullopt: plausible (a list terminated within 26 bytes is
// stored and answered 1, anything else answered 0). A fixed answer leaves the
// stored list alone.
void SetOfferAnswer(std::optional<int32_t> answer);
// KestrelSDK ordinals 2 and 3 for one drive letter, 'A' to 'Z'.
bool SetAdmit(char letter, int32_t answer);
bool SetReports(char letter, int32_t answer);
// A LANGID for LanguageType to answer (0x0409 English, 0x0407 German); 0
// chooses from the user's UI language. InitAPStringW picks the texts by the
// language it is passed: German for LANG_GERMAN, English otherwise.
void SetLanguage(int32_t language);
void SetNullTextTable(bool on);

// ---- The logs --------------------------------------------------------------
// Each log keeps its first records up to a fixed capacity; *overflowed tells
// whether any were dropped after that.

std::vector<Call> ReadCalls(bool* overflowed = nullptr);
std::vector<ReceivedMessage> ReadMessages(bool* overflowed = nullptr);
std::vector<SyncEvent> ReadSyncEvents(bool* overflowed = nullptr);
void ClearCalls();
void ClearMessages();
void ClearSyncEvents();

// One readable line each, e.g. `#12 pid 88 Kestrel32 ord 5 ("CD") -> 1`.
std::string Describe(const Call& call);
std::string Describe(const ReceivedMessage& message);
std::string Describe(const SyncEvent& event);

// ---- Progress --------------------------------------------------------------

enum class Job { Backup, Restore };

// Sets the engine's percentage and failure flag, then signals
// "Kestrel_ProgressBackup" or "Kestrel_ProgressRestore". If no process has the
// event, it is created auto-reset and held until this process ends, so that a
// program started later opens it signalled. *existed tells whether it was
// there already.
bool SignalProgress(Job job, int32_t percent, bool failed = false, bool* existed = nullptr);
// The "#32770" window titled "Backup" or "Restore"; without a job, either.
HWND FindProgressWindow(std::optional<Job> job = std::nullopt);
// "KestrelProgress" with wParam the failure flag and lParam the percentage.
bool PostProgress(int32_t percent, bool failed = false, std::optional<Job> job = std::nullopt);
std::optional<LRESULT> SendProgress(int32_t percent, bool failed = false,
                                    std::optional<Job> job = std::nullopt, DWORD timeoutMs = 5000);

// ---- The agent's requests ---------------------------------------------------

enum class AgentRequest {
    SaveSetup,     // "Save_KestrelSetup" (wParam, lParam)
    Shutdown,      // "MyShutdown"
    DeviceChange,  // WM_DEVICECHANGE (wParam = the event, lParam 0)
    Close,         // WM_CLOSE
    Quit,          // WM_QUIT; posted only
};

// The top-level window titled "KestrelServ", any class.
HWND FindAgentWindow();
// The message id of a registered name (RegisterWindowMessageW).
UINT MessageId(const wchar_t* name);
bool PostToAgent(AgentRequest request, WPARAM wParam = 0, LPARAM lParam = 0);
// The window's answer; nullopt if there is no window, it did not answer in
// time, or the request is Quit.
std::optional<LRESULT> SendToAgent(AgentRequest request, WPARAM wParam = 0, LPARAM lParam = 0,
                                   DWORD timeoutMs = 5000);

// ---- Processes and waiting -------------------------------------------------

// The folder of the programs and the stand-ins: the running program's own
// folder if the stand-ins are there, else its sibling "bin" (tests run from
// <build>\tests, the programs live in <build>\bin).
std::wstring BinFolder();
// Polls condition every pollMs until it holds or timeoutMs has passed; returns
// its last value. Waits with MsgWaitForMultipleObjects and dispatches what
// arrives, so windows of the calling thread keep working.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// ---- Message boxes ---------------------------------------------------------

struct MessageBoxButton {
    int id = 0;
    std::wstring text;
    HWND window = nullptr;
};

struct MessageBoxInfo {
    HWND window = nullptr;
    DWORD processId = 0;
    std::wstring caption;
    std::wstring text;
    std::vector<MessageBoxButton> buttons;  // the visible ones, in z-order
};

// A message box of the given process (0: of any process) once it is on screen:
// a visible top-level "#32770" window with a static text of id 0xFFFF and at
// least one button.
std::optional<MessageBoxInfo> FindMessageBox(DWORD processId);
// Clicks a button by posting WM_COMMAND (id, BN_CLICKED) to the box.
bool PressButton(const MessageBoxInfo& box, int buttonId);

}  // namespace Sim
