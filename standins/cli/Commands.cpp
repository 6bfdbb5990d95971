#include "cli/Commands.h"

#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>

#include "KestrelNames.h"
#include "sim/Sim.h"

namespace SimCli {

namespace {

constexpr DWORD kDialogWaitMs = 10000;
constexpr DWORD kCompletionWaitMs = 10000;

void Say(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    // Lines of a running `main` or `demo` must show up as they happen, also
    // through a pipe.
    fflush(stdout);
}

[[noreturn]] void Fail(const CArguments& args, const std::string& message)
{
    throw Failure{args.Context(), message};
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], n, nullptr, nullptr);
    return narrow;
}

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

Sim::Job JobOf(CArguments& args)
{
    std::string word = args.Word("backup or restore");
    std::string lower = Lower(word);
    if (lower == "backup")
        return Sim::Job::Backup;
    if (lower == "restore")
        return Sim::Job::Restore;
    args.Fail("expected backup or restore, got " + Quote(word));
}

const char* EventName(Sim::Job job)
{
    return job == Sim::Job::Backup ? Kestrel::kEventProgressBackupA : Kestrel::kEventProgressRestoreA;
}

const char* JobWord(Sim::Job job)
{
    return job == Sim::Job::Backup ? Kestrel::kWordBackupA : Kestrel::kWordRestoreA;
}

// Upper-case drive letters, each once; "all" is every letter.
std::string DriveLetters(CArguments& args)
{
    std::string word = args.Word("drive letters or all");
    if (Lower(word) == "all")
        return "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string letters;
    for (char c : word) {
        char upper = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        if (upper < 'A' || upper > 'Z')
            args.Fail("expected drive letters A-Z or all, got " + Quote(word));
        letters += upper;
    }
    return letters;
}

// "1 for all", or "1 for ABCEF...; 0 for D".
std::string AnswersByLetter(const int32_t (&answers)[Standin::kLetters])
{
    std::map<int32_t, std::string> groups;
    for (uint32_t i = 0; i < Standin::kLetters; ++i)
        groups[answers[i]] += static_cast<char>('A' + i);
    if (groups.size() == 1)
        return std::to_string(groups.begin()->first) + " for all";
    std::string text;
    for (const auto& [answer, letters] : groups)
        text += (text.empty() ? "" : "; ") + std::to_string(answer) + " for " + letters;
    return text;
}

// ---- state -----------------------------------------------------------------

int Reset(CArguments& args)
{
    args.End();
    if (!Sim::Reset())
        Fail(args, "the state's lock could not be taken");
    Say("state reset: %s", Narrow(Sim::StateFilePath()).c_str());
    return 0;
}

int Show(CArguments& args)
{
    args.End();
    Sim::Script script = Sim::ReadScript();
    Say("state file  %s", Narrow(Sim::StateFilePath()).c_str());
    Say("percent     %d", script.percent);
    Say("failed      %d", script.failed ? 1 : 0);
    Say("stored      \"%s\"%s", script.storedList.c_str(), script.storedTerminated ? "" : " (no terminator)");
    Say("offer       %s", script.offerAnswer ? std::to_string(*script.offerAnswer).c_str() : "plausible");
    Say("admit       %s", AnswersByLetter(script.admit).c_str());
    Say("reports     %s", AnswersByLetter(script.reports).c_str());
    if (script.language)
        Say("language    0x%04X", static_cast<unsigned>(script.language));
    else
        Say("language    auto");
    Say("null-table  %s", script.nullTextTable ? "on" : "off");
    return 0;
}

