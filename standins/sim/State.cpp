// The simulator's access to the stand-ins' shared block: scripting, the logs,
// and their readable form.
#include <cstdio>
#include <cstring>

#include "sim/Sim.h"
#include "state/SharedState.h"

namespace Sim {

using Standin::CSharedState;
using Standin::StateBlock;

namespace {

// Runs a change of the block under its lock; false if the lock was not had.
template <class Change>
bool Modify(Change change)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    if (!lock.Held())
        return false;
    change(state.Block());
    return true;
}

template <class Read>
auto ReadLocked(Read read)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    return read(state.Block());
}

bool IsLetter(char letter)
{
    return letter >= 'A' && letter <= 'Z';
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string Quoted(const std::string& bytes)
{
    std::string text = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            text += static_cast<char>(c);
        else
            text += Format("\\x%02X", c);
    }
    return text + "\"";
}

std::string Letter(int64_t value)
{
    if (value >= 0x20 && value < 0x7F)
        return Format("'%c'", static_cast<char>(value));
    return Format("%lld", static_cast<long long>(value));
}

std::string Hex(int64_t value)
{
    return Format("0x%llX", static_cast<unsigned long long>(value));
}

}  // namespace

std::wstring StateFilePath()
{
    return CSharedState::Current().Path();
}

bool UseStateFile(const std::wstring& path)
{
    SetEnvironmentVariableW(Standin::kStateFileVariable, path.c_str());
    return CSharedState::Current().Open(path);
}

bool Reset()
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    state.Reset(lock);
    return lock.Held();
}

Script ReadScript()
{
    return ReadLocked([](const StateBlock& block) {
        Script script;
        const Standin::EngineScript& engine = block.engine;
        script.percent = engine.percent;
        script.failed = engine.failed != 0;
        uint32_t length = engine.storedLength < Standin::kListBytes ? engine.storedLength : Standin::kListBytes;
        script.storedList.assign(reinterpret_cast<const char*>(engine.storedList), length);
        script.storedTerminated = engine.storedTerminated != 0 && length < Standin::kListBytes;
        if (engine.offerMode == Standin::kOfferFixed)
            script.offerAnswer = engine.offerAnswer;
        std::memcpy(script.admit, block.device.admit, sizeof script.admit);
        std::memcpy(script.reports, block.device.reports, sizeof script.reports);
        script.language = block.glossa.language;
        script.nullTextTable = block.glossa.nullTable != 0;
        return script;
    });
}

void SetPercent(int32_t percent)
{
    Modify([&](StateBlock& block) { block.engine.percent = percent; });
}

void SetFailed(bool failed)
{
    Modify([&](StateBlock& block) { block.engine.failed = failed ? 1 : 0; });
}

namespace {

bool StoreList(std::string_view bytes, bool terminated)
{
    return Modify([&](StateBlock& block) {
        Standin::EngineScript& engine = block.engine;
        std::memset(engine.storedList, 0, sizeof engine.storedList);
        std::memcpy(engine.storedList, bytes.data(), bytes.size());
        engine.storedLength = static_cast<uint32_t>(bytes.size());
        engine.storedTerminated = terminated ? 1 : 0;
    });
}

}  // namespace

bool SetStoredList(std::string_view letters)
{
    if (letters.size() >= Standin::kListBytes)
        return false;
    return StoreList(letters, true);
}

bool SetStoredListRaw(std::string_view bytes)
{
    if (bytes.size() > Standin::kListBytes)
        return false;
    return StoreList(bytes, false);
}

void SetOfferAnswer(std::optional<int32_t> answer)
{
    Modify([&](StateBlock& block) {
        block.engine.offerMode = answer ? Standin::kOfferFixed : Standin::kOfferPlausible;
        block.engine.offerAnswer = answer.value_or(0);
    });
}

bool SetAdmit(char letter, int32_t answer)
{
    return IsLetter(letter) && Modify([&](StateBlock& block) { block.device.admit[letter - 'A'] = answer; });
}

bool SetReports(char letter, int32_t answer)
{
    return IsLetter(letter) && Modify([&](StateBlock& block) { block.device.reports[letter - 'A'] = answer; });
}

void SetLanguage(int32_t language)
{
    Modify([&](StateBlock& block) { block.glossa.language = language; });
}

void SetNullTextTable(bool on)
{
    Modify([&](StateBlock& block) { block.glossa.nullTable = on ? 1 : 0; });
}

std::vector<Call> ReadCalls(bool* overflowed)
{
    return ReadLocked([&](const StateBlock& block) {
        std::vector<Call> calls;
        uint32_t count = block.callCount < Standin::kCallCapacity ? block.callCount : Standin::kCallCapacity;
        calls.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const Standin::CallRecord& record = block.calls[i];
            Call call;
            call.sequence = record.sequence;
            call.processId = record.processId;
            call.tick = record.tick;
            call.library = static_cast<Library>(record.library);
            call.entry = record.entry;
            uint32_t args = record.argCount < Standin::kMaxArgs ? record.argCount : Standin::kMaxArgs;
            call.args.assign(record.args, record.args + args);
            call.result = record.result;
            if (record.hasList) {
                uint32_t length = record.listLength < Standin::kListBytes ? record.listLength : Standin::kListBytes;
                call.list = std::string(reinterpret_cast<const char*>(record.list), length);
                call.listTerminated = record.listTerminated != 0;
            }
            calls.push_back(std::move(call));
        }
        if (overflowed)
            *overflowed = block.callOverflow != 0;
        return calls;
    });
}

