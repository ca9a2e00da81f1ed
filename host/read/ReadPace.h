#pragma once
// How fast a read brings its bytes, over a sliding window: a read that keeps
// sending a little now and then never stalls, yet may never end.

#include <cstdint>
#include <deque>
#include <utility>

namespace qv {

struct PaceFloor {
    // A read that has run for a whole window and brought fewer than
    // `leastBytes` in the last `windowMs` crawls.
    std::uint64_t windowMs = 60'000;
    std::uint64_t leastBytes = 120'000;
};

class ReadPace {
public:
    ReadPace(PaceFloor floor, std::uint64_t startTick);

    // `total` bytes have arrived by `tick`.
    void Note(std::uint64_t tick, std::uint64_t total);
    bool Crawling(std::uint64_t now) const;
    // The bytes that arrived in the window that ends at `now`.
    std::uint64_t BytesInWindow(std::uint64_t now) const;

private:
    PaceFloor m_floor;
    std::uint64_t m_start;
    // (tick, total) in order; the first lies at or before the window's start
    // once the read is older than a window.
    std::deque<std::pair<std::uint64_t, std::uint64_t>> m_samples;
};

}  // namespace qv
