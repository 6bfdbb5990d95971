// Stand-in for the product's engine library. Exported by ordinal only, through
// common/Kestrel32.def; every call reads the shared block and is logged there.
#include <windows.h>

#include <cstring>

#include "state/SharedState.h"

using Standin::CallRecord;
using Standin::CSharedState;
using Standin::kListBytes;
using Standin::Library;

namespace {

int64_t Address(const void* p)
{
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}

void KeepList(CallRecord& call, const void* bytes, uint32_t length, bool terminated)
{
    std::memcpy(call.list, bytes, length);
    call.listLength = length;
    call.hasList = 1;
    call.listTerminated = terminated ? 1 : 0;
}

// An entry without arguments whose answer is read from the script.
template <class Read>
int Answer(int32_t ordinal, Read read)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    CallRecord call = CSharedState::MakeCall(Library::Kestrel32, ordinal, {});
    call.result = read(state.Block().engine);
    state.AppendCall(lock, call);
    return call.result;
}

}  // namespace

extern "C" {

int __stdcall Kestrel32_Open(void)
{
    return Answer(2, [](const Standin::EngineScript&) { return 1; });
}

int __stdcall Kestrel32_GetStoredDrive(int index)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    const Standin::EngineScript& engine = state.Block().engine;
    int result = 0;
    if (index >= 0 && static_cast<uint32_t>(index) < engine.storedLength && index < static_cast<int>(kListBytes))
        result = engine.storedList[index];
    CallRecord call = CSharedState::MakeCall(Library::Kestrel32, 4, {index});
    call.result = result;
    state.AppendCall(lock, call);
    return result;
}

int __stdcall Kestrel32_OfferDriveList(const char* freshList)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    Standin::EngineScript& engine = state.Block().engine;
    CallRecord call = CSharedState::MakeCall(Library::Kestrel32, 5, {Address(freshList)});

    // Never read past the 26 bytes a list may occupy: a caller that forgot
    // the terminator must show up in the log, not crash the engine.
    uint32_t length = 0;
    bool terminated = false;
    if (freshList) {
        while (length < kListBytes && freshList[length] != '\0')
            ++length;
        terminated = length < kListBytes;
        KeepList(call, freshList, length, terminated);
    }

    int result = 0;
    if (engine.offerMode == Standin::kOfferFixed) {
        result = engine.offerAnswer;
    } else if (freshList && terminated && lock.Held()) {
        std::memset(engine.storedList, 0, kListBytes);
        std::memcpy(engine.storedList, freshList, length);
        engine.storedLength = length;
        engine.storedTerminated = 1;
        result = 1;
    }
    call.result = result;
    state.AppendCall(lock, call);
    return result;
}

int __stdcall Kestrel32_GetDriveList(char* storedList)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    const Standin::EngineScript& engine = state.Block().engine;
    CallRecord call = CSharedState::MakeCall(Library::Kestrel32, 6, {Address(storedList)});
    int result = 0;
    if (storedList) {
        // The caller's buffer is 26 bytes: a 26-letter list fills it and
        // leaves no room for the terminator, which is what a test asks for
        // when it scripts one.
        uint32_t length = engine.storedLength < kListBytes ? engine.storedLength : kListBytes;
        bool terminated = engine.storedTerminated != 0 && length < kListBytes;
        std::memcpy(storedList, engine.storedList, length);
        if (terminated)
            storedList[length] = '\0';
        KeepList(call, engine.storedList, length, terminated);
        result = static_cast<int>(length);
    }
    call.result = result;
    state.AppendCall(lock, call);
    return result;
}

int __stdcall Kestrel32_GetProgress(void)
{
    return Answer(8, [](const Standin::EngineScript& engine) { return engine.percent; });
}

int __stdcall Kestrel32_GetFailed(void)
{
    return Answer(9, [](const Standin::EngineScript& engine) { return engine.failed; });
}

}  // extern "C"
