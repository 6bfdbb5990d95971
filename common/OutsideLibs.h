// The product's outside libraries. Kestrel32 and KestrelSDK are bound by
// ordinal only (the import libraries are made from the .def files beside
// this header, whose entries are NONAME); Glossa is bound by name. Every
// entry point is __stdcall and returns a 32-bit int.
#pragma once

#include <wchar.h>

extern "C" {

// Kestrel32.dll, the engine library.
__declspec(dllimport) int __stdcall Kestrel32_Open(void);                       // ordinal 2
__declspec(dllimport) int __stdcall Kestrel32_GetStoredDrive(int index);        // ordinal 4
__declspec(dllimport) int __stdcall Kestrel32_OfferDriveList(const char* freshList);  // ordinal 5
__declspec(dllimport) int __stdcall Kestrel32_GetDriveList(char* storedList);   // ordinal 6, 26 bytes
__declspec(dllimport) int __stdcall Kestrel32_GetProgress(void);                // ordinal 8
__declspec(dllimport) int __stdcall Kestrel32_GetFailed(void);                  // ordinal 9

// KestrelSDK.dll, the device library.
__declspec(dllimport) int __stdcall KestrelSDK_AdmitDrive(int driveLetter);     // ordinal 2
__declspec(dllimport) int __stdcall KestrelSDK_DeviceReports(int driveLetter);  // ordinal 3

// Glossa.dll, the localized-strings library. The call site is
// InitAPStringW(2, LanguageType(), &g_pTextTable).
__declspec(dllimport) int __stdcall LanguageType(void);
__declspec(dllimport) int __stdcall InitAPStringW(int mode, int language, const wchar_t*** table);
__declspec(dllimport) int __stdcall TerminateAPStringW(const wchar_t*** table);

}  // extern "C"

// Entries of the text table that the animation program reads.
namespace Kestrel {
inline constexpr int kTextCaption = 1;          // notice and backup cancel question
inline constexpr int kTextRestoreCaption = 2;   // restore cancel question
inline constexpr int kTextAlreadyRunning = 3;   // already-running notice
inline constexpr int kTextCancelQuestion = 5;   // cancel question of both dialogs
inline constexpr int kGlossaMode = 2;
}  // namespace Kestrel
