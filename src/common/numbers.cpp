#include "common/numbers.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace velmora {

unsigned long long Binomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) {
        return 0;
    }
    constexpr unsigned long long kSaturated = std::numeric_limits<unsigned long long>::max();
    k = std::min(k, n - k);
    unsigned long long result = 1;
    for (int i = 1; i <= k; ++i) {
        // C(m, i) = C(m - 1, i - 1) * m / i with m = n - k + i; i divides the product, so
        // dividing out the common part first keeps every step exact.
        const auto m = static_cast<unsigned long long>(n - k + i);
        const unsigned long long g = std::gcd(result, static_cast<unsigned long long>(i));
        const unsigned long long factor = m / (static_cast<unsigned long long>(i) / g);
        if (__builtin_mul_overflow(result / g, factor, &result)) {
            return kSaturated; // the later terms only grow
        }
    }
    return result;
}

long long CombinationCount(int n, int k) {
    constexpr auto kMost = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    return static_cast<long long>(std::min(Binomial(n, k), kMost));
}

bool NextCombination(std::uint8_t* p, int k, int n) {
    int i = k - 1;
    while (i >= 0 && p[i] == n - k + i) {
        --i;
    }
    if (i < 0) {
        return false;
    }
    ++p[i];
    for (int j = i + 1; j < k; ++j) {
        p[j] = static_cast<std::uint8_t>(p[j - 1] + 1);
    }
    return true;
}

bool IsPrimeNumber(int number) {
    if (number < 2) {
        return false;
    }
    for (int d = 2; d * d <= number; ++d) {
        if (number % d == 0) {
            return false;
        }
    }
    return true;
}

} // namespace velmora
