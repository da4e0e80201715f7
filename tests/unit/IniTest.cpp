// The INI writer and the reading of an existing customisation file.
#include <gtest/gtest.h>

#include "app/WayBack.h"
#include "modules/IniEncoding.h"
#include "modules/modINI.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "platform/Text.h"
#include "support/FakePlatform.h"
#include "support/Files.h"

namespace {

// Through the writer's "A" form, as always, where the code page holds the
// path and the value; through its "W" form where it does not.
TEST(WriteINIValue, UpperCasesOnlyTheKeyAndPassesTheRestUnchanged) {
    FakePlatform fake;
    fake.writeProfile = [](const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) { return TRUE; };
    for (const std::wstring name : {L"Mixed Case", L"Ομάδα 家族"}) {
        modINI::WriteINIValue(modINI::ProfileFile(L"C:\\" + name + L"\\desktop.ini"), L".ShellClassInfo",
                              L"IconFile", modINI::FaithfulText(L"C:\\" + name + L"\\a.dll"));
        const auto& write = fake.profileWrites.back();
        EXPECT_EQ(write.section, L".ShellClassInfo");
        EXPECT_EQ(write.key, L"ICONFILE");
        EXPECT_EQ(write.value, L"C:\\" + name + L"\\a.dll");
        EXPECT_EQ(write.file, L"C:\\" + name + L"\\desktop.ini");
        EXPECT_EQ(write.wide, !AnsiForm(name));
    }
}

TEST(WriteINIValue, RefusedWriteRaisesWithTheWritersError) {
    FakePlatform fake;
    fake.writeProfile = [](const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };
    try {
        modINI::WriteINIValue(modINI::ProfileFile(L"C:\\x\\desktop.ini"), L"s", L"k", modINI::FaithfulText(L"v"));
        FAIL() << "a refused write passed as a success";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.Call(), "WritePrivateProfileStringA");
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
}

TEST(WriteINIValue, DeleteRemovesOneKeyAndKeepsTheRest) {
    FakePlatform fake;
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    WriteBytes(ini, "[.ShellClassInfo]\r\nICONFILE=a\r\nOther=b\r\n");
    modINI::DeleteINIValue(modINI::ProfileFile(ini), L".ShellClassInfo", L"IconFile");
    EXPECT_EQ(ReadBytes(ini), "[.ShellClassInfo]\r\nOther=b\r\n");
    EXPECT_FALSE(fake.profileWrites.at(0).hasValue);
}

// Any script is taken, its ANSI form only where the code page holds it
// exactly: never '?' or a best-fit look-alike. Refused: what would start a
// line of its own, and half a surrogate pair, which no file holds exactly.
TEST(FaithfulText, TakesAnyScriptAndRefusesWhatNoFileHolds) {
    enum { Refused, Unicode, Ansi };
    const struct {
        std::wstring text;
        int taken;
    } cases[] = {
        {L"", Ansi},
        {L"C:\\Données\\Été", Ansi},
        {L"   ", Ansi},
        {L"\u6587", Unicode},             // CJK
        {L"a\u2215b", Unicode},           // best fit would give '/'
        {L"\uFF02", Unicode},             // best fit would give '"'
        {L"\U0001F600 sourire", Unicode},  // an emoji: a surrogate pair
        {L"a\rb", Refused},
        {L"a\nb", Refused},
        {L"\xD800", Refused},                // lone surrogates, either half
        {L"a\xDC00" L"b", Refused},
        {L"\xDC00\xD800", Refused},          // a pair the wrong way round
    };
    for (const auto& c : cases) {
        int taken = Refused;
        try {
            taken = modINI::FaithfulText{c.text}.Ansi() ? Ansi : Unicode;
        } catch (const Refusal&) {
        }
        EXPECT_EQ(taken, c.taken) << testing::PrintToString(c.text);
    }
}

TEST(HoldsOnly, TellsOurOwnFileFromOneWithForeignSettings) {
    struct Case {
        const wchar_t* content;
        bool onlyOurs;
    };
    const Case cases[] = {
        {L"[.ShellClassInfo]\r\nICONFILE=a\r\nICONINDEX=0\r\n", true},
        {L"[.shellclassinfo]\r\nIconResource=a,1\nInfoTip=x", true},
        {L"\r\n  [ .ShellClassInfo ]  \r\n\r\n  iconindex = 3 \r\n\r\n", true},
        {L"", true},
        {L"[.ShellClassInfo]\r\nICONFILE=a\r\nConfirmFileOp=0\r\n", false},
        {L"[.ShellClassInfo]\r\nICONFILE=a\r\n[ViewState]\r\n", false},
        {L"ICONFILE=a\r\n", false},                          // a key outside any section
        {L"[.ShellClassInfo]\r\n; a comment\r\n", false},    // somebody's note is kept
        {L"[.ShellClassInfo\r\nICONFILE=a\r\n", false},      // not a section line
    };
    for (const Case& c : cases)
        EXPECT_EQ(modINI::HoldsOnly(c.content, L".ShellClassInfo", wayback::kIconKeys),
                  c.onlyOurs)
            << testing::PrintToString(std::wstring(c.content));
}

// Every encoding a desktop.ini is found in. A file of NUL bytes that is no
// UTF-16 was once read as ANSI: lines of nothing, written back as such.
TEST(ReadTextFile, ReadsEachEncodingAndRefusesBytesThatAreNoText) {
    const struct {
        std::string bytes;
        std::optional<std::wstring> text;  // none: refused
    } cases[] = {
        {"[s]\r\nk=\xE9t\xE9\r\n", L"[s]\r\nk=été\r\n"},
        {std::string("\xFF\xFE[\0s\0]\0", 8), L"[s]"},
        {std::string("\xFE\xFF\0[\0\xE9", 6), L"[é"},
        {"\xEF\xBB\xBF[s]\r\nk=\xC3\xA9", L"[s]\r\nk=é"},
        {std::string("[\0s\0]\0=\0\xE9\0", 10), L"[s]=é"},        // UTF-16LE without its mark
        {std::string("[\0s\0]\0=\0\x3D\xD8\x00\xDE", 12), L"[s]=\U0001F600"},  // and an emoji
        // ANSI whose last byte is a string's terminator: it pairs up into text.
        {std::string("[s]\r\nk=vv\r\n\0", 12), L"[s]\r\nk=vv\r\n" + std::wstring(1, L'\0')},
        {std::string(";\0x\r\n[s]\r\n", 10), std::nullopt},     // a NUL further in
        {std::string("[\0s\0]\0\0\0", 8), std::nullopt},        // a NUL character
        {std::string("[\0s\0]", 5), std::nullopt},                 // half a character
        {std::string("[\0\x00\xDC", 4), std::nullopt},             // a lone surrogate
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        WriteBytes(folder / L"a.ini", c.bytes);
        if (c.text) {
            EXPECT_EQ(modINI::ReadTextFile(folder / L"a.ini"), *c.text);
        } else {
            EXPECT_THROW(modINI::ReadTextFile(folder / L"a.ini"), Refusal);
        }
    }
    EXPECT_THROW(modINI::ReadTextFile(folder / L"missing.ini"), PlatformError);
}

}  // namespace
