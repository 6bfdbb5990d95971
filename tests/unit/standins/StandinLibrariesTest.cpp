// The stand-in libraries as the two programs bind them: Kestrel32 and
// KestrelSDK by ordinal, Glossa by name, loaded from the bin folder.
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "OutsideLibs.h"
#include "StandinTestSupport.h"

namespace {

using Sim::Call;
using Sim::Library;

template <class F>
F Entry(HMODULE module, LPCSTR name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

LPCSTR Ordinal(WORD ordinal)
{
    return MAKEINTRESOURCEA(ordinal);
}

struct Libraries {
    HMODULE kestrel32 = nullptr;
    HMODULE sdk = nullptr;
    HMODULE glossa = nullptr;
    int(__stdcall* open)() = nullptr;
    int(__stdcall* storedDrive)(int) = nullptr;
    int(__stdcall* offer)(const char*) = nullptr;
    int(__stdcall* driveList)(char*) = nullptr;
    int(__stdcall* progress)() = nullptr;
    int(__stdcall* failed)() = nullptr;
    int(__stdcall* admit)(int) = nullptr;
    int(__stdcall* reports)(int) = nullptr;
    int(__stdcall* languageType)() = nullptr;
    int(__stdcall* initStrings)(int, int, const wchar_t***) = nullptr;
    int(__stdcall* terminateStrings)(const wchar_t***) = nullptr;

    bool Complete() const
    {
        return open && storedDrive && offer && driveList && progress && failed && admit && reports && languageType &&
               initStrings && terminateStrings;
    }
};

const Libraries& Bound()
{
    static const Libraries libraries = [] {
        Libraries l;
        const std::wstring bin = Sim::BinFolder() + L"\\";
        l.kestrel32 = LoadLibraryW((bin + L"Kestrel32.dll").c_str());
        l.sdk = LoadLibraryW((bin + L"KestrelSDK.dll").c_str());
        l.glossa = LoadLibraryW((bin + L"Glossa.dll").c_str());
        l.open = Entry<decltype(l.open)>(l.kestrel32, Ordinal(2));
        l.storedDrive = Entry<decltype(l.storedDrive)>(l.kestrel32, Ordinal(4));
        l.offer = Entry<decltype(l.offer)>(l.kestrel32, Ordinal(5));
        l.driveList = Entry<decltype(l.driveList)>(l.kestrel32, Ordinal(6));
        l.progress = Entry<decltype(l.progress)>(l.kestrel32, Ordinal(8));
        l.failed = Entry<decltype(l.failed)>(l.kestrel32, Ordinal(9));
        l.admit = Entry<decltype(l.admit)>(l.sdk, Ordinal(2));
        l.reports = Entry<decltype(l.reports)>(l.sdk, Ordinal(3));
        l.languageType = Entry<decltype(l.languageType)>(l.glossa, "LanguageType");
        l.initStrings = Entry<decltype(l.initStrings)>(l.glossa, "InitAPStringW");
        l.terminateStrings = Entry<decltype(l.terminateStrings)>(l.glossa, "TerminateAPStringW");
        return l;
    }();
    return libraries;
}

class LibrariesTest : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        ASSERT_TRUE(Bound().Complete()) << "a stand-in library or entry point is missing from the bin folder";
    }
    const Libraries& lib = Bound();
};

// A buffer of the engine's 26 bytes with guard bytes behind it.
struct ListBuffer {
    char bytes[26 + 4];
    explicit ListBuffer(char fill) { std::memset(bytes, fill, sizeof bytes); }
    bool GuardIntact() const
    {
        for (size_t i = 26; i < sizeof bytes; ++i) {
            if (bytes[i] != '\xCC')
                return false;
        }
        return true;
    }
};

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

}  // namespace

TEST_F(LibrariesTest, OrdinalOnlyLibrariesHaveNoNames)
{
    EXPECT_EQ(nullptr, GetProcAddress(lib.kestrel32, "Kestrel32_OfferDriveList"));
    EXPECT_EQ(nullptr, GetProcAddress(lib.sdk, "KestrelSDK_AdmitDrive"));
    // The ordinals in between are not exported.
    EXPECT_EQ(nullptr, GetProcAddress(lib.kestrel32, Ordinal(3)));
    EXPECT_EQ(nullptr, GetProcAddress(lib.kestrel32, Ordinal(7)));
}

