#include "variation/variation_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <numeric>

namespace velmora {

void VariationStore::Reset(int rowWidth, int numberCount) {
    ++m_revision;
    m_rowWidth = rowWidth;
    m_count = 0;
    m_capacity = 0;
    m_rows.reset();
    m_frequencies.assign(static_cast<std::size_t>(std::max(numberCount, 0)), 0);
    m_order.clear();
    m_blockEnds.clear();
    m_sorted = false;
    baseCount = 0;
    savedBaseCount = 0;
    saved = false;
    drawIds.assign(1, -1);
    drawSetCounts.assign(1, 0);
}

bool VariationStore::Reserve(long long capacity) {
    return capacity <= m_capacity || Reallocate(capacity);
}

bool VariationStore::Reallocate(long long capacity) {
    const auto width = static_cast<std::size_t>(m_rowWidth);
    if (capacity < 0 || static_cast<unsigned long long>(capacity) > SIZE_MAX / (width + 1)) {
        return false;
    }
    // The new room is left unwritten: rows are written as they come. A failed realloc keeps
    // the old block.
    void* block = std::realloc(m_rows.get(), static_cast<std::size_t>(capacity) * width + 1);
    if (block == nullptr) {
        return false;
    }
    static_cast<void>(m_rows.release());
    m_rows.reset(static_cast<std::uint8_t*>(block));
    m_capacity = capacity;
    return true;
}

bool VariationStore::Assign(const std::vector<std::uint8_t>& bytes, long long count) {
    ++m_revision;
    const auto width = static_cast<std::size_t>(m_rowWidth);
    if (count < 0 || bytes.size() < static_cast<std::size_t>(count) * width) {
        return false;
    }
    m_count = 0;
    m_order.clear();
    m_sorted = false;
    if (!Reallocate(count)) {
        return false;
    }
    if (count > 0) {
        std::memcpy(m_rows.get(), bytes.data(), static_cast<std::size_t>(count) * width);
    }
    m_count = count;
    return true;
}

namespace {

// The rows of a run, `width` bytes each (known when compiled, so that a row is a few stores).
template <int kWidth>
void WriteRun(std::uint8_t* target, const std::uint8_t* prefix, int firstLast, int count) {
    std::uint8_t row[kWidth];
    std::memcpy(row, prefix, kWidth - 1);
    for (int r = 0; r < count; ++r) {
        row[kWidth - 1] = static_cast<std::uint8_t>(firstLast + r);
        std::memcpy(target, row, kWidth);
        target += kWidth;
    }
}

void WriteRunOfAnyWidth(std::uint8_t* target, const std::uint8_t* prefix, int width, int firstLast,
                        int count) {
    for (int r = 0; r < count; ++r) {
        std::memcpy(target, prefix, static_cast<std::size_t>(width) - 1);
        target[width - 1] = static_cast<std::uint8_t>(firstLast + r);
        target += width;
    }
}

} // namespace

void VariationStore::AppendRun(const std::uint8_t* prefix, int firstLast, int count) {
    const int width = m_rowWidth;
    std::uint8_t* target =
        m_rows.get() + static_cast<std::size_t>(m_count) * static_cast<std::size_t>(width);
    switch (width) {
    case 2:
        WriteRun<2>(target, prefix, firstLast, count);
        break;
    case 3:
        WriteRun<3>(target, prefix, firstLast, count);
        break;
    case 4:
        WriteRun<4>(target, prefix, firstLast, count);
        break;
    case 5:
        WriteRun<5>(target, prefix, firstLast, count);
        break;
    case 6:
        WriteRun<6>(target, prefix, firstLast, count);
        break;
    case 7:
        WriteRun<7>(target, prefix, firstLast, count);
        break;
    default:
        WriteRunOfAnyWidth(target, prefix, width, firstLast, count);
        break;
    }
    std::uint32_t* frequencies = m_frequencies.data();
    const std::size_t numbers = m_frequencies.size();
    for (int i = 0; i + 1 < width; ++i) {
        if (prefix[i] < numbers) {
            frequencies[prefix[i]] += static_cast<std::uint32_t>(count);
        }
    }
    const int end = std::min(firstLast + count, static_cast<int>(numbers));
    for (int position = firstLast; position < end; ++position) {
        ++frequencies[position];
    }
    m_count += count;
}

void VariationStore::AppendRaw(const std::uint8_t* row) {
    std::memcpy(m_rows.get() +
                    static_cast<std::size_t>(m_count) * static_cast<std::size_t>(m_rowWidth),
                row, static_cast<std::size_t>(m_rowWidth));
    ++m_count;
}

void VariationStore::Truncate(long long count) {
    ++m_revision;
    m_count = std::clamp(count, 0LL, m_count);
    Reallocate(m_count);
    m_order.clear();
    m_sorted = false;
    RecountFrequencies();
}

void VariationStore::DeleteRows(long long first, long long last) {
    ++m_revision;
    first = std::clamp(first, 1LL, m_count + 1);
    last = std::clamp(last, first - 1, m_count);
    const long long removed = last - first + 1;
    if (removed <= 0) {
        return;
    }
    RestoreOriginalOrder();
    const auto width = static_cast<std::size_t>(m_rowWidth);
    if (last == m_count) {
        savedBaseCount = first - 1;
    } else {
        std::memmove(m_rows.get() + static_cast<std::size_t>(first - 1) * width,
                     m_rows.get() + static_cast<std::size_t>(last) * width,
                     static_cast<std::size_t>(m_count - last) * width);
        savedBaseCount = m_count - removed;
    }
    Truncate(savedBaseCount);
    ImportCountRendezes(m_blockEnds, first, last, m_count, baseCount);
}

bool VariationStore::AppendBlock(const std::vector<std::vector<std::uint8_t>>& rows) {
    ++m_revision;
    RestoreOriginalOrder();
    baseCount = m_count;
    if (!Reserve(m_count + static_cast<long long>(rows.size()))) {
        return false;
    }
    for (const std::vector<std::uint8_t>& row : rows) {
        if (static_cast<int>(row.size()) == m_rowWidth) {
            Append(row.data());
        }
    }
    CloseBlock();
    return true;
}

void VariationStore::ReplaceRow(long long index, const std::uint8_t* row) {
    ++m_revision;
    if (index < 0 || index >= m_count) {
        return;
    }
    std::memcpy(m_rows.get() +
                    static_cast<std::size_t>(index) * static_cast<std::size_t>(m_rowWidth),
                row, static_cast<std::size_t>(m_rowWidth));
    RecountFrequencies();
}

void VariationStore::ShrinkToFit() {
    if (m_capacity != m_count) {
        Reallocate(m_count);
    }
}

void VariationStore::Clear() {
    ++m_revision;
    Reset(m_rowWidth, static_cast<int>(m_frequencies.size()));
}

void VariationStore::RecountFrequencies() {
    std::fill(m_frequencies.begin(), m_frequencies.end(), 0);
    for (long long r = 0; r < m_count; ++r) {
        const std::uint8_t* row = Row(r);
        for (int i = 0; i < m_rowWidth; ++i) {
            if (row[i] < m_frequencies.size()) {
                ++m_frequencies[row[i]];
            }
        }
    }
}

void VariationStore::Sort() {
    ++m_revision;
    const auto count = static_cast<std::size_t>(m_count);
    const auto width = static_cast<std::size_t>(m_rowWidth);
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0U);
    // A stable sort keeps identical rows in generation order.
    std::stable_sort(order.begin(), order.end(), [this, width](std::uint32_t a, std::uint32_t b) {
        return std::memcmp(Row(a), Row(b), width) < 0;
    });
    std::vector<std::uint8_t> sorted(count * width);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(sorted.data() + i * width, Row(order[i]), width);
    }
    std::copy(sorted.begin(), sorted.end(), m_rows.get());
    // Sorting a sorted list composes with the earlier order table.
    if (m_sorted && m_order.size() == count) {
        for (std::uint32_t& entry : order) {
            entry = m_order[entry];
        }
    }
    m_order = std::move(order);
    m_sorted = true;
}

