#pragma once
// The bytes of one read, appended as they arrive. Bytes once stored never move
// or change, so a snapshot (the first N bytes) stays valid while the read goes
// on, and taking one costs nothing however large the read has grown.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qv {

class ByteStore {
public:
    ByteStore() = default;
    // Allocates no more than `budget` bytes in all: beyond it, growing fails
    // with std::bad_alloc as running out of memory does. The read service
    // caps a transfer with it; tests run out of memory with a small one.
    explicit ByteStore(std::size_t budget) : m_budget(budget) {}

    // Room for at least one and at most `wanted` bytes at the end; Commit says how many were filled.
    std::span<std::uint8_t> AppendSpace(std::size_t wanted);
    void Commit(std::size_t filled);

    void Append(std::span<const std::uint8_t> bytes);

    std::size_t Size() const noexcept { return m_size; }

    // Calls visit(span) for the pieces holding bytes [0, count), in order.
    template <typename Visit>
    void ForEachPiece(std::size_t count, Visit&& visit) const
    {
        for (const auto& chunk : m_chunks) {
            if (count == 0) {
                break;
            }
            const std::size_t take = chunk.used < count ? chunk.used : count;
            visit(std::span<const std::uint8_t>(chunk.bytes.get(), take));
            count -= take;
        }
    }

private:
    static constexpr std::size_t MinChunk = 4 * 1024;
    static constexpr std::size_t MaxChunk = 4 * 1024 * 1024;

    struct Chunk {
        std::unique_ptr<std::uint8_t[]> bytes;  // left uninitialised: every byte is written before it counts
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    std::vector<Chunk> m_chunks;
    std::size_t m_size = 0;
    std::size_t m_offered = 0;
    std::size_t m_allocated = 0;
    std::size_t m_budget = SIZE_MAX;
};

// The first `size` bytes of a store: what a read had delivered at one moment.
struct ByteSnapshot {
    std::shared_ptr<const ByteStore> store;
    std::size_t size = 0;

    // A store of its own holding just these bytes.
    static ByteSnapshot Of(std::span<const std::uint8_t> bytes);

    std::vector<std::uint8_t> ToVector() const;
};

}  // namespace qv
