// The names that the product's processes share: registered window messages,
// named kernel objects, window titles and classes, command-line words and
// file paths. The animation program uses the wide forms, the agent the narrow
// ones; both spell every name from the one list below.
#pragma once

#define KESTREL_NAME(id, text)               \
    inline constexpr char id##A[] = text;    \
    inline constexpr wchar_t id##W[] = L"" text;

namespace Kestrel {

// Registered window messages.
KESTREL_NAME(kMsgProgress, "KestrelProgress")
KESTREL_NAME(kMsgUpdateDriveList, "Update_KestrelDriveList")
KESTREL_NAME(kMsgClickFirstButton, "Click_KestrelFirstButton")
KESTREL_NAME(kMsgSaveSetup, "Save_KestrelSetup")
KESTREL_NAME(kMsgDesktopDriveChange, "DesktopDriveChange")
KESTREL_NAME(kMsgShutdown, "MyShutdown")

// Named kernel objects.
KESTREL_NAME(kEventProgressBackup, "Kestrel_ProgressBackup")
KESTREL_NAME(kEventProgressRestore, "Kestrel_ProgressRestore")
KESTREL_NAME(kMutexAnimation, "Quillon_Animation")
KESTREL_NAME(kMutexAgent, "KestrelServ_APPLICATION")

// Windows.
KESTREL_NAME(kMainWindowTitle, "Kestrel")
KESTREL_NAME(kDialogClass, "#32770")
KESTREL_NAME(kSyncWindowTitle, "KestrelSync")
KESTREL_NAME(kAgentWindowTitle, "KestrelServ")
KESTREL_NAME(kBackupWindowTitle, "Backup")
KESTREL_NAME(kRestoreWindowTitle, "Restore")

// Command-line words.
KESTREL_NAME(kWordExecute, "execute")
KESTREL_NAME(kWordBackup, "Backup")
KESTREL_NAME(kWordRestore, "Restore")
KESTREL_NAME(kWordShutdown, "Shutdown")
KESTREL_NAME(kWordRemove, "Remove")
KESTREL_NAME(kWordTray, "-tb")

// Files, folders and the autostart entry.
KESTREL_NAME(kSyncProgramFile, "KestrelSync.exe")
KESTREL_NAME(kLogFolder, "Kestrel")
KESTREL_NAME(kLogFile, "Kestrel.log")
KESTREL_NAME(kRunKey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run")
KESTREL_NAME(kRunValue, "Kestrel")
KESTREL_NAME(kMainProgramTail, "\\Kestrel\\Kestrel.exe")

}  // namespace Kestrel

#undef KESTREL_NAME
