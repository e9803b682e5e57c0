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
                             "Orphan=1\n"
                             "; Game=9\n"
                             "\n"
                             "[A]\n"
                             "just some garbage\n"
                             "=no key\n"
                             "  Spaced  =  value with blanks  \n"
                             "Path=x=y\n"
                             "Game=1\n"
                             "game=2\n"
                             "[B] trailing text\n"
                             "Key=b\n"
                             "[a]\n"
                             "Late=3\n"
                             "Game=4\n"
                             "NoNewlineAtEnd=5";
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
    const IniFile ini = IniFile::Parse("[S]\n"
                                       "Empty=\n"
                                       "Negative= -7 \n"
                                       "Fraction=1.5\n"
                                       "Suffix=12x\n"
                                       "Huge=99999999999\n"
                                       "Two=2\n"
                                       "Zero=0\n"
                                       "Word=yes\n"
                                       "Comma=0,65\n"
                                       "Point=0.65\n");
    EXPECT_TRUE(ini.HasKey("S", "Empty"));
    EXPECT_EQ(ini.ReadString("S", "Empty", "fallback"), "");
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Negative", 42), -7);
    EXPECT_EQ(ini.ReadInteger("S", "Fraction", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Suffix", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Huge", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 42), 42);

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
