#include "TestSupport.h"

#include "host/shell/LauncherServices_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qv::test {
namespace {

// Quorvelinde.exe is built beside the test program.
std::wstring LauncherFile()
{
    return (std::filesystem::path(AsWide(WindowsLauncherServices().ProgramPath())) / L"Quorvelinde.exe").wstring();
}

std::wstring VersionString(const std::vector<unsigned char>& block, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) {
        return L"<missing>";
    }
    return std::wstring(value, length > 0 && value[length - 1] == L'\0' ? length - 1 : length);
}

TEST(ProgramResourcesTest, VersionBlockNamesTheProgramInGerman)
{
    const std::wstring file = LauncherFile();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

    EXPECT_EQ(VersionString(block, L"ProductName"), L"Quorvelinde");
    EXPECT_EQ(VersionString(block, L"InternalName"), L"Quorvelinde");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Quorvelinde.exe");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.00");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.00");

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1200);

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

TEST(ProgramResourcesTest, ManifestAsksForNoElevation)
{
    HMODULE image = LoadLibraryExW(LauncherFile().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const auto data = static_cast<const char*>(LockResource(LoadResource(image, found)));
    const std::string manifest(data, SizeofResource(image, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    FreeLibrary(image);
}

}  // namespace
}  // namespace qv::test
