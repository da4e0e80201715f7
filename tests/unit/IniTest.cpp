// The INI writer and the reading of an existing customisation file.
#include <gtest/gtest.h>

#include "app/WayBack.h"
#include "modules/IniEncoding.h"
#include "modules/modINI.h"
#include "platform/PlatformError.h"
#include "platform/Refusal.h"
#include "support/FakePlatform.h"
#include "support/Files.h"

namespace {

TEST(WriteINIValue, UpperCasesOnlyTheKeyAndPassesTheRestUnchanged) {
    FakePlatform fake;
    fake.writeProfile = [](const char*, const char*, const char*, const char*) { return TRUE; };
    modINI::WriteINIValue(modINI::ProfileFile(L"C:\\Dossier\\desktop.ini"), L".ShellClassInfo", L"IconFile",
                          modINI::FaithfulText(L"C:\\Mixed Case\\a.dll"));
    ASSERT_EQ(fake.profileWrites.size(), 1u);
    const auto& write = fake.profileWrites[0];
    EXPECT_EQ(write.section, ".ShellClassInfo");
    EXPECT_EQ(write.key, "ICONFILE");
    EXPECT_EQ(write.value, "C:\\Mixed Case\\a.dll");
    EXPECT_EQ(write.file, "C:\\Dossier\\desktop.ini");
}

TEST(WriteINIValue, RefusedWriteRaisesWithTheWritersError) {
    FakePlatform fake;
    fake.writeProfile = [](const char*, const char*, const char*, const char*) {
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

TEST(FaithfulText, AcceptsWhatTheCodePageHoldsAndRefusesTheRest) {
    struct Case {
        std::wstring text;
        bool accepted;
    };
    const Case cases[] = {
        {L"", true},
        {L"C:\\Données\\Été", true},
        {L"   ", true},
        {L"\u6587", false},          // CJK
        {L"a\u2215b", false},        // best fit would give '/'
        {L"\uFF02", false},          // best fit would give '"'
        {L"a\rb", false},
        {L"a\nb", false},
        {L"\xD800", false},          // lone surrogate
    };
    for (const Case& c : cases) {
        bool accepted = true;
        try {
            modINI::FaithfulText{c.text};
        } catch (const Refusal&) {
            accepted = false;
        }
        EXPECT_EQ(accepted, c.accepted) << testing::PrintToString(c.text);
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
        const wchar_t* text;  // null: refused
    } cases[] = {
        {"[s]\r\nk=\xE9t\xE9\r\n", L"[s]\r\nk=été\r\n"},
        {std::string("\xFF\xFE[\0s\0]\0", 8), L"[s]"},
        {std::string("\xFE\xFF\0[\0\xE9", 6), L"[é"},
        {"\xEF\xBB\xBF[s]\r\nk=\xC3\xA9", L"[s]\r\nk=é"},
        {std::string("[\0s\0]\0=\0\xE9\0", 10), L"[s]=é"},        // UTF-16LE without its mark
        {std::string("[\0s\0]\0\0\0", 8), nullptr},             // a NUL character
        {std::string("[\0s\0]", 5), nullptr},                      // half a character
        {std::string("[\0\x00\xDC", 4), nullptr},                  // a lone surrogate
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        WriteBytes(folder / L"a.ini", c.bytes);
        if (c.text) {
            EXPECT_EQ(modINI::ReadTextFile(folder / L"a.ini"), c.text);
        } else {
            EXPECT_THROW(modINI::ReadTextFile(folder / L"a.ini"), Refusal);
        }
    }
    EXPECT_THROW(modINI::ReadTextFile(folder / L"missing.ini"), PlatformError);
}

}  // namespace
