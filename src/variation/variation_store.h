#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

// The rows of the current variation: one contiguous table of fixed-width rows, how often each
// position occurs, the order table of a sort, and the block ends that record how the variation
// grew.
namespace velmora {

class VariationStore {
public:
    // Empties the store for rows of `rowWidth` bytes over `numberCount` variation numbers.
    void Reset(int rowWidth, int numberCount);

    int RowWidth() const { return m_rowWidth; }
    long long Count() const { return m_count; }
    long long Capacity() const { return m_capacity; }
    const std::uint8_t* Row(long long index) const {
        return m_rows.get() +
               static_cast<std::size_t>(index) * static_cast<std::size_t>(m_rowWidth);
    }

    // Reserves room for `capacity` rows, keeping the stored ones. False when the memory cannot
    // be had.
    bool Reserve(long long capacity);
    // Appends a row of positions and counts them. The caller has made room.
    void Append(const std::uint8_t* row) {
        const int width = m_rowWidth;
        std::uint8_t* target =
            m_rows.get() + static_cast<std::size_t>(m_count) * static_cast<std::size_t>(width);
        std::uint32_t* frequencies = m_frequencies.data();
        const std::size_t numbers = m_frequencies.size();
        for (int i = 0; i < width; ++i) {
            const std::uint8_t position = row[i];
            target[i] = position;
            if (position < numbers) {
                ++frequencies[position];
            }
        }
        ++m_count;
    }
    // Appends `count` rows that share the first width - 1 positions of `prefix` and take the
    // last positions `firstLast`, `firstLast` + 1, ...; counted as Append counts. The caller
    // has made room.
    void AppendRun(const std::uint8_t* prefix, int firstLast, int count);
    // Appends a row whose bytes are numbers (a draws-list variation): no frequency counting.
    void AppendRaw(const std::uint8_t* row);
    // Deletes rows first..last (1-based): the later rows move up, and the block ends and the
    // base row counts follow.
    void DeleteRows(long long first, long long last);
    // Appends rows as one new block (test rows, a row of the check ticket); the rows before
    // them become the body. False when the memory cannot be had.
    bool AppendBlock(const std::vector<std::vector<std::uint8_t>>& rows);
    // Writes `row` over row `index` (0-based) and recounts the frequencies.
    void ReplaceRow(long long index, const std::uint8_t* row);
    // Cuts the table to `count` rows and recounts the frequencies.
    void Truncate(long long count);
    // Shrinks the reserved room to the stored rows.
    void ShrinkToFit();
    void Clear();

    // Takes `count` rows of the row width from `bytes` (a file's rows) in place of the stored
    // ones. False when the memory cannot be had.
    bool Assign(const std::vector<std::uint8_t>& bytes, long long count);
    // Occurrences of each position in the stored rows (a file brings its own table).
    void SetFrequencies(std::vector<std::uint32_t> frequencies) {
        m_frequencies = std::move(frequencies);
    }
    const std::vector<std::uint32_t>& Frequencies() const { return m_frequencies; }
    void RecountFrequencies();

    // Ascending lexicographic order; the order table remembers where each row came from.
    void Sort();
    // Back to the order before the sort.
    void RestoreOriginalOrder();
    bool IsSorted() const { return m_sorted; }
    // Changes with every edit that is not a plain append (a new, loaded, sorted or edited
    // variation), so a window can tell that the rows it shows are not the stored ones.
    std::uint64_t Revision() const { return m_revision; }
    const std::vector<std::uint32_t>& OrderTable() const { return m_order; }

    // Row counts at the end of each block (a generation, an extension, an import, ...).
    std::vector<std::int32_t>& BlockEnds() { return m_blockEnds; }
    const std::vector<std::int32_t>& BlockEnds() const { return m_blockEnds; }
    // Ends a block at the current row count, unless the last block already ends there.
    void CloseBlock();
    // Every stored row joins the body: the current extension becomes part of the variation.
    void MergeExtension();
    // Removes the rows of the last block, the rows added last; the rows left are the body.
    // False (and nothing removed) when only one block is left.
    bool DropLastBlock();

    long long baseCount = 0;      // rows of the body; later rows are the current extension
    long long savedBaseCount = 0; // the base count kept with the variation file
    bool saved = false;           // equals a file just saved or loaded
    // A draws-list variation: the identifiers of the draws stored, with one spare slot (-1) at
    // the end, and how many number sets of each were stored.
    std::vector<std::int32_t> drawIds{-1};
    std::vector<std::int32_t> drawSetCounts{0};

private:
    int m_rowWidth = 0;
    long long m_count = 0;
    long long m_capacity = 0;
    // Room for m_capacity rows; only the first m_count are written.
    // One malloc'ed block, grown with realloc: the system moves its pages instead of copying
    // the rows, so growing never holds the table twice.
    struct FreeBlock {
        void operator()(std::uint8_t* block) const { std::free(block); }
    };
    std::unique_ptr<std::uint8_t, FreeBlock> m_rows;
    // Moves the stored rows into a table of `capacity` rows. False when it cannot be had.
    bool Reallocate(long long capacity);
    std::vector<std::uint32_t> m_frequencies;
    std::vector<std::uint32_t> m_order;
    std::vector<std::int32_t> m_blockEnds;
    bool m_sorted = false;
    std::uint64_t m_revision = 0;
};

// The block ends after rows first..last (1-based) were deleted, and the base row count they
// may lower.
void ImportCountRendezes(std::vector<std::int32_t>& blockEnds, long long first, long long last,
                         long long rowCount, long long& baseCount);

} // namespace velmora
