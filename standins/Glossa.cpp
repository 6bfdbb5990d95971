// Stand-in for the product's localized-strings library. Bound by name through
// common/Glossa.def. The language is a LANGID; the text tables are static, so
// "releasing" one only clears the caller's pointer.
#include <windows.h>

#include "state/SharedState.h"

using Standin::CallRecord;
using Standin::CSharedState;
using Standin::Library;

namespace {

// Entries 1, 2, 3 and 5 are the ones the animation program reads; the others
// exist so that a neighbouring read finds an empty text rather than garbage.
const wchar_t* g_englishTexts[] = {
    L"",
    L"Kestrel Backup",
    L"Kestrel Restore",
    L"Kestrel Backup is already running.",
    L"",
    L"Do you really want to cancel the current job?",
    L"",
    L"",
};

const wchar_t* g_germanTexts[] = {
    L"",
    L"Kestrel Sicherung",
    L"Kestrel Wiederherstellung",
    L"Kestrel Sicherung wird bereits ausgef\u00FChrt.",
    L"",
    L"M\u00F6chten Sie den laufenden Auftrag wirklich abbrechen?",
    L"",
    L"",
};

// The only mode the product asks for: the wide-string table.
constexpr int kWideTableMode = 2;

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

LANGID SupportedLanguage(LANGID language)
{
    return PRIMARYLANGID(language) == LANG_GERMAN ? kGerman : kEnglish;
}

const wchar_t** TableFor(int language)
{
    if (PRIMARYLANGID(static_cast<LANGID>(language)) == LANG_GERMAN)
        return g_germanTexts;
    return g_englishTexts;
}

int64_t Address(const void* p)
{
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}

}  // namespace

extern "C" {

int __stdcall LanguageType(void)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    int32_t scripted = state.Block().glossa.language;
    CallRecord call = CSharedState::MakeCall(Library::Glossa, Standin::kLanguageType, {});
    call.result = scripted != 0 ? scripted : SupportedLanguage(GetUserDefaultUILanguage());
    state.AppendCall(lock, call);
    return call.result;
}

int __stdcall InitAPStringW(int mode, int language, const wchar_t*** table)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    bool nullTable = state.Block().glossa.nullTable != 0;
    CallRecord call = CSharedState::MakeCall(Library::Glossa, Standin::kInitAPStringW,
                                             {mode, language, Address(table)});
    if (table) {
        // Any mode but the wide one has no table to give.
        *table = (nullTable || mode != kWideTableMode) ? nullptr : TableFor(language);
        call.result = *table ? 1 : 0;
    }
    state.AppendCall(lock, call);
    return call.result;
}

int __stdcall TerminateAPStringW(const wchar_t*** table)
{
    CSharedState& state = CSharedState::Current();
    CSharedState::CLock lock(state);
    CallRecord call = CSharedState::MakeCall(Library::Glossa, Standin::kTerminateAPStringW, {Address(table)});
    if (table) {
        *table = nullptr;
        call.result = 1;
    }
    state.AppendCall(lock, call);
    return call.result;
}

}  // extern "C"
