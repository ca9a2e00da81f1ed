#include "host/base/ByteStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qv {

std::span<std::uint8_t> ByteStore::AppendSpace(std::size_t wanted)
{
    wanted = std::max<std::size_t>(wanted, 1);
    if (m_chunks.empty() || m_chunks.back().used == m_chunks.back().capacity) {
        // Chunks double with the data: a small read stays small, a large one has few pieces.
        const std::size_t capacity = std::clamp(m_size, MinChunk, MaxChunk);
        if (capacity > m_budget - m_allocated) {
            throw std::bad_alloc();
        }
        m_chunks.push_back({std::make_unique_for_overwrite<std::uint8_t[]>(capacity), capacity, 0});
        m_allocated += capacity;
    }
    const Chunk& tail = m_chunks.back();
    m_offered = std::min(tail.capacity - tail.used, wanted);
    return {tail.bytes.get() + tail.used, m_offered};
}

void ByteStore::Commit(std::size_t filled)
{
    filled = std::min(filled, m_offered);
    if (filled > 0) {
        m_chunks.back().used += filled;
        m_size += filled;
    }
    m_offered = 0;
}

void ByteStore::Append(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const auto space = AppendSpace(bytes.size());
        std::memcpy(space.data(), bytes.data(), space.size());
        Commit(space.size());
        bytes = bytes.subspan(space.size());
    }
}

ByteSnapshot ByteSnapshot::Of(std::span<const std::uint8_t> bytes)
{
    auto store = std::make_shared<ByteStore>();
    store->Append(bytes);
    return {store, store->Size()};
}

std::vector<std::uint8_t> ByteSnapshot::ToVector() const
{
    std::vector<std::uint8_t> out;
    if (store) {
        out.reserve(std::min(size, store->Size()));
        store->ForEachPiece(size, [&out](std::span<const std::uint8_t> piece) {
            out.insert(out.end(), piece.begin(), piece.end());
        });
    }
    return out;
}

}  // namespace qv