TEST_F(LibrariesTest, UnscriptedEngineKeepsTheListItWasOffered)
{
    EXPECT_EQ(1, lib.open());
    EXPECT_EQ(0, lib.progress());
    EXPECT_EQ(0, lib.failed());
    EXPECT_EQ(1, lib.offer("CD"));

    ListBuffer written('\xCC');
    lib.driveList(written.bytes);
    EXPECT_STREQ("CD", written.bytes);
    EXPECT_EQ('\xCC', written.bytes[3]) << "ordinal 6 writes the list and its terminator, nothing more";

    EXPECT_EQ('C', lib.storedDrive(0));
    EXPECT_EQ('D', lib.storedDrive(1));
    for (int pastTheEnd : {2, 25, 26, -1})
        EXPECT_EQ(0, lib.storedDrive(pastTheEnd)) << "index " << pastTheEnd;

    EXPECT_EQ(1, lib.offer(""));
    ListBuffer empty('\xCC');
    lib.driveList(empty.bytes);
    EXPECT_EQ('\0', empty.bytes[0]);
    EXPECT_EQ(0, lib.storedDrive(0));
}

TEST_F(LibrariesTest, EngineRefusesAListWithoutTerminatorAndReadsNoFurther)
{
    ASSERT_EQ(1, lib.offer("CD"));
    ListBuffer unterminated('\xCC');
    std::memcpy(unterminated.bytes, kAlphabet, 26);
    EXPECT_EQ(0, lib.offer(unterminated.bytes));
    EXPECT_EQ(0, lib.offer(nullptr));
    EXPECT_EQ("CD", Sim::ReadScript().storedList) << "a refused list leaves the stored one";

    std::vector<Call> calls = Sim::ReadCalls();
    ASSERT_GE(calls.size(), 3u);
    const Call& refused = calls[calls.size() - 2];
    ASSERT_TRUE(refused.list.has_value());
    EXPECT_EQ(std::string(kAlphabet), *refused.list);
    EXPECT_FALSE(refused.listTerminated);
    EXPECT_FALSE(calls.back().list.has_value()) << "a null list has no bytes";
}

TEST_F(LibrariesTest, ScriptedEngineAnswers)
{
    ASSERT_TRUE(Sim::SetStoredList("CD"));
    Sim::SetOfferAnswer(7);
    EXPECT_EQ(7, lib.offer("E"));
    EXPECT_EQ("CD", Sim::ReadScript().storedList) << "a fixed answer takes no list";
    Sim::SetOfferAnswer(std::nullopt);
    EXPECT_EQ(1, lib.offer("E"));
    EXPECT_EQ("E", Sim::ReadScript().storedList);

    for (int32_t percent : {-5, 0, 99, 100, 150}) {
        Sim::SetPercent(percent);
        EXPECT_EQ(percent, lib.progress());
    }
    Sim::SetFailed(true);
    EXPECT_EQ(1, lib.failed());
}

TEST_F(LibrariesTest, TwentySixStoredLettersFillTheBufferWithoutTerminator)
{
    EXPECT_FALSE(Sim::SetStoredList(kAlphabet)) << "26 letters leave no room for a terminator";
    ASSERT_TRUE(Sim::SetStoredListRaw(kAlphabet));

    ListBuffer written('\0');
    std::memset(written.bytes + 26, '\xCC', 4);
    EXPECT_EQ(26, lib.driveList(written.bytes));
    EXPECT_EQ(0, std::memcmp(written.bytes, kAlphabet, 26));
    EXPECT_TRUE(written.GuardIntact()) << "ordinal 6 wrote past the 26 bytes";
    EXPECT_EQ('Z', lib.storedDrive(25));
    EXPECT_EQ(0, lib.storedDrive(26));

    const Call written6 = Sim::ReadCalls().at(0);
    ASSERT_TRUE(written6.Is(Library::Kestrel32, 6));
    EXPECT_EQ(std::string(kAlphabet), written6.list.value_or(""));
    EXPECT_FALSE(written6.listTerminated);
}

TEST_F(LibrariesTest, DeviceLibraryAdmitsEveryDriveAndReportsNothingUnlessScripted)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_EQ(1, lib.admit(letter)) << letter;
        EXPECT_EQ(0, lib.reports(letter)) << letter;
    }
    EXPECT_EQ(0, lib.admit('c')) << "only upper-case letters name drives";
    EXPECT_EQ(0, lib.admit(0x143)) << "the letter is the whole 32-bit value";

    ASSERT_TRUE(Sim::SetAdmit('D', 0));
    ASSERT_TRUE(Sim::SetReports('E', 3));
    EXPECT_FALSE(Sim::SetAdmit('1', 0));
    EXPECT_EQ(0, lib.admit('D'));
    EXPECT_EQ(1, lib.admit('C'));
    EXPECT_EQ(3, lib.reports('E'));
    EXPECT_EQ(0, lib.reports('D'));
}

