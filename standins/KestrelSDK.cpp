// Stand-in for the product's device library. Exported by ordinal only, through
// common/KestrelSDK.def; answers per drive letter from the shared block.
#include <windows.h>

#include "state/SharedState.h"

using Standin::CallRecord;
using Standin::CSharedState;
using Standin::Library;

namespace {

int AnswerFor(int32_t ordinal, int driveLetter)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    const Standin::DeviceScript& device = state.Block().device;
    // Only an upper-case letter names a drive; anything else is nobody's.
    int result = 0;
    if (driveLetter >= 'A' && driveLetter <= 'Z') {
        const int32_t* answers = ordinal == 2 ? device.admit : device.reports;
        result = answers[driveLetter - 'A'];
    }
    CallRecord call = CSharedState::MakeCall(Library::KestrelSDK, ordinal, {driveLetter});
    call.result = result;
    state.AppendCall(lock, call);
    return result;
}

}  // namespace

extern "C" {

int __stdcall KestrelSDK_AdmitDrive(int driveLetter)
{
    return AnswerFor(2, driveLetter);
}

int __stdcall KestrelSDK_DeviceReports(int driveLetter)
{
    return AnswerFor(3, driveLetter);
}

}  // extern "C"
