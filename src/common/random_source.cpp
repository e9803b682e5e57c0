#include "common/random_source.h"

namespace velmora {

int SeededRandom::Below(int count) {
    std::uniform_int_distribution<int> distribution(0, count - 1);
    return distribution(m_engine);
}

} // namespace velmora
