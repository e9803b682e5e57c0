#include "game/row_summary.h"

#include <algorithm>
#include <cmath>

#include "common/hu_format.h"
#include "common/numbers.h"

namespace velmora {

namespace {

int Ending(int x) {
    return x % 10;
}
int Group(int x) {
    return x / 10;
}

// Counts the numbers that share their digit class (ending or group) with a later number. The
// numbers of the first repeated class go into `first`, those of any other class into `other`.
template <typename ClassOf>
void CountRepeats(const NumberRow& row, ClassOf classOf, int& first, int& other) {
    first = 0;
    other = 0;
    int firstClass = -1;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int cls = classOf(row[i]);
        bool repeated = false;
        for (std::size_t j = i + 1; j < row.size() && !repeated; ++j) {
            repeated = classOf(row[j]) == cls;
        }
        if (!repeated) {
            continue;
        }
        if (firstClass < 0) {
            firstClass = cls;
        }
        if (cls == firstClass) {
            ++first;
        } else {
            ++other;
        }
    }
}

std::string RepeatLabel(int first, int other) {
    if (other > 0) {
        return "  - több ";
    }
    if (first == 0) {
        return "  -      ";
    }
    return "  -  egy ";
}

} // namespace

std::string SegedszelvenyInfo(NumberRow& row) {
    const int n = static_cast<int>(row.size());
    if (n < 2) {
        return {};
    }
    std::sort(row.begin(), row.end());

    long long sum = 0;
    for (int x : row) {
        sum += x;
    }
    const double mean = static_cast<double>(sum) / n;
    double squares = 0;
    for (int x : row) {
        squares += (x - mean) * (x - mean);
    }
    const double deviation = std::sqrt(squares / (n - 1));

    int twins = 0;
    int mirrors = 0;
    int primes = 0;
    int evenEndings = 0;
    int evenGroups = 0;
    for (int i = 0; i < n; ++i) {
        const int a = row[static_cast<std::size_t>(i)];
        if (Group(a) == Ending(a)) {
            ++twins;
        }
        if (IsPrimeNumber(a)) {
            ++primes;
        }
        if (Ending(a) % 2 == 0) {
            ++evenEndings;
        }
        if (Group(a) % 2 == 0) {
            ++evenGroups;
        }
        for (int j = i + 1; j < n && a >= 10; ++j) {
            const int b = row[static_cast<std::size_t>(j)];
            if (b >= 10 && Group(a) == Ending(b) && Ending(a) == Group(b)) {
                ++mirrors;
                break;
            }
        }
    }

    int endingFirst = 0;
    int endingOther = 0;
    CountRepeats(row, Ending, endingFirst, endingOther);
    int groupFirst = 0;
    int groupOther = 0;
    CountRepeats(row, Group, groupFirst, groupOther);

    const int range = row.back() - row.front() + 1;
    std::string text;
    text += " Számsor összege:" + FormatWidth(sum, 4) + "\r";
    text += " Szórás értéke: " + FormatDecimalWidth(deviation, 5, 2) + "\r";
    text += " Terjedelem      :" + FormatWidth(range, 3) + "\r";
    text += " Ikerszám        : " + FormatWidth(twins, 2) + "\r";
    text += " Tükör számpár   : " + FormatWidth(mirrors, 2) + "\r";
    text += " Prímszám        : " + FormatWidth(primes, 2) + "\r";
    text += " Páros\r";
    text += "  - számvégződés : " + FormatWidth(evenEndings, 2) + "\r";
    text += "  - számcsoport  : " + FormatWidth(evenGroups, 2) + "\r";
    text += " Ismétlődés\r";
    text += RepeatLabel(endingFirst, endingOther) +
            "számvégz: " + FormatWidth(endingFirst + endingOther, 2) + "\r";
    text += RepeatLabel(groupFirst, groupOther) +
            "számcsop: " + FormatWidth(groupFirst + groupOther, 2);
    return text;
}

} // namespace velmora
