#include "common/binary_io.h"

#include <bit>

#include <algorithm>

namespace velmora {

void BinaryWriter::WriteI32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        m_bytes.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFFu));
    }
}

void BinaryWriter::WriteF64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8) {
        m_bytes.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFFu));
    }
}

void BinaryWriter::WriteU8(std::uint8_t value) {
    m_bytes.push_back(value);
}

void BinaryWriter::WriteBytes(const std::uint8_t* data, std::size_t size) {
    m_bytes.insert(m_bytes.end(), data, data + size);
}

void BinaryWriter::WriteBytes(const std::vector<std::uint8_t>& data) {
    WriteBytes(data.data(), data.size());
}

void BinaryWriter::WriteShortString(const std::string& text, std::size_t capacity) {
    const std::size_t length = std::min({text.size(), capacity, std::size_t{255}});
    m_bytes.push_back(static_cast<std::uint8_t>(length));
    m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    m_bytes.insert(m_bytes.end(), capacity - length, 0);
}

bool BinaryReader::ReadF64(double& value) {
    if (Remaining() < 8) {
        return false;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<std::uint64_t>(m_data[m_position + static_cast<std::size_t>(i)])
                << (8 * i);
    }
    m_position += 8;
    value = std::bit_cast<double>(bits);
    return true;
}

bool BinaryReader::ReadI32(std::int32_t& value) {
    if (Remaining() < 4) {
        return false;
    }
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(m_data[m_position + static_cast<std::size_t>(i)])
                << (8 * i);
    }
    m_position += 4;
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool BinaryReader::ReadU8(std::uint8_t& value) {
    if (Remaining() < 1) {
        return false;
    }
    value = m_data[m_position++];
    return true;
}

bool BinaryReader::ReadBytes(std::size_t count, std::vector<std::uint8_t>& out) {
    if (Remaining() < count) {
        return false;
    }
    out.assign(m_data + m_position, m_data + m_position + count);
    m_position += count;
    return true;
}

bool BinaryReader::Skip(std::size_t count) {
    if (Remaining() < count) {
        return false;
    }
    m_position += count;
    return true;
}

} // namespace velmora
