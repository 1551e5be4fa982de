// A small seeded random source whose sequence is the same on every platform and library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

// The standard distributions are free to differ between library versions, which would change
// the sample data; splitmix64 with plain modulo reduction never does.
class Random {
  public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    // Inclusive bounds; the modulo bias is far below anything sample data could show.
    std::int64_t Between(std::int64_t low, std::int64_t high) {
        const auto span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<std::int64_t>(Next() % span);
    }

    bool Chance(int percent) { return Between(1, 100) <= percent; }

    template <typename Items>
    const auto& Pick(const Items& items) {
        const auto last = static_cast<std::int64_t>(std::size(items)) - 1;
        return items[static_cast<std::size_t>(Between(0, last))];
    }

  private:
    std::uint64_t m_state;
};
