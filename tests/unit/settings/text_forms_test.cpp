// Colour-key text form and integer text of the settings file.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/colour_key.h"
#include "support/cases.h"

using namespace hueloom;
using namespace hueloom::settings;

namespace {

TEST(SettingsInteger, AcceptsDecimalAndBothHexSpellings) {
    expectEach<const char*, std::optional<int32_t>>(parseSettingsInteger,
                                                    {
                                                        {"0", 0},
                                                        {"1000", 1000},
                                                        {"-500", -500},
                                                        {"+7", 7},
                                                        {"  42", 42},
                                                        {"$FF", 255},
                                                        {"$00563412", 0x563412},
                                                        {"0x1f", 31},
                                                        {"0X1F", 31},
                                                        {"-$10", -16},
                                                        {"2147483647", 2147483647},
                                                        {"-2147483648", INT32_MIN},
                                                        {"$FFFFFFFF", -1},
                                                        {"$80000005", static_cast<int32_t>(0x80000005u)},
                                                        {"$0000000000FF", 255},  // leading zeros do not overflow
                                                    });
}

TEST(SettingsInteger, RejectsJunkAndValuesBeyond32Bits) {
    for (const char* bad :
         {"",           " ",           "-",   "+",   "$",   "0x",         "0X",          "x10",
          "12a",        "1 2",         "1.5", "abc", "10 ", "2147483648", "-2147483649", "99999999999",
          "$100000000", "0x1FFFFFFFF", "$G0", "--1", "0x-1"}) {
        EXPECT_FALSE(parseSettingsInteger(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(ColourKey, TableHas52DistinctNamesAndValues) {
    const auto table = colourNameTable();
    ASSERT_EQ(table.size(), 52u);
    std::set<std::string> names;
    std::set<uint32_t> values;
    for (const auto& e : table) {
        names.insert(e.name);
        values.insert(e.value);
    }
    EXPECT_EQ(names.size(), 52u);
    EXPECT_EQ(values.size(), 52u);
}

TEST(ColourKey, EveryTableEntryRoundTripsAndReadsInAnyCase) {
    for (const auto& e : colourNameTable()) {
        EXPECT_EQ(colourToKeyText(e.value), e.name);
        EXPECT_EQ(parseColourKey(e.name), e.value) << e.name;
        std::string upper = e.name, lower = e.name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(parseColourKey(upper), e.value) << upper;
        EXPECT_EQ(parseColourKey(lower), e.value) << lower;
    }
}

TEST(ColourKey, KnownValuesOfTheTable) {
    EXPECT_EQ(parseColourKey("clRed"), 0x0000FFu);
    EXPECT_EQ(parseColourKey("clNavy"), 0x800000u);
    EXPECT_EQ(parseColourKey("clSkyBlue"), 0xF0CAA6u);
    EXPECT_EQ(parseColourKey("clMedGray"), 0xA4A0A0u);
    EXPECT_EQ(parseColourKey("clScrollBar"), 0x80000000u);
    EXPECT_EQ(parseColourKey("clInfoBk"), 0x80000018u);
    EXPECT_EQ(parseColourKey("clHotLight"), 0x8000001Au);  // index 25 has no name
    EXPECT_EQ(parseColourKey("clMenuBar"), 0x8000001Eu);
    EXPECT_EQ(parseColourKey("clNone"), 0x1FFFFFFFu);
    EXPECT_EQ(parseColourKey("clDefault"), 0x20000000u);
    EXPECT_EQ(parseColourKey("CLAQUA"), kClAqua);
}

TEST(ColourKey, ValuesOutsideTheTableUseEightUpperHexDigits) {
    EXPECT_EQ(colourToKeyText(rgbColour(18, 52, 86)), "$00563412");
    EXPECT_EQ(colourToKeyText(rgbColour(12, 34, 56)), "$0038220C");
    EXPECT_EQ(colourToKeyText(rgbColour(255, 128, 0)), "$000080FF");
    EXPECT_EQ(colourToKeyText(0x80000019u), "$80000019");  // unnamed system index 25
    EXPECT_EQ(colourToKeyText(0xABCDEF01u), "$ABCDEF01");
    EXPECT_EQ(parseColourKey("$00563412"), 0x563412u);
    EXPECT_EQ(parseColourKey("$abcdef01"), 0xABCDEF01u);
    EXPECT_EQ(parseColourKey("255"), 255u);
    EXPECT_EQ(parseColourKey("-2147483643"), 0x80000005u);
    for (uint32_t v : {0x000001u, 0x123456u, 0x00FFFFFEu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(parseColourKey(colourToKeyText(v)), v);
    }
}

TEST(ColourKey, JunkIsNotAColour) {
    for (const char* bad : {"", "clAquaa", "cl Aqua", "Aqua", "clAqua ", "$1000000000", "#FF0000", "red"}) {
        EXPECT_FALSE(parseColourKey(bad).has_value()) << bad;
    }
}

}  // namespace
