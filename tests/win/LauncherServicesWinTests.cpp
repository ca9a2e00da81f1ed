#include "TestSupport.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/files/FileQueries_win.h"
#include "host/shell/LauncherServices_win.h"
#include "host/window/MessagePump_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace qv::test {
namespace {

// The stand-in clients are built beside the test program.
std::filesystem::path BesideTests(const wchar_t* name)
{
    return std::filesystem::path(AsWide(WindowsLauncherServices().ProgramPath())) / name;
}

TEST(WindowsFileQueriesTest, VersionIsTheFixedFileVersionOrEmptyWithoutVersionInformation)
{
    WindowsFileQueries files;
    EXPECT_EQ(files.GetFileVersion(AsText(BesideTests(L"stub_client_old.exe"))), u"5.2.0.14");
    EXPECT_EQ(files.GetFileVersion(AsText(BesideTests(L"stub_client_new.exe"))), u"5.3.1.7");
    EXPECT_EQ(files.GetFileVersion(AsText(BesideTests(L"stub_client_plain.exe"))), u"");

    TempFolder folder;
    WriteWholeFile(folder.Path() / L"tamorix.exe", {'<', 'h', 't', 'm', 'l', '>'});
    WriteWholeFile(folder.Path() / L"leer.exe", {});
    EXPECT_EQ(files.GetFileVersion(AsText(folder.Path() / L"tamorix.exe")), u"") << "a file that is no program";
    EXPECT_EQ(files.GetFileVersion(AsText(folder.Path() / L"leer.exe")), u"") << "an empty file";
}

TEST(WindowsFileQueriesTest, ExistsOnlyForFiles)
{
    WindowsFileQueries files;
    TempFolder folder;
    WriteWholeFile(folder.Path() / L"tamorix.exe", {'M', 'Z'});
    std::filesystem::create_directory(folder.Path() / L"ordner.exe");
    EXPECT_TRUE(files.FileExists(AsText(folder.Path() / L"tamorix.exe")));
    EXPECT_FALSE(files.FileExists(AsText(folder.Path() / L"ordner.exe")));
    EXPECT_FALSE(files.FileExists(AsText(folder.Path() / L"fehlt.exe")));
    EXPECT_FALSE(files.FileExists(AsText(folder.Path() / L"fehlt" / L"tamorix.exe")));
}

TEST(WindowsFileQueriesTest, VersionOfAFileNobodyMayReadIsAnError)
{
    WindowsFileQueries files;
    TempFolder folder;
    const auto client = folder.Path() / L"tamorix.exe";
    std::filesystem::copy_file(BesideTests(L"stub_client_old.exe"), client);
    HANDLE held = CreateFileW(client.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        files.GetFileVersion(AsText(client));
        ADD_FAILURE() << "no error for a file held without sharing";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ERROR_SHARING_VIOLATION) << error.what();
    }
    CloseHandle(held);
    EXPECT_EQ(files.GetFileVersion(AsText(client)), u"5.2.0.14");
}

TEST(WindowsLauncherServicesTest, ProgramPathIsTheExecutablesFolder)
{
    WindowsLauncherServices platform;
    const Text path = platform.ProgramPath();
    EXPECT_EQ(path, AsText(BesideTests(L"x").parent_path()));
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), u'\\');
}

TEST(WindowsLauncherServicesTest, AnsiBytesKeepEveryByteIncludingNulsAndLineEnds)
{
    WindowsLauncherServices platform;
    EXPECT_EQ(platform.TextFromAnsiBytes({}), u"");
    EXPECT_EQ(platform.TextFromAnsiBytes({'5', '.', '3', '\r', '\n'}), u"5.3\r\n");
    const Text withNul = platform.TextFromAnsiBytes({'5', 0, '3'});
    EXPECT_EQ(withNul, Text(u"5\0" u"3", 3));
    // In every single-byte code page, every byte becomes one character.
    if (GetACP() == 1252) {
        EXPECT_EQ(platform.TextFromAnsiBytes({0xEF, 0xBB, 0xBF, 'A', 0xE4}), u"\u00EF\u00BB\u00BFA\u00E4");
    }
}

TEST(WindowsLauncherServicesTest, NumberSeparatorsComeFromTheLocaleWithTheStandardOnesToFallBackOn)
{
    const NumberSeparators german = NumberSeparatorsOf(L"de-DE");
    EXPECT_EQ(german.decimal, u",");
    EXPECT_EQ(german.group, u".");
    const NumberSeparators american = NumberSeparatorsOf(L"en-US");
    EXPECT_EQ(american.decimal, u".");
    EXPECT_EQ(american.group, u",");
    const NumberSeparators unknown = NumberSeparatorsOf(L"xx-Nirgendwo");
    EXPECT_EQ(unknown.decimal, u".");
    EXPECT_EQ(unknown.group, u",");
}

int g_ticks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_ticks;
}

TEST(WindowsMessagePump, AQuitLeftForTheProgramsLoopNeitherStarvesTimersNorShortensAWaitNorGetsLost)
{
    WindowsMessagePump pump;
    PostQuitMessage(4);
    // A timer that is due waits behind the quit, as a read's stall check does.
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, &CountTick);
    Sleep(20);
    pump.PumpStep();
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_ticks, 1) << "the step handles what waits behind the quit";
    // Were the quit in the queue during the wait, the wait would end at once, and a waiting loop would spin.
    const ULONGLONG began = GetTickCount64();
    pump.WaitForMessages(300);
    EXPECT_GE(GetTickCount64() - began, 250u);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 4u);
}

}  // namespace
}  // namespace qv::test
