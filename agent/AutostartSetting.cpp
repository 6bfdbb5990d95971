#include "AutostartSetting.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "KestrelNames.h"

CAutostartSetting::CAutostartSetting() : CAutostartSetting(HKEY_LOCAL_MACHINE, Kestrel::kRunKeyA) {}

CAutostartSetting::CAutostartSetting(HKEY hRoot, const char* pszSubKey) : m_hRoot(hRoot), m_pszSubKey(pszSubKey) {}

BOOL CAutostartSetting::BuildCommand(char* psz, size_t nChars, bool bQuoted) {
    if (nChars == 0) return FALSE;
    psz[0] = '\0';
    char szFolder[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, szFolder, CSIDL_PROGRAM_FILES, FALSE) || szFolder[0] == '\0') {
        return FALSE;
    }
    // The program path is quoted: the Program Files folder holds a blank,
    // and unquoted the system would first try to start "C:\Program.exe"
    // with the rest as its arguments.
    const char* pszQuote = bQuoted ? "\"" : "";
    const int n = std::snprintf(psz, nChars, "%s%s%s%s %s", pszQuote, szFolder, Kestrel::kMainProgramTailA, pszQuote,
                                Kestrel::kWordTrayA);
    // A cut-off string would start some other file, or none.
    if (n < 0 || static_cast<size_t>(n) >= nChars) {
        psz[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

void CAutostartSetting::Apply(WPARAM wParam, LPARAM lParam) {
    if (wParam != 1) return;

    char szCommand[kBufferChars];
    const BOOL bCommand = BuildCommand(szCommand, sizeof(szCommand), true);
    BYTE readBack[kBufferChars] = {};

    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(m_hRoot, m_pszSubKey, 0, KEY_READ | KEY_WRITE, &hKey) != ERROR_SUCCESS) return;

    const auto writeCommand = [&] {
        if (!bCommand) return;
        ::RegSetValueExA(hKey, Kestrel::kRunValueA, 0, REG_SZ, reinterpret_cast<const BYTE*>(szCommand),
                         static_cast<DWORD>(std::strlen(szCommand) + 1));
    };

    DWORD dwType = 0;
    DWORD cbData = sizeof(readBack);
    if (::RegQueryValueExA(hKey, Kestrel::kRunValueA, nullptr, &dwType, readBack, &cbData) == ERROR_SUCCESS) {
        if (lParam == 0) {
            ::RegDeleteValueA(hKey, Kestrel::kRunValueA);
        } else if (lParam == 1) {
            // Exactly what earlier versions wrote (with its terminator) is
            // replaced by the quoted form; any other data is the owner's.
            char szOld[kBufferChars];
            if (BuildCommand(szOld, sizeof(szOld), false) && dwType == REG_SZ && cbData == std::strlen(szOld) + 1 &&
                std::memcmp(readBack, szOld, cbData) == 0) {
                writeCommand();
            }
        }
    } else if (lParam == 1) {
        writeCommand();
    }

    ::RegCloseKey(hKey);
}