int Set(CArguments& args)
{
    std::string what = args.Command("what to set", {"percent", "failed", "stored", "stored-raw", "offer", "admit",
                                                    "reports", "language", "null-table"});
    if (what == "percent") {
        int32_t percent = args.Integer("a percentage");
        args.End();
        Sim::SetPercent(percent);
    } else if (what == "failed") {
        bool failed = args.Switch("0 or 1");
        args.End();
        Sim::SetFailed(failed);
    } else if (what == "stored") {
        std::string word = args.Word("drive letters, or - for none");
        args.End();
        std::string letters;
        for (char c : word == "-" ? std::string() : word) {
            char upper = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            if (upper < 'A' || upper > 'Z')
                args.Fail("expected drive letters A-Z, got " + Quote(word));
            letters += upper;
        }
        if (letters.size() > 25)
            args.Fail("at most 25 letters fit with their terminator (set stored-raw writes 26 without one), got " +
                      std::to_string(letters.size()));
        Sim::SetStoredList(letters);
    } else if (what == "stored-raw") {
        std::string bytes = args.Word("up to 26 bytes");
        args.End();
        if (bytes.size() > Standin::kListBytes)
            args.Fail("at most 26 bytes, got " + std::to_string(bytes.size()));
        Sim::SetStoredListRaw(bytes);
    } else if (what == "offer") {
        std::string word = args.Word("plausible or an answer");
        args.End();
        if (word == "plausible") {
            Sim::SetOfferAnswer(std::nullopt);
        } else if (std::optional<int32_t> answer = ToInteger(word)) {
            Sim::SetOfferAnswer(*answer);
        } else {
            args.Fail("expected plausible or an integer, got " + Quote(word));
        }
    } else if (what == "admit" || what == "reports") {
        std::string letters = DriveLetters(args);
        int32_t answer = args.Integer("an answer");
        args.End();
        for (char letter : letters) {
            if (what == "admit")
                Sim::SetAdmit(letter, answer);
            else
                Sim::SetReports(letter, answer);
        }
    } else if (what == "language") {
        std::string word = args.Word("auto, en, de or a LANGID");
        args.End();
        std::string lower = Lower(word);
        std::optional<int32_t> language = lower == "auto" ? 0
                                          : lower == "en" ? 0x0409
                                          : lower == "de" ? 0x0407
                                                          : ToInteger(word);
        if (!language || *language < 0 || *language > 0xFFFF)
            args.Fail("expected auto, en, de or a LANGID (e.g. 0x0407), got " + Quote(word));
        Sim::SetLanguage(*language);
    } else {
        bool on = args.Switch("on or off");
        args.End();
        Sim::SetNullTextTable(on);
    }
    return 0;
}

// ---- logs ------------------------------------------------------------------

template <class Record>
int PrintLog(CArguments& args, std::vector<Record> (*read)(bool*), void (*clear)(), const char* none)
{
    bool clearAfter = args.Flag("--clear");
    args.End();
    bool overflowed = false;
    std::vector<Record> records = read(&overflowed);
    for (const Record& record : records)
        Say("%s", Sim::Describe(record).c_str());
    if (records.empty())
        Say("%s", none);
    if (overflowed)
        Say("(the log is full: later records were dropped)");
    if (clearAfter)
        clear();
    return 0;
}

int Calls(CArguments& args)
{
    return PrintLog(args, Sim::ReadCalls, Sim::ClearCalls, "(no calls)");
}

int Messages(CArguments& args)
{
    return PrintLog(args, Sim::ReadMessages, Sim::ClearMessages, "(no messages)");
}

int Sync(CArguments& args)
{
    return PrintLog(args, Sim::ReadSyncEvents, Sim::ClearSyncEvents, "(no sync program records)");
}

// ---- windows and processes -------------------------------------------------

void PrintReceived(const Sim::ReceivedMessage& message)
{
    Say("received %s", Sim::Describe(message).c_str());
}

int Main(CArguments& args)
{
    Sim::CMainWindow::Options options;
    if (std::optional<std::string> className = args.Option("--class"))
        options.className = Widen(*className);
    if (std::optional<std::string> title = args.Option("--title"))
        options.title = Widen(*title);
    options.visible = args.Flag("--visible");
    std::optional<int32_t> seconds = args.IntegerOption("--seconds", 1, 86400);
    args.End();
    options.onMessage = PrintReceived;

    std::string description = "class \"" + (options.className.empty() ? std::string("#32770") : Narrow(options.className)) +
                              "\", title \"" + Narrow(options.title) + "\", " + (options.visible ? "visible" : "hidden");
    Sim::CMainWindow window;
    if (!window.Start(options))
        Fail(args, "could not create the window (" + description + ")");
    Say("main window 0x%llX: %s; pid %lu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window.Handle())),
        description.c_str(), GetCurrentProcessId());
    if (window.WaitUntilClosed(seconds ? static_cast<DWORD>(*seconds) * 1000 : INFINITE)) {
        Say("main window closed");
    } else {
        Say("%d s passed; closing the main window", *seconds);
        window.Destroy();
    }
    return 0;
}

