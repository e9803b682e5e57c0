#include "common/binary_io.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(BinaryIo, IntegersAreLittleEndianAndRoundTrip) {
    BinaryWriter writer;
    writer.WriteI32(2);
    writer.WriteI32(-5);
    writer.WriteU8(200);
    const std::vector<std::uint8_t> expected = {2, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 200};
    EXPECT_EQ(writer.Bytes(), expected);

    BinaryReader reader(writer.Bytes());
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::uint8_t c = 0;
    ASSERT_TRUE(reader.ReadI32(a));
    ASSERT_TRUE(reader.ReadI32(b));
    ASSERT_TRUE(reader.ReadU8(c));
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, -5);
    EXPECT_EQ(c, 200);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(BinaryIo, ShortReadsFailWithoutMoving) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    BinaryReader reader(bytes);
    std::int32_t value = 77;
    EXPECT_FALSE(reader.ReadI32(value));
    EXPECT_EQ(value, 77);
    EXPECT_EQ(reader.Position(), 0u);
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(reader.ReadBytes(4, out));
    EXPECT_TRUE(reader.ReadBytes(3, out));
    EXPECT_EQ(out, bytes);
    EXPECT_FALSE(reader.Skip(1));
}

TEST(BinaryIo, ShortStringIsLengthPrefixedAndZeroFilled) {
    BinaryWriter writer;
    writer.WriteShortString("Velmora Personal", 30);
    const auto& bytes = writer.Bytes();
    ASSERT_EQ(bytes.size(), 31u);
    EXPECT_EQ(bytes[0], 16);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 17), "Velmora Personal");
    for (std::size_t i = 17; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], 0) << i;
    }
}

} // namespace
} // namespace velmora
