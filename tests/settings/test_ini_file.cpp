#include <gtest/gtest.h>

#include "settings/ini_file.h"

namespace velmora {
namespace {

TEST(IniFileParse, FindsSectionsAndKeysWithoutRegardToCase) {
    const IniFile ini = IniFile::Parse("[Velmora]\r\nGame=3\r\nBack=Top\r\n[Ticket]\r\n014=30\r\n");
    EXPECT_EQ(ini.ReadInteger("velmora", "GAME", -1), 3);
    EXPECT_EQ(ini.ReadString("VELMORA", "back", ""), "Top"); // values keep their case
    EXPECT_EQ(ini.ReadInteger("ticket", "014", -1), 30);
    // A key is found only in its own section.
    EXPECT_FALSE(ini.HasKey("Ticket", "Game"));
    EXPECT_FALSE(ini.HasKey("Missing", "Game"));
}

TEST(IniFileParse, IgnoresEverythingThatIsNotAKeyInASection) {
    const std::string text = "\xEF\xBB\xBF"
                             "Orphan=1\n; Game=9\n\n[A]\njust some garbage\n=no key\n"
                             "  Spaced  =  value with blanks  \nPath=x=y\nGame=1\ngame=2\n"
                             "[B] trailing text\nKey=b\n[a]\nLate=3\nGame=4\nNoNewlineAtEnd=5";
    const IniFile ini = IniFile::Parse(text);
    EXPECT_FALSE(ini.HasKey("", "Orphan"));
    EXPECT_FALSE(ini.HasKey("A", ""));
    EXPECT_EQ(ini.ReadString("A", "Spaced", ""), "value with blanks");
    EXPECT_EQ(ini.ReadString("A", "Path", ""), "x=y");
    // First occurrence wins, also across a repeated section, whose new keys are merged in.
    EXPECT_EQ(ini.ReadInteger("A", "Game", -1), 1);
    EXPECT_EQ(ini.ReadInteger("A", "Late", -1), 3);
    EXPECT_EQ(ini.ReadString("B", "Key", ""), "b");
    EXPECT_EQ(ini.ReadInteger("A", "NoNewlineAtEnd", -1), 5);
    EXPECT_FALSE(ini.HasKey("A", "; Game"));
}

TEST(IniFileRead, TypedValuesFallBackOnAnythingMalformed) {
    const IniFile ini =
        IniFile::Parse("[S]\nEmpty=\nNegative= -7 \nFraction=1.5\nSuffix=12x\nHuge=99999999999\n"
                       "Two=2\nZero=0\nWord=yes\nComma=0,65\nPoint=0.65\n");
    EXPECT_TRUE(ini.HasKey("S", "Empty"));
    EXPECT_EQ(ini.ReadString("S", "Empty", "fallback"), "");
    EXPECT_EQ(ini.ReadInteger("S", "Negative", 42), -7);
    for (const char* key : {"Empty", "Fraction", "Suffix", "Huge", "Missing"}) {
        EXPECT_EQ(ini.ReadInteger("S", key, 42), 42) << key;
    }

    EXPECT_TRUE(ini.ReadBool("S", "Two", false));
    EXPECT_TRUE(ini.ReadBool("S", "Negative", false));
    EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "Word", true));
    EXPECT_FALSE(ini.ReadBool("S", "Word", false));
    EXPECT_FALSE(ini.ReadBool("S", "Empty", false));

    EXPECT_DOUBLE_EQ(ini.ReadReal("S", "Comma", 9), 0.65);
    EXPECT_DOUBLE_EQ(ini.ReadReal("S", "Point", 9), 0.65);
    EXPECT_DOUBLE_EQ(ini.ReadReal("S", "Word", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadReal("S", "Missing", 9), 9);
}

TEST(IniFileWrite, KeepsInsertionOrderAndReplacesInPlace) {
    IniFile ini;
    ini.WriteInteger("Second", "Count", -3);
    ini.WriteBool("First", "On", true);
    ini.WriteBool("First", "Off", false);
    ini.WriteReal("Second", "Price", 0.65);
    ini.WriteReal("Second", "Whole", 225);
    ini.WriteString("first", "ON", "7"); // same key, other case: replaced where it stands
    EXPECT_EQ(ini.Text(), "[Second]\n"
                          "Count=-3\n"
                          "Price=0,65\n"
                          "Whole=225\n"
                          "\n"
                          "[First]\n"
                          "On=7\n"
                          "Off=0\n");
}

} // namespace
} // namespace velmora
