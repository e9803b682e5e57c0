#pragma once

#include <cstdint>
#include <random>

namespace velmora {

// The program's source of random numbers, injected so that tests can repeat a run.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniformly chosen integer in 0..count-1; count must be positive.
    virtual int Below(int count) = 0;
};

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : m_engine(seed) {}
    int Below(int count) override;

private:
    std::mt19937 m_engine;
};

} // namespace velmora
