#include "WineDrives.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>

namespace {

// The mount manager's device type and the function number of its "define a
// Unix drive" request.
constexpr DWORD kMountManagerDeviceType = 0x6D;
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(kMountManagerDeviceType, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

#pragma pack(push, 8)
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
#pragma pack(pop)

}  // namespace

CWineDrives::~CWineDrives() { RemoveAll(); }

bool CWineDrives::Request(char letter, UINT driveType, const char* pszUnixFolder) {
    if (letter < 'A' || letter > 'Z' || letter == 'C' || letter == 'Z') return false;
    HANDLE hManager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hManager == INVALID_HANDLE_VALUE) return false;

    std::vector<char> buffer(sizeof(UnixDriveRequest));
    UnixDriveRequest request{};
    request.type = driveType;
    request.letter = static_cast<WCHAR>(letter - 'A' + 'a');
    if (pszUnixFolder != nullptr) {
        request.mountPointOffset = static_cast<USHORT>(buffer.size());
        buffer.insert(buffer.end(), pszUnixFolder, pszUnixFolder + std::strlen(pszUnixFolder) + 1);
    }
    request.size = static_cast<ULONG>(buffer.size());
    std::memcpy(buffer.data(), &request, sizeof(request));

    DWORD nReturned = 0;
    const BOOL bOk = ::DeviceIoControl(hManager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                       nullptr, 0, &nReturned, nullptr);
    ::CloseHandle(hManager);
    return bOk != FALSE;
}

bool CWineDrives::Define(char letter, UINT driveType) {
    if (!Request(letter, driveType, "/")) return false;
    if (std::find(m_defined.begin(), m_defined.end(), letter) == m_defined.end()) m_defined.push_back(letter);
    // The letter must be listed with its type before a test relies on it.
    char szRoot[] = {letter, ':', '\\', '\0'};
    return ::GetDriveTypeA(szRoot) == driveType;
}

bool CWineDrives::Remove(char letter) {
    m_defined.erase(std::remove(m_defined.begin(), m_defined.end(), letter), m_defined.end());
    return Request(letter, DRIVE_NO_ROOT_DIR, nullptr);
}

void CWineDrives::RemoveAll() {
    while (!m_defined.empty()) Remove(m_defined.back());
}

std::string CWineDrives::Describe() {
    char szRoots[26 * 4 + 1] = {};
    const DWORD n = ::GetLogicalDriveStringsA(sizeof(szRoots), szRoots);
    std::string text;
    for (DWORD i = 0; i + 4 <= n; i += 4) {
        if (!text.empty()) text += ' ';
        text += std::string(szRoots + i, 2) + std::to_string(::GetDriveTypeA(szRoots + i));
    }
    return text;
}
