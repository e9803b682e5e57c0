#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Little-endian field-by-field writer and reader for the program's binary files. The reader
// checks that enough bytes remain before every read and never trusts a count from the file.
namespace velmora {

class BinaryWriter {
public:
    void WriteI32(std::int32_t value);
    void WriteU8(std::uint8_t value);
    // An IEEE double, little-endian.
    void WriteF64(double value);
    void WriteBytes(const std::uint8_t* data, std::size_t size);
    void WriteBytes(const std::vector<std::uint8_t>& data);
    // A length-prefixed text of at most `capacity` characters; the unused tail is zero.
    void WriteShortString(const std::string& text, std::size_t capacity);

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

class BinaryReader {
public:
    BinaryReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    explicit BinaryReader(const std::vector<std::uint8_t>& bytes)
        : m_data(bytes.data()), m_size(bytes.size()) {}
    // The reader keeps a pointer into the bytes: a temporary would be gone before the reads.
    explicit BinaryReader(std::vector<std::uint8_t>&&) = delete;

    std::size_t Remaining() const { return m_size - m_position; }
    std::size_t Position() const { return m_position; }

    // Each read returns false, leaving the output untouched, when too few bytes remain.
    bool ReadI32(std::int32_t& value);
    bool ReadU8(std::uint8_t& value);
    bool ReadF64(double& value);
    bool ReadBytes(std::size_t count, std::vector<std::uint8_t>& out);
    bool Skip(std::size_t count);

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

} // namespace velmora
