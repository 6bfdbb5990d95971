// Drive letters of a given type, made and removed while the Wine session
// runs. The drive types under HKLM\Software\Wine\Drives are read only when the
// wineserver starts, and the tests share one session that must not restart.
// Wine's mount manager, though, defines a drive letter at run time on request:
// the same request its configuration program makes, with a Unix folder and a
// drive type. The layout of that request was worked out by trying it here:
//
//   size, type (a DRIVE_* value), file-system type, serial number (32 bits
//   each), the Unix device number (64 bits), the letter (one UTF-16 unit),
//   then three 16-bit offsets from the start of the request: the Unix folder,
//   the Unix device and the label, each 0 when absent; the strings follow.
//
// A request without a folder and with type DRIVE_NO_ROOT_DIR removes the
// letter again (type 0 would leave it listed with no root).
//
// Not Windows: on a real system the mount manager refuses the request, and
// Available() says so.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CWineDrives {
public:
    CWineDrives() = default;
    // Removes every letter this object defined.
    ~CWineDrives();
    CWineDrives(const CWineDrives&) = delete;
    CWineDrives& operator=(const CWineDrives&) = delete;

    // Defines letter ('A' to 'Z', never C or Z: the session needs them) as a
    // drive of driveType (DRIVE_FIXED, DRIVE_CDROM, ...) on the Unix root.
    bool Define(char letter, UINT driveType);
    bool Remove(char letter);
    void RemoveAll();

    // The roots and types the system lists now, e.g. "C:3 G:3 Z:3".
    static std::string Describe();

private:
    static bool Request(char letter, UINT driveType, const char* pszUnixFolder);

    std::vector<char> m_defined;
};