TEST_F(LibrariesTest, CallLogKeepsOrderArgumentsListsAndResults)
{
    Sim::SetPercent(40);
    ASSERT_EQ(1, lib.offer("CD"));
    char written[26] = {};
    lib.driveList(written);
    lib.storedDrive(1);
    lib.admit('C');
    lib.reports('C');
    lib.progress();
    const wchar_t** table = nullptr;
    lib.initStrings(2, 0x0407, &table);

    struct Expected {
        Library library;
        int32_t entry;
        std::optional<int64_t> arg0;  // for the integer arguments
        int32_t result;
        std::optional<std::string> list;
    };
    const Expected expected[] = {
        {Library::Kestrel32, 5, std::nullopt, 1, "CD"},
        {Library::Kestrel32, 6, std::nullopt, 2, "CD"},
        {Library::Kestrel32, 4, 1, 'D', std::nullopt},
        {Library::KestrelSDK, 2, 'C', 1, std::nullopt},
        {Library::KestrelSDK, 3, 'C', 0, std::nullopt},
        {Library::Kestrel32, 8, std::nullopt, 40, std::nullopt},
        {Library::Glossa, Standin::kInitAPStringW, 2, 1, std::nullopt},
    };
    bool overflowed = true;
    std::vector<Call> calls = Sim::ReadCalls(&overflowed);
    EXPECT_FALSE(overflowed);
    ASSERT_EQ(std::size(expected), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(Sim::Describe(calls[i]));
        EXPECT_TRUE(calls[i].Is(expected[i].library, expected[i].entry));
        EXPECT_EQ(expected[i].result, calls[i].result);
        EXPECT_EQ(expected[i].list, calls[i].list);
        if (expected[i].arg0) {
            EXPECT_EQ(*expected[i].arg0, calls[i].args.at(0));
        }
        EXPECT_EQ(GetCurrentProcessId(), calls[i].processId);
        if (i > 0) {
            EXPECT_LT(calls[i - 1].sequence, calls[i].sequence);
        }
    }
    EXPECT_EQ(0x0407, calls.back().args.at(1));
    EXPECT_EQ(reinterpret_cast<intptr_t>(&table), calls.back().args.at(2));
    EXPECT_NE(std::string::npos, Sim::Describe(calls[0]).find("Kestrel32 ord 5 (\"CD\") -> 1"))
        << Sim::Describe(calls[0]);
}

TEST_F(LibrariesTest, CallLogStopsAtItsCapacityAndSaysSo)
{
    for (uint32_t i = 0; i < Standin::kCallCapacity + 3; ++i)
        lib.progress();
    bool overflowed = false;
    EXPECT_EQ(Standin::kCallCapacity, Sim::ReadCalls(&overflowed).size());
    EXPECT_TRUE(overflowed);
    Sim::ClearCalls();
    EXPECT_TRUE(Sim::ReadCalls(&overflowed).empty());
    EXPECT_FALSE(overflowed);
}

TEST_F(LibrariesTest, TextTablesHoldTheEntriesTheProgramReads)
{
    const wchar_t** english = nullptr;
    const wchar_t** german = nullptr;
    ASSERT_EQ(1, lib.initStrings(Kestrel::kGlossaMode, 0x0409, &english));
    ASSERT_EQ(1, lib.initStrings(Kestrel::kGlossaMode, 0x0407, &german));
    ASSERT_NE(nullptr, english);
    ASSERT_NE(nullptr, german);
    for (int entry : {Kestrel::kTextCaption, Kestrel::kTextRestoreCaption, Kestrel::kTextAlreadyRunning,
                      Kestrel::kTextCancelQuestion}) {
        ASSERT_NE(nullptr, english[entry]);
        ASSERT_NE(nullptr, german[entry]);
        EXPECT_NE(L'\0', english[entry][0]) << "entry " << entry;
        EXPECT_NE(std::wstring(english[entry]), std::wstring(german[entry])) << "entry " << entry;
    }
    EXPECT_EQ(0, std::wstring(english[Kestrel::kTextCancelQuestion]).rfind(L"Do you really want to cancel", 0));

    EXPECT_EQ(1, lib.terminateStrings(&english));
    EXPECT_EQ(nullptr, english);
    EXPECT_EQ(0, lib.terminateStrings(nullptr));
}

TEST_F(LibrariesTest, TextTableStaysNullWhenScriptedOrAskedForAnotherMode)
{
    const wchar_t* dummy[1] = {L""};
    const wchar_t** table = dummy;
    Sim::SetNullTextTable(true);
    EXPECT_EQ(0, lib.initStrings(Kestrel::kGlossaMode, 0x0409, &table));
    EXPECT_EQ(nullptr, table);

    Sim::SetNullTextTable(false);
    table = dummy;
    EXPECT_EQ(0, lib.initStrings(1, 0x0409, &table));
    EXPECT_EQ(nullptr, table);
    EXPECT_EQ(0, lib.initStrings(Kestrel::kGlossaMode, 0x0409, nullptr));
}

TEST_F(LibrariesTest, LanguageTypeFollowsTheUiLanguageUnlessScripted)
{
    const LANGID ui = GetUserDefaultUILanguage();
    EXPECT_EQ(PRIMARYLANGID(ui) == LANG_GERMAN ? 0x0407 : 0x0409, lib.languageType());
    Sim::SetLanguage(0x0407);
    EXPECT_EQ(0x0407, lib.languageType());
}
