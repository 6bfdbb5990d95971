// The stand-ins' shared state: one block in a file mapping that every process
// of a test run (the two programs, the stand-in libraries inside them, the
// simulator, the sync program) opens by the same file name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "state/StateLayout.h"

namespace Standin {

// The environment variable that names the state file; without it the file is
// KestrelStandin.state in the user's temp folder. A file, not a page-file
// section, so that what one short-lived kestrel-sim command sets is still
// there when the next process looks.
inline constexpr wchar_t kStateFileVariable[] = L"KESTREL_STANDIN_STATE";
inline constexpr wchar_t kStateFileName[] = L"KestrelStandin.state";

class CSharedState {
public:
    // Holds the block's named mutex. Every read-modify-write of the block
    // happens under one; the Append and Reset members do nothing without it.
    class CLock {
    public:
        explicit CLock(CSharedState& state);
        ~CLock();
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;
        bool Held() const { return m_bHeld; }

    private:
        HANDLE m_hMutex;
        bool m_bHeld;
    };

    // The state of this module, opened from the environment on first use.
    static CSharedState& Current();
    static std::wstring PathFromEnvironment();

    ~CSharedState();
    CSharedState(const CSharedState&) = delete;
    CSharedState& operator=(const CSharedState&) = delete;

    // Maps another file in place of the current one. Meant for a process's
    // set-up, before other threads use the block. Returns IsShared().
    bool Open(const std::wstring& path);
    const std::wstring& Path() const { return m_strPath; }
    // False when the file could not be mapped and a private block with the
    // same defaults stands in, so that the libraries still answer.
    bool IsShared() const { return m_pPrivate == nullptr; }
    StateBlock& Block() { return *m_pBlock; }

    void Reset(const CLock& lock);
    static CallRecord MakeCall(Library library, int32_t entry, std::initializer_list<int64_t> args);
    // Stamp the record with sequence, process and tick, and append it. Past
    // the capacity it is dropped and the log's overflow flag set; false then,
    // and without the lock.
    bool AppendCall(const CLock& lock, CallRecord& record);
    bool AppendMessage(const CLock& lock, MessageRecord& record);
    bool AppendSync(const CLock& lock, SyncRecord& record);

private:
    CSharedState();
    void Close();
    static void Initialise(StateBlock& block);

    std::wstring m_strPath;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMapping = nullptr;
    HANDLE m_hMutex = nullptr;
    StateBlock* m_pBlock = nullptr;
    std::unique_ptr<StateBlock> m_pPrivate;
};

}  // namespace Standin
