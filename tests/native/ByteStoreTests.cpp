#include "host/base/ByteStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + seed + (i >> 12));
    }
    return bytes;
}

TEST(ByteStore, AppendsAcrossChunkBoundariesInOrder)
{
    auto store = std::make_shared<ByteStore>();
    std::vector<std::uint8_t> expected;
    // Odd sizes so that pieces straddle every growth step up to the largest chunk.
    for (std::size_t size : {1u, 4095u, 4097u, 70000u, 3u, 5u * 1024 * 1024, 12345u}) {
        const auto piece = Pattern(size, static_cast<std::uint8_t>(size));
        store->Append(piece);
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(store->Size(), expected.size());
    EXPECT_EQ((ByteSnapshot{store, store->Size()}.ToVector()), expected);
}

TEST(ByteStore, SnapshotKeepsItsBytesWhileTheStoreGrows)
{
    auto store = std::make_shared<ByteStore>();
    store->Append(Pattern(10000, 1));
    const ByteSnapshot early{store, store->Size()};
    const auto before = early.ToVector();
    const std::uint8_t* firstByte = nullptr;
    store->ForEachPiece(1, [&](std::span<const std::uint8_t> piece) { firstByte = piece.data(); });

    store->Append(Pattern(9 * 1024 * 1024, 2));

    EXPECT_EQ(early.ToVector(), before);
    const std::uint8_t* firstByteAfter = nullptr;
    store->ForEachPiece(1, [&](std::span<const std::uint8_t> piece) { firstByteAfter = piece.data(); });
    EXPECT_EQ(firstByte, firstByteAfter) << "stored bytes never move";
}

TEST(ByteStore, CommitKeepsOnlyWhatWasFilled)
{
    ByteStore store;
    auto space = store.AppendSpace(100);
    ASSERT_GE(space.size(), 1u);
    ASSERT_LE(space.size(), 100u);
    std::memset(space.data(), 'a', 10);
    store.Commit(10);
    space = store.AppendSpace(100);
    std::memset(space.data(), 'b', 3);
    store.Commit(3);
    store.AppendSpace(50);
    store.Commit(0);
    EXPECT_EQ(store.Size(), 13u);

    std::string seen;
    store.ForEachPiece(store.Size(), [&](std::span<const std::uint8_t> piece) { seen.append(piece.begin(), piece.end()); });
    EXPECT_EQ(seen, "aaaaaaaaaabbb");
}

TEST(ByteStore, PiecesStopAtTheRequestedCount)
{
    ByteStore store;
    store.Append(Pattern(20000, 7));
    std::size_t total = 0;
    store.ForEachPiece(12345, [&](std::span<const std::uint8_t> piece) { total += piece.size(); });
    EXPECT_EQ(total, 12345u);
    EXPECT_TRUE((ByteSnapshot{}.ToVector().empty()));
}

}  // namespace
}  // namespace qv
