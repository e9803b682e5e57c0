#include "common/binary_io.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BinaryIo, IntegersAreLittleEndianAndRoundTrip) {
    BinaryWriter writer;
    writer.WriteI32(2);
    writer.WriteI32(-5);
    writer.WriteU8(200);
    EXPECT_EQ(writer.Bytes(), (Bytes{2, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 200}));

    BinaryReader reader(writer.Bytes());
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::uint8_t c = 0;
    ASSERT_TRUE(reader.ReadI32(a) && reader.ReadI32(b) && reader.ReadU8(c));
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, -5);
    EXPECT_EQ(c, 200);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(BinaryIo, ShortReadsFailWithoutMoving) {
    const Bytes bytes = {1, 2, 3};
    BinaryReader reader(bytes);
    std::int32_t value = 77;
    EXPECT_FALSE(reader.ReadI32(value));
    EXPECT_EQ(value, 77);
    EXPECT_EQ(reader.Position(), 0u);
    Bytes out;
    EXPECT_FALSE(reader.ReadBytes(4, out));
    EXPECT_TRUE(reader.ReadBytes(3, out));
    EXPECT_EQ(out, bytes);
    EXPECT_FALSE(reader.Skip(1));
}

TEST(BinaryIo, ShortStringIsLengthPrefixedAndZeroFilled) {
    BinaryWriter writer;
    writer.WriteShortString("Velmora Personal", 30);
    const std::string expected = "\x10Velmora Personal" + std::string(14, '\0');
    EXPECT_EQ(writer.Bytes(), Bytes(expected.begin(), expected.end()));
}

} // namespace
} // namespace velmora
