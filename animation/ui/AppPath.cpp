#include "AppPath.h"

#include <cwchar>

namespace {

// The program's folder with its trailing backslash into szFolder; its length,
// or 0 when the program's path cannot be read whole.
size_t ReadAppFolder(wchar_t (&szFolder)[kAppPathLength]) {
    wmemset(szFolder, L'\0', kAppPathLength);
    const DWORD nLength = ::GetModuleFileNameW(nullptr, szFolder, kAppPathLength);
    // A full buffer means the path was cut, and a cut path is another file.
    if (nLength == 0 || nLength >= static_cast<DWORD>(kAppPathLength)) {
        szFolder[0] = L'\0';
        return 0;
    }
    wchar_t* pszSlash = wcsrchr(szFolder, L'\\');
    if (pszSlash == nullptr) {
        szFolder[0] = L'\0';
        return 0;
    }
    pszSlash[1] = L'\0';
    return static_cast<size_t>(pszSlash + 1 - szFolder);
}

}  // namespace

LPWSTR MakeAppPath(LPCWSTR pszRelative, LPWSTR pszBuffer) {
    if (pszBuffer == nullptr) return nullptr;
    wchar_t szWork[kAppPathLength];
    const size_t nFolder = ReadAppFolder(szWork);
    const size_t nRelative = pszRelative != nullptr ? wcslen(pszRelative) : 0;
    if (nFolder == 0 || nFolder + nRelative >= static_cast<size_t>(kAppPathLength)) {
        pszBuffer[0] = L'\0';
        return pszBuffer;
    }
    if (nRelative != 0) wmemcpy(szWork + nFolder, pszRelative, nRelative + 1);
    wmemcpy(pszBuffer, szWork, nFolder + nRelative + 1);
    return pszBuffer;
}
