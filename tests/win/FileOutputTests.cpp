#include "TestSupport.h"

#include "host/base/HostError.h"
#include "host/files/FileOutput_win.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace qv::test {
namespace {

ByteSnapshot SnapshotOf(const std::vector<std::uint8_t>& bytes)
{
    return ByteSnapshot::Of(bytes);
}

TEST(WindowsFileOutput, WritesLargeMultiPieceContentExactlyAndKeepsNoTemporaryFile)
{
    TempFolder folder;
    const auto bytes = ServedPattern(9 * 1024 * 1024 + 17);
    WindowsFileOutput files;
    files.ReplaceWithBytes(AsText(folder.Path() / L"big.bin"), SnapshotOf(bytes));
    EXPECT_EQ(ReadWholeFile(folder.Path() / L"big.bin"), bytes);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

TEST(WindowsFileOutput, TheReplacedFileIsAnOrdinaryFileNotATemporaryOne)
{
    TempFolder folder;
    const auto target = folder.Path() / L"tamorix.exe";
    WriteWholeFile(target, {9, 9});
    WindowsFileOutput files;
    files.ReplaceWithBytes(AsText(target), SnapshotOf({1, 2, 3}));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_TEMPORARY, 0u);
    EXPECT_EQ(ReadWholeFile(target), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(WindowsFileOutput, ACheckSeesTheWrittenBytesOnDiskUnchangeableAndDecidesWhetherTheyReplaceTheTarget)
{
    TempFolder folder;
    const auto target = folder.Path() / L"tamorix.exe";
    WriteWholeFile(target, {9, 9});
    WindowsFileOutput files;
    std::vector<std::uint8_t> seen;
    bool writable = true;
    const auto look = [&](bool verdict) {
        return [&, verdict](const HeldFile& written) {
            const std::filesystem::path path(AsWide(written.path));
            EXPECT_NE(path, target) << "checked under the target's name";
            seen.assign(16, 0);
            OVERLAPPED start{};
            DWORD read = 0;
            ReadFile(reinterpret_cast<HANDLE>(written.handle), seen.data(), 16, &read, &start);
            seen.resize(read);
            // Another process tries to swap the bytes: write them, or rename them away and put others in their place.
            const HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                              FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            writable = writer != INVALID_HANDLE_VALUE;
            if (writable) {
                CloseHandle(writer);
            }
            if (MoveFileW(path.c_str(), (folder.Path() / L"weg.bin").c_str())) {
                writable = true;
                WriteWholeFile(path, {6, 6, 6});
            }
            return verdict;
        };
    };

    try {
        files.ReplaceWithBytes(AsText(target), SnapshotOf({1, 2, 3}), look(false));
        FAIL() << "a refused file replaced the target";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::FileRefused);
    }
    EXPECT_EQ(seen, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(writable) << "the checked bytes could be changed before the replace";
    EXPECT_EQ(ReadWholeFile(target), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(folder.Entries().size(), 1u) << "the refused file is gone";

    files.ReplaceWithBytes(AsText(target), SnapshotOf({4, 5}), look(true));
    EXPECT_EQ(ReadWholeFile(target), (std::vector<std::uint8_t>{4, 5}));
    EXPECT_EQ(folder.Entries().size(), 1u);
}

TEST(WindowsFileOutput, APendingFileIsWrittenAsItComesAndMovesTheHeldOrReadOnlyTargetAsideToTakeItsPlace)
{
    TempFolder folder;
    const auto target = folder.Path() / L"tamorix.exe";
    WriteWholeFile(target, {9, 9});
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    // Held as the loader holds a running program: readable, and renamable.
    const HANDLE running = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    WindowsFileOutput files;
    auto pending = files.BeginReplace(AsText(target));
    const std::vector<std::uint8_t> bytes = ServedPattern(70000);
    auto store = std::make_shared<ByteStore>();
    store->Append({bytes.data(), 30000});
    pending->CatchUp({store, store->Size()});
    store->Append({bytes.data() + 30000, bytes.size() - 30000});
    pending->CatchUp({store, store->Size()});
    pending->CatchUp({store, store->Size()});
    EXPECT_EQ(pending->Bytes().Size(), bytes.size()) << "each byte written once";
    EXPECT_EQ(files.Leftovers(AsText(target)).size(), 1u) << "the file being written is of the program's naming";

    const Text aside = pending->PlaceKeepingPrevious();
    pending.reset();
    CloseHandle(running);
    EXPECT_EQ(ReadWholeFile(target), bytes);
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(ReadWholeFile(AsWide(aside)), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(files.Leftovers(AsText(target)), std::vector<Text>{aside});
    files.Remove(aside);
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"tamorix.exe"}) << "the read-only file went too";

    // Nothing to move aside; and a pending file given up leaves nothing.
    pending = files.BeginReplace(AsText(folder.Path() / L"neu.exe"));
    pending->CatchUp(ByteSnapshot::Of(bytes));
    EXPECT_EQ(pending->PlaceKeepingPrevious(), u"");
    files.BeginReplace(AsText(target));
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(WindowsFileOutput, OneProgramAtATimeHoldsTheLockOnReplacingAFile)
{
    TempFolder folder;
    const Text target = AsText(folder.Path() / L"tamorix.exe");
    WindowsFileOutput files;
    auto first = files.TryLock(target);
    ASSERT_TRUE(first);
    EXPECT_FALSE(files.TryLock(target)) << "held";
    EXPECT_TRUE(files.Leftovers(target).empty()) << "the lock is no leftover";
    first.reset();
    EXPECT_TRUE(folder.Entries().empty()) << "the lock file goes with its holder";
    EXPECT_TRUE(files.TryLock(target));
    EXPECT_THROW(files.TryLock(AsText(folder.Path() / L"fehlt" / L"tamorix.exe")), HostError);
}

TEST(WindowsFileOutput, RelativeNameIsResolvedAgainstTheCurrentFolder)
{
    TempFolder folder;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().c_str());
    WindowsFileOutput files;
    EXPECT_NO_THROW(files.ReplaceWithBytes(u"relative.bin", SnapshotOf({1, 2, 3})));
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(ReadWholeFile(folder.Path() / L"relative.bin"), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace qv::test
