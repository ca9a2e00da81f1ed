#include "host/read/ReadPace.h"

namespace qv {

ReadPace::ReadPace(PaceFloor floor, std::uint64_t startTick) : m_floor(floor), m_start(startTick)
{
    m_samples.emplace_back(startTick, 0);
}

void ReadPace::Note(std::uint64_t tick, std::uint64_t total)
{
    m_samples.emplace_back(tick, total);
    // Keep one sample at or before the oldest window start still to be asked about.
    const std::uint64_t windowStart = tick > m_floor.windowMs ? tick - m_floor.windowMs : 0;
    while (m_samples.size() > 2 && m_samples[1].first <= windowStart) {
        m_samples.pop_front();
    }
}

std::uint64_t ReadPace::BytesInWindow(std::uint64_t now) const
{
    const std::uint64_t windowStart = now > m_floor.windowMs ? now - m_floor.windowMs : 0;
    std::uint64_t before = 0;
    for (const auto& [tick, total] : m_samples) {
        if (tick > windowStart) {
            break;
        }
        before = total;
    }
    return m_samples.back().second - before;
}

bool ReadPace::Crawling(std::uint64_t now) const
{
    return now - m_start >= m_floor.windowMs && BytesInWindow(now) < m_floor.leastBytes;
}

}  // namespace qv