int Progress(CArguments& args)
{
    bool failed = args.Flag("--fail");
    Sim::Job job = JobOf(args);
    int32_t percent = args.Integer("a percentage");
    args.End();
    bool existed = false;
    if (!Sim::SignalProgress(job, percent, failed, &existed))
        Fail(args, std::string("could not signal ") + EventName(job));
    Say("percent %d, failed %d; signalled %s%s", percent, failed ? 1 : 0, EventName(job),
        existed ? "" : " (no process had it open: nobody was waiting)");
    return 0;
}

int PostProgress(CArguments& args)
{
    bool failed = args.Flag("--fail");
    bool send = args.Flag("--send");
    std::optional<Sim::Job> job;
    if (std::optional<std::string> word = args.Option("--job")) {
        CArguments jobArgs({*word});
        job = JobOf(jobArgs);
    }
    int32_t percent = args.Integer("a percentage");
    args.End();
    if (!Sim::FindProgressWindow(job))
        Fail(args, "no \"#32770\" window titled \"Backup\" or \"Restore\"");
    if (send) {
        std::optional<LRESULT> answer = Sim::SendProgress(percent, failed, job);
        if (!answer)
            Fail(args, "the progress window did not answer within 5 s");
        Say("KestrelProgress (%d, %d) answered %lld", failed ? 1 : 0, percent, static_cast<long long>(*answer));
    } else {
        if (!Sim::PostProgress(percent, failed, job))
            Fail(args, "posting failed, error " + std::to_string(GetLastError()));
        Say("posted KestrelProgress (%d, %d)", failed ? 1 : 0, percent);
    }
    return 0;
}

int Agent(CArguments& args)
{
    bool send = args.Flag("--send");
    std::string what = args.Command("a request", {"save", "shutdown", "devicechange", "close", "quit"});
    Sim::AgentRequest request = Sim::AgentRequest::Close;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::string name;
    if (what == "save") {
        request = Sim::AgentRequest::SaveSetup;
        wParam = static_cast<WPARAM>(args.Integer("W (1 to act)"));
        lParam = args.Integer("L (1 create, 0 delete)");
        name = Kestrel::kMsgSaveSetupA;
    } else if (what == "shutdown") {
        request = Sim::AgentRequest::Shutdown;
        name = Kestrel::kMsgShutdownA;
    } else if (what == "devicechange") {
        request = Sim::AgentRequest::DeviceChange;
        wParam = DBT_DEVNODES_CHANGED;
        if (std::optional<std::string> word = args.OptionalWord()) {
            std::optional<int32_t> event = ToInteger(*word);
            if (!event)
                args.Fail("expected an event type, got " + Quote(*word));
            wParam = static_cast<WPARAM>(*event);
        }
        name = "WM_DEVICECHANGE";
    } else if (what == "close") {
        name = "WM_CLOSE";
    } else {
        request = Sim::AgentRequest::Quit;
        name = "WM_QUIT";
        if (send)
            args.Fail("WM_QUIT can only be posted");
    }
    args.End();
    if (!Sim::FindAgentWindow())
        Fail(args, "no window titled \"KestrelServ\"");
    if (send) {
        std::optional<LRESULT> answer = Sim::SendToAgent(request, wParam, lParam);
        if (!answer)
            Fail(args, "KestrelServ did not answer within 5 s");
        Say("%s (%lld, %lld) answered %lld", name.c_str(), static_cast<long long>(wParam),
            static_cast<long long>(lParam), static_cast<long long>(*answer));
    } else {
        if (!Sim::PostToAgent(request, wParam, lParam))
            Fail(args, "posting failed, error " + std::to_string(GetLastError()));
        Say("posted %s (%lld, %lld) to KestrelServ", name.c_str(), static_cast<long long>(wParam),
            static_cast<long long>(lParam));
    }
    return 0;
}

bool HasCompleted(DWORD processId)
{
    std::vector<Sim::Call> calls = Sim::ReadCalls();
    return std::any_of(calls.begin(), calls.end(), [&](const Sim::Call& call) {
        return call.processId == processId && call.Is(Sim::Library::Kestrel32, 9);
    });
}