std::vector<ReceivedMessage> ReadMessages(bool* overflowed)
{
    return ReadLocked([&](const StateBlock& block) {
        std::vector<ReceivedMessage> messages;
        uint32_t count =
            block.messageCount < Standin::kMessageCapacity ? block.messageCount : Standin::kMessageCapacity;
        for (uint32_t i = 0; i < count; ++i) {
            const Standin::MessageRecord& record = block.messages[i];
            ReceivedMessage message;
            message.sequence = record.sequence;
            message.processId = record.processId;
            message.tick = record.tick;
            message.message = record.message;
            message.name.assign(record.name, strnlen(record.name, Standin::kNameBytes));
            message.wParam = record.wParam;
            message.lParam = record.lParam;
            message.window = reinterpret_cast<HWND>(static_cast<uintptr_t>(record.window));
            messages.push_back(std::move(message));
        }
        if (overflowed)
            *overflowed = block.messageOverflow != 0;
        return messages;
    });
}

std::vector<SyncEvent> ReadSyncEvents(bool* overflowed)
{
    return ReadLocked([&](const StateBlock& block) {
        std::vector<SyncEvent> events;
        uint32_t count = block.syncCount < Standin::kSyncCapacity ? block.syncCount : Standin::kSyncCapacity;
        for (uint32_t i = 0; i < count; ++i) {
            const Standin::SyncRecord& record = block.sync[i];
            SyncEvent event;
            event.sequence = record.sequence;
            event.processId = record.processId;
            event.tick = record.tick;
            switch (static_cast<Standin::SyncKind>(record.kind)) {
            case Standin::SyncKind::Close: event.kind = SyncEvent::Kind::Close; break;
            case Standin::SyncKind::StarterGone: event.kind = SyncEvent::Kind::StarterGone; break;
            default: event.kind = SyncEvent::Kind::Start; break;
            }
            if (record.hasShowCommand)
                event.showCommand = record.showCommand;
            event.wParam = record.wParam;
            event.lParam = record.lParam;
            events.push_back(event);
        }
        if (overflowed)
            *overflowed = block.syncOverflow != 0;
        return events;
    });
}

void ClearCalls()
{
    Modify([](StateBlock& block) {
        block.callCount = 0;
        block.callOverflow = 0;
    });
}

void ClearMessages()
{
    Modify([](StateBlock& block) {
        block.messageCount = 0;
        block.messageOverflow = 0;
    });
}

void ClearSyncEvents()
{
    Modify([](StateBlock& block) {
        block.syncCount = 0;
        block.syncOverflow = 0;
    });
}

std::string Describe(const Call& call)
{
    std::string head = Format("#%u pid %u ", call.sequence, call.processId);
    auto arg = [&](size_t i) { return i < call.args.size() ? call.args[i] : 0; };
    std::string listText;
    if (call.list) {
        listText = Quoted(*call.list);
        if (!call.listTerminated)
            listText += ", no terminator";
    }
    switch (call.library) {
    case Library::Kestrel32:
        head += Format("Kestrel32 ord %d ", call.entry);
        switch (call.entry) {
        case 4:
            return head + Format("(%lld) -> %d", static_cast<long long>(arg(0)), call.result) +
                   (call.result ? " " + Letter(call.result) : "");
        case 5:
            return head + "(" + (call.list ? listText : "null") + Format(") -> %d", call.result);
        case 6:
            if (!call.list)
                return head + Format("(null) -> %d", call.result);
            return head + Format("(buffer) -> %d, wrote ", call.result) + listText;
        default:
            return head + Format("() -> %d", call.result);
        }
    case Library::KestrelSDK:
        return head + Format("KestrelSDK ord %d (", call.entry) + Letter(arg(0)) + Format(") -> %d", call.result);
    case Library::Glossa:
        switch (call.entry) {
        case Standin::kLanguageType:
            return head + "Glossa LanguageType () -> " + Hex(call.result);
        case Standin::kInitAPStringW:
            return head + Format("Glossa InitAPStringW (%lld, ", static_cast<long long>(arg(0))) + Hex(arg(1)) +
                   ", " + (arg(2) ? Hex(arg(2)) : std::string("null")) + Format(") -> %d", call.result);
        case Standin::kTerminateAPStringW:
            return head + "Glossa TerminateAPStringW (" + (arg(0) ? Hex(arg(0)) : std::string("null")) +
                   Format(") -> %d", call.result);
        default:
            break;
        }
        break;
    }
    return head + Format("library %u entry %d -> %d", static_cast<unsigned>(call.library), call.entry, call.result);
}

std::string Describe(const ReceivedMessage& message)
{
    return Format("#%u pid %u %s (0x%04X) wParam %lld lParam %lld", message.sequence, message.processId,
                  message.name.empty() ? "?" : message.name.c_str(), message.message,
                  static_cast<long long>(message.wParam), static_cast<long long>(message.lParam));
}

std::string Describe(const SyncEvent& event)
{
    std::string head = Format("#%u pid %u ", event.sequence, event.processId);
    switch (event.kind) {
    case SyncEvent::Kind::Start:
        return head + (event.showCommand ? Format("started, show command %d", *event.showCommand)
                                         : std::string("started, no show command"));
    case SyncEvent::Kind::Close:
        return head + Format("WM_CLOSE (%lld, %lld)", static_cast<long long>(event.wParam),
                             static_cast<long long>(event.lParam));
    case SyncEvent::Kind::StarterGone:
        return head + "ended: the process that started it ended";
    }
    return head;
}

}  // namespace Sim
