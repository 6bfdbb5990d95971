// The "Save_KestrelSetup" request: write or remove the product's machine-wide
// autostart entry, the value "Kestrel" under the Run key, which starts the
// main program from its folder under Program Files with "-tb" at log-on.
#pragma once

#include <windows.h>

#include <cstddef>

class CAutostartSetting {
public:
    // The entry lives under HKEY_LOCAL_MACHINE's Run key; a test may point
    // the object at a key of its own.
    CAutostartSetting();
    CAutostartSetting(HKEY hRoot, const char* pszSubKey);

    // wParam 1 to act; lParam 1 makes sure the entry exists, 0 makes sure it
    // does not, anything else changes nothing.
    void Apply(WPARAM wParam, LPARAM lParam);

    // The entry's data into psz (nChars characters with the terminator):
    // "<Program Files>\Kestrel\Kestrel.exe" -tb, or with bQuoted false the
    // form without quotation marks that earlier versions wrote. FALSE, and an
    // empty string, when the folder is unknown or the data would not fit.
    static BOOL BuildCommand(char* psz, size_t nChars, bool bQuoted);

    static constexpr size_t kBufferChars = 260;

private:
    HKEY m_hRoot;
    const char* m_pszSubKey;
};