int Demo(CArguments& args)
{
    bool failed = args.Flag("--fail");
    int32_t step = args.IntegerOption("--step", 1, 100).value_or(4);
    int32_t interval = args.IntegerOption("--interval", 10, 10000).value_or(150);
    int32_t timeout = args.IntegerOption("--timeout", 1, 3600).value_or(30);
    Sim::Job job = JobOf(args);
    args.End();
    const DWORD startTick = GetTickCount();

    Sim::CMainWindow::Options options;
    options.onMessage = PrintReceived;
    Sim::CMainWindow mainWindow;
    if (!mainWindow.Start(options))
        Fail(args, "could not create the main window");
    Say("main window \"Kestrel\" (#32770) created hidden");

    Sim::SetPercent(0);
    Sim::SetFailed(failed);
    Sim::CProcess program;
    const std::wstring programName = L"QuillonAnimations.exe";
    if (!program.Start(programName, Widen(JobWord(job))))
        Fail(args, "could not start " + Narrow(Sim::BinFolder() + L"\\" + programName) + ", error " +
                       std::to_string(GetLastError()));
    Say("started QuillonAnimations.exe %s, pid %lu", JobWord(job), program.Id());

    const std::wstring title = Widen(JobWord(job));
    auto dialogOfProgram = [&]() -> HWND {
        for (HWND dialog = FindWindowW(Kestrel::kDialogClassW, title.c_str()); dialog;
             dialog = FindWindowExW(nullptr, dialog, Kestrel::kDialogClassW, title.c_str())) {
            DWORD owner = 0;
            GetWindowThreadProcessId(dialog, &owner);
            if (owner == program.Id())
                return dialog;
        }
        return nullptr;
    };
    Sim::WaitUntil([&] { return dialogOfProgram() || !program.IsRunning(); }, kDialogWaitMs);
    if (!dialogOfProgram()) {
        if (!program.IsRunning())
            Fail(args, "the program ended before its dialog appeared, exit code " +
                           std::to_string(program.ExitCode().value_or(0)));
        Fail(args, "no \"" + std::string(JobWord(job)) + "\" dialog after 10 s");
    }
    Say("the \"%s\" dialog is up", JobWord(job));

    for (int32_t percent = 0;; percent += step) {
        int32_t shown = std::min(percent, 100);
        Sim::SignalProgress(job, shown, failed);
        Say("progress %d%%", shown);
        if (shown >= 100 || Sim::WaitUntil([&] { return !program.IsRunning(); }, static_cast<DWORD>(interval)))
            break;
    }

    int status = 0;
    if (Sim::WaitUntil([&] { return HasCompleted(program.Id()); }, kCompletionWaitMs)) {
        Say("completion view: Kestrel32 ord 9 read, %s badge", failed ? "error" : "OK");
    } else {
        Say("no completion view: the program did not read Kestrel32 ord 9");
        status = 1;
    }

    Say("waiting up to %d s for the program to end (its close button)", timeout);
    if (program.WaitForExit(static_cast<DWORD>(timeout) * 1000)) {
        Say("the program ended, exit code %lu", program.ExitCode().value_or(0));
        Sim::WaitUntil([&] { return mainWindow.IsVisible(); }, 2000);
        Say("main window: %s, %s", mainWindow.IsVisible() ? "shown" : "still hidden",
            mainWindow.IsForeground() ? "in front" : "not in front");
    } else {
        Say("still running after %d s; ending it", timeout);
        program.Kill();
        status = 1;
    }
    for (const Sim::SyncEvent& event : Sim::ReadSyncEvents()) {
        if (event.tick - startTick < 0x80000000u)
            Say("sync program: %s", Sim::Describe(event).c_str());
    }
    return status;
}

struct CommandEntry {
    const char* name;
    int (*run)(CArguments&);
};

const CommandEntry g_commands[] = {
    {"reset", Reset},       {"show", Show},         {"set", Set},         {"calls", Calls},
    {"messages", Messages}, {"sync", Sync},         {"main", Main},       {"progress", Progress},
    {"post-progress", PostProgress}, {"agent", Agent}, {"demo", Demo},
};

}  // namespace

int RunCommand(CArguments& args)
{
    std::string word = args.Word("a command");
    for (const CommandEntry& command : g_commands) {
        if (word == command.name) {
            args.Enter(word);
            return command.run(args);
        }
    }
    throw UsageError{"", "unknown command " + Quote(word) + " (kestrel-sim --help lists them)"};
}