void VariationStore::RestoreOriginalOrder() {
    ++m_revision;
    if (!m_sorted) {
        return;
    }
    const auto count = static_cast<std::size_t>(m_count);
    const auto width = static_cast<std::size_t>(m_rowWidth);
    std::vector<std::uint8_t> original(count * width);
    for (std::size_t i = 0; i < count && i < m_order.size(); ++i) {
        std::memcpy(original.data() + static_cast<std::size_t>(m_order[i]) * width,
                    Row(static_cast<long long>(i)), width);
    }
    std::copy(original.begin(), original.end(), m_rows.get());
    m_order.clear();
    m_sorted = false;
}

void VariationStore::CloseBlock() {
    const auto end = static_cast<std::int32_t>(m_count);
    if (m_count > 0 && (m_blockEnds.empty() || m_blockEnds.back() < end)) {
        m_blockEnds.push_back(end);
    }
}

void VariationStore::MergeExtension() {
    CloseBlock();
    baseCount = m_count;
    savedBaseCount = m_count;
}

bool VariationStore::DropLastBlock() {
    if (m_blockEnds.size() < 2) {
        return false;
    }
    m_blockEnds.pop_back();
    RestoreOriginalOrder();
    Truncate(std::min<long long>(m_blockEnds.back(), m_count));
    m_blockEnds.back() = static_cast<std::int32_t>(m_count);
    baseCount = m_count;
    savedBaseCount = m_count;
    return true;
}

void ImportCountRendezes(std::vector<std::int32_t>& blockEnds, long long first, long long last,
                         long long rowCount, long long& baseCount) {
    const long long removed = last - first + 1;
    for (std::int32_t& end : blockEnds) {
        if (end >= first && end < last) {
            end = static_cast<std::int32_t>(first - 1);
        } else if (end >= last) {
            end = static_cast<std::int32_t>(end - removed);
        }
    }
    // Drop entries equal to their successor, and zeros, until none is left.
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t i = 0; i < blockEnds.size(); ++i) {
            const bool repeat = i + 1 < blockEnds.size() && blockEnds[i] == blockEnds[i + 1];
            if (repeat || blockEnds[i] == 0) {
                blockEnds.erase(blockEnds.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < blockEnds.size(); ++i) {
        if (blockEnds[i] > rowCount) {
            blockEnds[i] = static_cast<std::int32_t>(rowCount);
            blockEnds.resize(i + 1);
            break;
        }
    }
    if (!blockEnds.empty() && blockEnds.back() < baseCount) {
        baseCount = blockEnds.back();
    }
}

} // namespace velmora
