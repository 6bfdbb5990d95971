// QuillonAnimations: the progress window of one backup or restore job.
#pragma once

#include "Afx.h"

// Process-wide objects, made during static initialisation before the
// application object starts.
extern CHandle g_eventProgressBackup;   // "Kestrel_ProgressBackup", auto-reset
extern CHandle g_eventProgressRestore;  // "Kestrel_ProgressRestore", auto-reset
extern const UINT g_nProgressMessage;   // registered "KestrelProgress"

// The strings library's text table; null until it is loaded.
extern const wchar_t** g_pTextTable;
extern ULONG_PTR g_gdiplusToken;

// Entry nIndex of the text table, read anew at every use. A table that the
// strings library left null reads as null entries.
const wchar_t* TextEntry(int nIndex);

class CQuillonAnimationsApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    enum class Job { None, Backup, Restore };
    static Job ParseCommandLine();
    void ShowAlreadyRunningNotice();
};