const char* HelpText()
{
    return R"(usage: kestrel-sim COMMAND [ARGS...] [; COMMAND [ARGS...]]...

Plays the product's processes around QuillonAnimations and KestrelServ, and
scripts the stand-in libraries Kestrel32, KestrelSDK and Glossa. Their state
lives in %TEMP%\KestrelStandin.state, or in the file that KESTREL_STANDIN_STATE
names; programs started from here inherit that choice.

The stand-ins' state
  reset                            defaults and empty logs
                                     kestrel-sim reset
  show                             print what the stand-ins will answer
                                     kestrel-sim show
  set percent N                    Kestrel32 ordinal 8 answers N
                                     kestrel-sim set percent 40
  set failed 0|1                   Kestrel32 ordinal 9 answers 0 or 1
                                     kestrel-sim set failed 1
  set stored LETTERS|-             the engine's stored drive list, at most 25
                                   letters; ordinal 6 writes it with a NUL
                                     kestrel-sim set stored CD
  set stored-raw BYTES             up to 26 bytes that ordinal 6 writes as
                                   they are, without a NUL
                                     kestrel-sim set stored-raw ABCDEFGHIJKLMNOPQRSTUVWXYZ
  set offer plausible|N            ordinal 5: store the offered list and answer
                                   1 (plausible), or answer N and store nothing
                                     kestrel-sim set offer 0
  set admit LETTERS|all N          KestrelSDK ordinal 2's answer for drives
                                     kestrel-sim set admit D 0
  set reports LETTERS|all N        KestrelSDK ordinal 3's answer for drives
                                     kestrel-sim set reports CE 1
  set language auto|en|de|LANGID   Glossa LanguageType's answer
                                     kestrel-sim set language de
  set null-table on|off            Glossa InitAPStringW leaves the table null
                                     kestrel-sim set null-table on

The logs (--clear empties a log after printing it)
  calls [--clear]                  every call of the stand-ins, in order
                                     kestrel-sim calls --clear
  messages [--clear]               registered messages the main window received
                                     kestrel-sim messages
  sync [--clear]                   starts and WM_CLOSEs of KestrelSync.exe
                                     kestrel-sim sync

The product's windows and processes
  main [--class NAME] [--title T] [--visible] [--seconds N]
                                   run the main window ("#32770" titled
                                   "Kestrel") until it is closed or for N s,
                                   printing each registered message it gets
                                     kestrel-sim main --seconds 60
  progress backup|restore PERCENT [--fail]
                                   set the percentage and failure flag, then
                                   signal Kestrel_ProgressBackup or ..Restore
                                     kestrel-sim progress backup 50
  post-progress PERCENT [--fail] [--send] [--job backup|restore]
                                   KestrelProgress (wParam failure flag,
                                   lParam percent) to the "Backup" or
                                   "Restore" dialog; --send prints its answer
                                     kestrel-sim post-progress 100 --fail
  agent save W L [--send]          Save_KestrelSetup to "KestrelServ"
                                     kestrel-sim agent save 1 1
  agent shutdown [--send]          MyShutdown to "KestrelServ"
                                     kestrel-sim agent shutdown
  agent devicechange [EVENT] [--send]
                                   WM_DEVICECHANGE (default event 7,
                                   DBT_DEVNODES_CHANGED) to "KestrelServ"
                                     kestrel-sim agent devicechange
  agent close [--send]             WM_CLOSE to "KestrelServ"
                                     kestrel-sim agent close
  agent quit                       WM_QUIT posted to "KestrelServ"
                                     kestrel-sim agent quit
  demo backup|restore [--fail] [--step N] [--interval MS] [--timeout S]
                                   a whole job: the main window (hidden),
                                   QuillonAnimations.exe from this folder,
                                   the percentage stepped 0..100 (default 4
                                   every 150 ms), the completion view, then
                                   up to S s (default 30) for the program to
                                   end
                                     kestrel-sim demo backup

Commands separated by ";" run in turn and stop at the first that fails:
    kestrel-sim reset ; set stored CD ; set admit D 0

Exit codes: 0 done; 1 an action failed (e.g. no such window); 2 a bad
command or argument.
)";
}

}  // namespace SimCli
