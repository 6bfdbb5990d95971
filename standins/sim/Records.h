// What the shared block recorded, in typed form.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/StateLayout.h"

namespace Sim {

using Standin::Library;

// One call of a stand-in entry point, in the order the calls happened.
struct Call {
    uint32_t sequence = 0;  // one sequence across calls, messages and sync events
    uint32_t processId = 0;
    uint32_t tick = 0;      // GetTickCount of the call
    Library library = Library::Kestrel32;
    int32_t entry = 0;              // the ordinal; for Glossa a Standin::GlossaEntry
    std::vector<int64_t> args;      // pointers as their addresses
    int32_t result = 0;
    // Kestrel32 ordinal 5: the list offered; ordinal 6: the list written. The
    // bytes without the terminator, at most 26.
    std::optional<std::string> list;
    bool listTerminated = false;    // a NUL followed the list within the 26 bytes

    bool Is(Library lib, int32_t e) const { return library == lib && entry == e; }
};

// A registered message (id 0xC000 and up) that a simulator window received.
struct ReceivedMessage {
    uint32_t sequence = 0;
    uint32_t processId = 0;  // of the receiving window
    uint32_t tick = 0;
    UINT message = 0;
    std::string name;        // its registered name
    int64_t wParam = 0;
    int64_t lParam = 0;
    HWND window = nullptr;
};

// A start or a WM_CLOSE of the simulator's sync program.
struct SyncEvent {
    enum class Kind { Start, Close, StarterGone };
    uint32_t sequence = 0;
    uint32_t processId = 0;
    uint32_t tick = 0;
    Kind kind = Kind::Start;
    std::optional<int> showCommand;  // Start: STARTUPINFO's wShowWindow, if the starter set one
    int64_t wParam = 0;              // Close: the WM_CLOSE's arguments
    int64_t lParam = 0;
};

}  // namespace Sim
