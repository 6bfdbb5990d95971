#include "AgentTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The file named by the environment when the first line is written.
const char* TracePath() {
    static char s_szPath[MAX_PATH] = {};
    static const bool s_bOn = [] {
        const DWORD n = ::GetEnvironmentVariableA(CAgentTrace::kVariable, s_szPath, MAX_PATH);
        return n > 0 && n < MAX_PATH;
    }();
    return s_bOn ? s_szPath : nullptr;
}

}  // namespace

void CAgentTrace::Write(const char* format, ...) {
    const char* pszPath = TracePath();
    if (pszPath == nullptr) return;

    char szLine[512];
    const int nPrefix = std::snprintf(szLine, sizeof(szLine), "%lu ", ::GetCurrentProcessId());
    va_list args;
    va_start(args, format);
    // One character is kept back for the line's end.
    std::vsnprintf(szLine + nPrefix, sizeof(szLine) - nPrefix - 1, format, args);
    va_end(args);
    size_t n = std::strlen(szLine);
    szLine[n++] = '\n';

    // One WriteFile per line on a handle opened for appending, so that the
    // lines of several processes never interleave within a line.
    HANDLE hFile = ::CreateFileA(pszPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return;
    DWORD nWritten = 0;
    ::WriteFile(hFile, szLine, static_cast<DWORD>(n), &nWritten, nullptr);
    ::CloseHandle(hFile);
}
