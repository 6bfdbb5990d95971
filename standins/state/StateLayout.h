// The layout of the block that scripts the stand-in libraries and records what
// they and the simulator's windows saw. 32- and 64-bit processes map the same
// file, so every field has a fixed width and every offset is pinned below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Standin {

inline constexpr uint32_t kMagic = 0x4254534B;  // "KSTB"
inline constexpr uint32_t kVersion = 1;

inline constexpr uint32_t kListBytes = 26;   // the engine's drive-list buffer
inline constexpr uint32_t kLetters = 26;     // drive letters A to Z
inline constexpr uint32_t kNameBytes = 64;   // a registered message's name
inline constexpr uint32_t kMaxArgs = 3;

inline constexpr uint32_t kCallCapacity = 4096;
inline constexpr uint32_t kMessageCapacity = 1024;
inline constexpr uint32_t kSyncCapacity = 256;

enum class Library : uint32_t { Kestrel32 = 1, KestrelSDK = 2, Glossa = 3 };

// Glossa is bound by name; the call log numbers its functions.
enum GlossaEntry : int32_t {
    kLanguageType = 1,
    kInitAPStringW = 2,
    kTerminateAPStringW = 3,
};

// What Kestrel32 ordinal 5 answers.
enum OfferMode : int32_t {
    kOfferPlausible = 0,  // take a terminated list, store it, answer 1
    kOfferFixed = 1,      // answer offerAnswer and keep the stored list
};

enum class SyncKind : uint32_t {
    Start = 1,       // the sync program started
    Close = 2,       // its window received WM_CLOSE
    StarterGone = 3, // it ended because the process that started it ended
};

struct EngineScript {
    int32_t percent;            // ordinal 8
    int32_t failed;             // ordinal 9
    int32_t offerMode;          // OfferMode
    int32_t offerAnswer;        // ordinal 5 in kOfferFixed mode
    uint32_t storedLength;      // bytes of storedList that ordinal 6 writes
    uint32_t storedTerminated;  // non-zero: ordinal 6 writes a NUL after them
    uint8_t storedList[kListBytes];
    uint8_t reserved[2];
};

struct DeviceScript {
    int32_t admit[kLetters];    // KestrelSDK ordinal 2, by letter - 'A'
    int32_t reports[kLetters];  // KestrelSDK ordinal 3
};

struct GlossaScript {
    int32_t language;   // LanguageType's answer; 0 follows the user's UI language
    int32_t nullTable;  // non-zero: InitAPStringW leaves the table null
};

struct CallRecord {
    uint32_t sequence;
    uint32_t processId;
    uint32_t tick;
    uint32_t library;        // Library
    int32_t entry;           // the ordinal, or a GlossaEntry
    int32_t result;
    uint32_t argCount;
    uint32_t listLength;     // bytes in list
    int64_t args[kMaxArgs];  // pointers as their addresses
    uint8_t list[kListBytes];
    uint8_t hasList;         // ordinal 5: the list offered; ordinal 6: the list written
    uint8_t listTerminated;  // a NUL followed the bytes within the 26
    uint8_t reserved[4];
};

struct MessageRecord {
    uint32_t sequence;
    uint32_t processId;  // of the receiving window
    uint32_t tick;
    uint32_t message;
    int64_t wParam;
    int64_t lParam;
    uint64_t window;
    char name[kNameBytes];  // registered name, NUL-terminated
};

struct SyncRecord {
    uint32_t sequence;
    uint32_t processId;
    uint32_t tick;
    uint32_t kind;             // SyncKind
    int32_t showCommand;       // STARTUPINFO wShowWindow, when given
    uint32_t hasShowCommand;   // STARTF_USESHOWWINDOW was set
    int64_t wParam;            // of the WM_CLOSE
    int64_t lParam;
};

struct StateBlock {
    uint32_t magic;
    uint32_t version;
    uint32_t size;
    uint32_t reserved0;

    uint32_t nextSequence;  // one sequence across all three logs
    uint32_t callCount;
    uint32_t callOverflow;
    uint32_t messageCount;
    uint32_t messageOverflow;
    uint32_t syncCount;
    uint32_t syncOverflow;
    uint32_t reserved1;

    EngineScript engine;
    DeviceScript device;
    GlossaScript glossa;
    uint32_t reserved2;

    CallRecord calls[kCallCapacity];
    MessageRecord messages[kMessageCapacity];
    SyncRecord sync[kSyncCapacity];
};

static_assert(sizeof(EngineScript) == 52);
static_assert(sizeof(DeviceScript) == 208);
static_assert(sizeof(CallRecord) == 88);
static_assert(sizeof(MessageRecord) == 104);
static_assert(sizeof(SyncRecord) == 40);
static_assert(offsetof(StateBlock, engine) == 48);
static_assert(offsetof(StateBlock, calls) == 320);
static_assert(offsetof(StateBlock, messages) == 320 + 88 * kCallCapacity);
static_assert(offsetof(StateBlock, sync) == 320 + 88 * kCallCapacity + 104 * kMessageCapacity);
static_assert(sizeof(StateBlock) == 320 + 88 * kCallCapacity + 104 * kMessageCapacity + 40 * kSyncCapacity);

}  // namespace Standin
