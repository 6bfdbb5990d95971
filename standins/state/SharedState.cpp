#include "state/SharedState.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace Standin {

namespace {

// A process that hangs while holding the lock must not hang every other
// process of the run with it; after this long a caller goes on unlocked and
// records nothing.
constexpr DWORD kLockTimeoutMs = 5000;

// The kernel-object names derive from the file, so that two state files are
// two independent blocks.
std::wstring ObjectKey(const std::wstring& path)
{
    std::vector<wchar_t> full(MAX_PATH * 4);
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    std::wstring text = (n > 0 && n < full.size()) ? std::wstring(full.data(), n) : path;
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : text) {
        hash ^= static_cast<uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t key[17];
    swprintf(key, 17, L"%08X%08X", static_cast<unsigned>(hash >> 32), static_cast<unsigned>(hash));
    return key;
}

}  // namespace

CSharedState::CLock::CLock(CSharedState& state) : m_hMutex(state.m_hMutex), m_bHeld(false)
{
    if (m_hMutex) {
        DWORD wait = WaitForSingleObject(m_hMutex, kLockTimeoutMs);
        // An abandoned mutex is ours now; its last holder died mid-write at worst.
        m_bHeld = (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED);
    }
}

CSharedState::CLock::~CLock()
{
    if (m_bHeld)
        ReleaseMutex(m_hMutex);
}

CSharedState& CSharedState::Current()
{
    static CSharedState s_state;
    return s_state;
}

std::wstring CSharedState::PathFromEnvironment()
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(kStateFileVariable, buffer, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2)
        return std::wstring(buffer, n);
    n = GetTempPathW(MAX_PATH * 2, buffer);
    std::wstring folder = (n > 0 && n < MAX_PATH * 2) ? std::wstring(buffer, n) : std::wstring(L".\\");
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + kStateFileName;
}

CSharedState::CSharedState()
{
    Open(PathFromEnvironment());
}

CSharedState::~CSharedState()
{
    Close();
}

void CSharedState::Close()
{
    if (m_pBlock && !m_pPrivate)
        UnmapViewOfFile(m_pBlock);
    m_pBlock = nullptr;
    m_pPrivate.reset();
    if (m_hMapping)
        CloseHandle(m_hMapping);
    m_hMapping = nullptr;
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    if (m_hMutex)
        CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

bool CSharedState::Open(const std::wstring& path)
{
    Close();
    m_strPath = path;
    const std::wstring key = ObjectKey(path);
    m_hMutex = CreateMutexW(nullptr, FALSE, (L"Local\\KestrelStandinLock-" + key).c_str());

    m_hFile = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile != INVALID_HANDLE_VALUE) {
        m_hMapping = CreateFileMappingW(m_hFile, nullptr, PAGE_READWRITE, 0, sizeof(StateBlock),
                                        (L"Local\\KestrelStandinState-" + key).c_str());
        if (m_hMapping)
            m_pBlock = static_cast<StateBlock*>(
                MapViewOfFile(m_hMapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(StateBlock)));
    }
    if (!m_pBlock) {
        m_pPrivate = std::make_unique<StateBlock>();
        m_pBlock = m_pPrivate.get();
        if (!m_hMutex)
            m_hMutex = CreateMutexW(nullptr, FALSE, nullptr);
    }

    CLock lock(*this);
    StateBlock& block = *m_pBlock;
    if (block.magic != kMagic || block.version != kVersion || block.size != sizeof(StateBlock))
        Initialise(block);
    return IsShared();
}

void CSharedState::Initialise(StateBlock& block)
{
    std::memset(&block, 0, sizeof block);
    block.magic = kMagic;
    block.version = kVersion;
    block.size = sizeof(StateBlock);
    block.nextSequence = 1;
    block.engine.offerMode = kOfferPlausible;
    block.engine.storedTerminated = 1;
    for (int32_t& admit : block.device.admit)
        admit = 1;
}

void CSharedState::Reset(const CLock& lock)
{
    if (lock.Held())
        Initialise(*m_pBlock);
}

CallRecord CSharedState::MakeCall(Library library, int32_t entry, std::initializer_list<int64_t> args)
{
    CallRecord record{};
    record.library = static_cast<uint32_t>(library);
    record.entry = entry;
    for (int64_t arg : args) {
        if (record.argCount == kMaxArgs)
            break;
        record.args[record.argCount++] = arg;
    }
    return record;
}

bool CSharedState::AppendCall(const CLock& lock, CallRecord& record)
{
    if (!lock.Held())
        return false;
    StateBlock& block = *m_pBlock;
    if (block.callCount >= kCallCapacity) {
        block.callOverflow = 1;
        return false;
    }
    record.sequence = block.nextSequence++;
    record.processId = GetCurrentProcessId();
    record.tick = GetTickCount();
    block.calls[block.callCount++] = record;
    return true;
}

bool CSharedState::AppendMessage(const CLock& lock, MessageRecord& record)
{
    if (!lock.Held())
        return false;
    StateBlock& block = *m_pBlock;
    if (block.messageCount >= kMessageCapacity) {
        block.messageOverflow = 1;
        return false;
    }
    record.sequence = block.nextSequence++;
    record.processId = GetCurrentProcessId();
    record.tick = GetTickCount();
    block.messages[block.messageCount++] = record;
    return true;
}

bool CSharedState::AppendSync(const CLock& lock, SyncRecord& record)
{
    if (!lock.Held())
        return false;
    StateBlock& block = *m_pBlock;
    if (block.syncCount >= kSyncCapacity) {
        block.syncOverflow = 1;
        return false;
    }
    record.sequence = block.nextSequence++;
    record.processId = GetCurrentProcessId();
    record.tick = GetTickCount();
    block.sync[block.syncCount++] = record;
    return true;
}

}  // namespace Standin
