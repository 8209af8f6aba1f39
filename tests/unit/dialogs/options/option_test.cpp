// Options dialog: pages, the copy of the settings into the controls and back,
// the delay text and the window outline.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/options/option.h"
#include "support/cases.h"

using namespace hueloom::dialogs;
namespace st = hueloom::settings;

namespace {

st::Settings sample() {
    st::Settings s;
    s.JPGQuality = 77;
    s.PNGQuality = 3;
    s.OptionRectWidth = 33;
    s.MojiColor = 0x010203;
    s.MojiBKColor = 0x040506;
    s.ActiveColor = 0x070809;
    s.DeactiveColor = hueloom::kClInactiveBorder;
    s.ImgBKColor = hueloom::kClBackground;
    s.MaskColor = 0x0A0B0C;
    s.HotKeyGetColor = hueloom::kShortcutAlt | 'G';
    s.HotKeyScreenCapture = hueloom::kShortcutCtrl | hueloom::vk::kF1;
    s.HotKeyWindowCapture = 0;
    s.HotKeyRectCapture = hueloom::kShortcutShift | hueloom::kShortcutCtrl | hueloom::kShortcutAlt | 'R';
    s.HookPrintScreenKey = true;
    s.HookAltPrintScreenKey = false;
    s.SleepTime = 1500;
    s.CaptureCursor = 18;
    s.flgCursorCapture = true;
    return s;
}

}  // namespace

TEST(OptionPages, CaptionsAndColoursInTabOrder) {
    const char* captions[] = {"JPG", "PNG", "色の画像", "平均値モード", "色の設定", "ホットキー", "ｷｬﾌﾟﾁｬ"};
    const uint32_t colours[] = {0xFFFFCC, 0xFFCCCC, 0xFFCCFF, 0xCCCCFF, 0xCCFFFF, 0xCCFFCC, 0x99CCFF};  // 00BBGGRR
    for (int i = 0; i < kOptionPageCount; ++i) {
        EXPECT_EQ(optionPageCaption(i), captions[i]) << i;
        EXPECT_EQ(optionPageColour(i), colours[i]) << i;
    }
    EXPECT_EQ(optionPageCaption(-1), "");
    EXPECT_EQ(optionPageCaption(7), "");
    EXPECT_EQ(optionPageColour(9), colours[0]);
    EXPECT_EQ(validOptionPage(-1), kPageJPG);
    EXPECT_EQ(validOptionPage(7), kPageJPG);
    EXPECT_EQ(validOptionPage(6), kPageCapture);
}

TEST(OptionPages, EachMenuCommandOpensItsPage) {
    EXPECT_EQ(firstOptionPage(OptionCommand::Setting), kPageJPG);
    EXPECT_EQ(firstOptionPage(OptionCommand::Pixels), kPageAverage);
    EXPECT_EQ(firstOptionPage(OptionCommand::VariousColor), kPageColors);
    EXPECT_EQ(kPageAverage, 3);
    EXPECT_EQ(kPageColors, 4);
}

TEST(OptionCopy, EverySettingReachesItsControl) {
    const OptionControls c = optionControlsFrom(sample(), 9);
    EXPECT_EQ(c.jpgPosition, 77);
    EXPECT_EQ(c.pngIndex, 3);
    EXPECT_EQ(c.rectWidth, 33);
    EXPECT_EQ(c.averageIndex, 3);  // "9ｘ9"
    EXPECT_EQ(c.colours[kMojiColor], 0x010203u);
    EXPECT_EQ(c.colours[kMojiBKColor], 0x040506u);
    EXPECT_EQ(c.colours[kActiveColor], 0x070809u);
    EXPECT_EQ(c.colours[kDeactiveColor], hueloom::kClInactiveBorder);
    EXPECT_EQ(c.colours[kImgBKColor], hueloom::kClBackground);
    EXPECT_EQ(c.colours[kMaskColor], 0x0A0B0Cu);
    EXPECT_EQ(c.hotKeys[kHotKeyGetColor], hueloom::kShortcutAlt | 'G');
    EXPECT_EQ(c.hotKeys[kHotKeyScreenCapture], hueloom::kShortcutCtrl | hueloom::vk::kF1);
    EXPECT_EQ(c.hotKeys[kHotKeyWindowCapture], 0);
    EXPECT_EQ(c.hotKeys[kHotKeyRectCapture],
              hueloom::kShortcutShift | hueloom::kShortcutCtrl | hueloom::kShortcutAlt | 'R');
    EXPECT_TRUE(c.hookPrintScreen);
    EXPECT_FALSE(c.hookAltPrintScreen);
    EXPECT_EQ(c.sleepText, "1500");
    EXPECT_EQ(c.cursorIndex, 18);
    EXPECT_TRUE(c.cursorCapture);
}

TEST(OptionCopy, ClosingUntouchedGivesBackTheSameSettings) {
    for (int size : {1, 3, 5, 7, 9, 11, 13, 15}) {
        const st::Settings before = sample();
        st::Settings after = before;
        after.JPGQuality = after.PNGQuality = after.OptionRectWidth = after.SleepTime = after.CaptureCursor = -5;
        after.MojiColor = after.MaskColor = 0;
        after.HotKeyGetColor = after.HotKeyRectCapture = 1;
        after.HookPrintScreenKey = after.flgCursorCapture = false;
        after.PNGQuality = 2;
        int averaging = 99;
        takeOptionControls(optionControlsFrom(before, size), after, averaging);
        EXPECT_EQ(averaging, size);
        EXPECT_EQ(after.JPGQuality, before.JPGQuality);
        EXPECT_EQ(after.PNGQuality, before.PNGQuality);
        EXPECT_EQ(after.OptionRectWidth, before.OptionRectWidth);
        EXPECT_EQ(after.MojiColor, before.MojiColor);
        EXPECT_EQ(after.MaskColor, before.MaskColor);
        EXPECT_EQ(after.HotKeyGetColor, before.HotKeyGetColor);
        EXPECT_EQ(after.HotKeyRectCapture, before.HotKeyRectCapture);
        EXPECT_EQ(after.HookPrintScreenKey, before.HookPrintScreenKey);
        EXPECT_EQ(after.SleepTime, before.SleepTime);
        EXPECT_EQ(after.CaptureCursor, before.CaptureCursor);
        EXPECT_EQ(after.flgCursorCapture, before.flgCursorCapture);
    }
}

TEST(OptionCopy, AveragingSizeAndItsRadioItem) {
    // Standard mode selects nothing; closing with nothing selected keeps it.
    EXPECT_EQ(optionControlsFrom(sample(), 1).averageIndex, -1);
    EXPECT_EQ(optionControlsFrom(sample(), 3).averageIndex, 0);
    EXPECT_EQ(optionControlsFrom(sample(), 15).averageIndex, 6);
    // Sizes that are no item select nothing.
    for (int bad : {0, 2, 4, 17, -3}) EXPECT_EQ(optionControlsFrom(sample(), bad).averageIndex, -1) << bad;

    st::Settings s = sample();
    OptionControls c = optionControlsFrom(s, 1);
    int averaging = 0;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(averaging, 1);
    c.averageIndex = 2;  // "7ｘ7"
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(averaging, 7);
    c.averageIndex = 6;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(averaging, 15);
    c.averageIndex = 7;  // no such item
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(averaging, 1);
}

TEST(OptionCopy, ValuesOutsideAControlsRangeAreBroughtIntoIt) {
    st::Settings s = sample();
    s.JPGQuality = 0;
    s.OptionRectWidth = 51;
    s.PNGQuality = 4;
    s.CaptureCursor = 20;
    OptionControls c = optionControlsFrom(s, 1);
    EXPECT_EQ(c.jpgPosition, 1);
    EXPECT_EQ(c.rectWidth, 50);
    EXPECT_EQ(c.pngIndex, -1);
    EXPECT_EQ(c.cursorIndex, -1);
    s.JPGQuality = 101;
    s.OptionRectWidth = -7;
    s.CaptureCursor = -1;
    c = optionControlsFrom(s, 1);
    EXPECT_EQ(c.jpgPosition, 100);
    EXPECT_EQ(c.rectWidth, 1);
    EXPECT_EQ(c.cursorIndex, -1);

    // Closing with no PNG item keeps a valid level, repairs an invalid one;
    // no cursor entry gives the first cursor.
    int averaging = 1;
    c.pngIndex = -1;
    c.cursorIndex = -1;
    s.PNGQuality = 2;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(s.PNGQuality, 2);
    EXPECT_EQ(s.CaptureCursor, 0);
    s.PNGQuality = 9;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(s.PNGQuality, st::kDefaultPNGQuality);
}

TEST(OptionCopy, ChangedControlsReachTheSettings) {
    st::Settings s = sample();
    OptionControls c = optionControlsFrom(s, 1);
    c.jpgPosition = 42;
    c.pngIndex = 0;
    c.rectWidth = 7;
    c.colours = {1, 2, 3, 4, 5, hueloom::kClBtnFace};
    c.hotKeys = {hueloom::kShortcutCtrl | 'Q', 0, hueloom::vk::kF24, hueloom::kShortcutAlt | hueloom::vk::kSnapshot};
    c.hookPrintScreen = false;
    c.hookAltPrintScreen = true;
    c.sleepText = "500";
    c.cursorIndex = 19;
    c.cursorCapture = false;
    int averaging = 1;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(s.JPGQuality, 42);
    EXPECT_EQ(s.PNGQuality, 0);
    EXPECT_EQ(s.OptionRectWidth, 7);
    EXPECT_EQ(s.MojiColor, 1u);
    EXPECT_EQ(s.MojiBKColor, 2u);
    EXPECT_EQ(s.ActiveColor, 3u);
    EXPECT_EQ(s.DeactiveColor, 4u);
    EXPECT_EQ(s.ImgBKColor, 5u);
    EXPECT_EQ(s.MaskColor, hueloom::kClBtnFace);
    EXPECT_EQ(s.HotKeyGetColor, hueloom::kShortcutCtrl | 'Q');
    EXPECT_EQ(s.HotKeyScreenCapture, 0);
    EXPECT_EQ(s.HotKeyWindowCapture, hueloom::vk::kF24);
    EXPECT_EQ(s.HotKeyRectCapture, hueloom::kShortcutAlt | hueloom::vk::kSnapshot);
    EXPECT_FALSE(s.HookPrintScreenKey);
    EXPECT_TRUE(s.HookAltPrintScreenKey);
    EXPECT_EQ(s.SleepTime, 500);
    EXPECT_EQ(s.CaptureCursor, 19);
    EXPECT_FALSE(s.flgCursorCapture);
    // The sRGB switch is kept unset until it is changed.
    EXPECT_FALSE(s.CaptureToSrgb.has_value());
    c.captureToSrgb = true;
    takeOptionControls(c, s, averaging);
    EXPECT_EQ(s.CaptureToSrgb, true);
    EXPECT_TRUE(optionControlsFrom(s, 1).captureToSrgb);
    // The language: kept unset, then written as chosen; an unknown one is
    // Windows' language.
    EXPECT_FALSE(s.Language.has_value());
    for (const auto& [index, written] : {std::pair{2, "en"}, {1, "ja"}, {0, "auto"}}) {
        c.languageIndex = index;
        takeOptionControls(c, s, averaging);
        EXPECT_EQ(s.Language, written);
        EXPECT_EQ(optionControlsFrom(s, 1).languageIndex, index);
    }
    EXPECT_EQ(languageIndexOf("fr"), 0);
}

TEST(OptionCopy, DelayTextThatIsNoNumberKeepsThePreviousDelay) {
    st::Settings s = sample();
    OptionControls c = optionControlsFrom(s, 1);
    int averaging = 1;
    for (const char* text : {"", "abc", "12abc", "1 000", "0x10", "$10", "1.5", "-", "+", "99999999999"}) {
        c.sleepText = text;
        s.SleepTime = 1234;
        takeOptionControls(c, s, averaging);
        EXPECT_EQ(s.SleepTime, 1234) << '"' << text << '"';
    }
}

TEST(OptionSleepTime, DecimalTextBoundedToAMinute) {
    expectEach<const char*, std::optional<int>>(parseSleepTime,
                                                {
                                                    {"500", 500},
                                                    {"  250 ", 250},
                                                    {"+30", 30},
                                                    {"0", 0},
                                                    {"007", 7},
                                                    {"60000", 60000},
                                                    // A negative delay is no delay; a very long one is cut to a minute.
                                                    {"-1", 0},
                                                    {"-2147483648", 0},
                                                    {"60001", 60000},
                                                    {"2147483647", 60000},
                                                    // Not a 32-bit decimal integer.
                                                    {"2147483648", std::nullopt},
                                                    {"-2147483649", std::nullopt},
                                                    {"１０００", std::nullopt},  // full-width digits
                                                    {"1e3", std::nullopt},
                                                    {" ", std::nullopt},
                                                });
}

TEST(OptionHotKeys, AKeySetForTwoCommandsIsFoundOnceEmptyKeysAside) {
    const uint16_t c = hueloom::kShortcutShift | hueloom::kShortcutCtrl | 'C';
    const uint16_t s = hueloom::kShortcutShift | hueloom::kShortcutCtrl | 'S';
    EXPECT_FALSE(sharedHotKey({c, s, 0, 0}));  // two empty keys share nothing
    const auto shared = sharedHotKey({c, s, s, c});
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->first, kHotKeyGetColor);
    EXPECT_EQ(shared->second, kHotKeyRectCapture);
    EXPECT_EQ(shared->key, c);
    const auto later = sharedHotKey({c, s, 0, s});
    ASSERT_TRUE(later);
    EXPECT_EQ(later->first, kHotKeyScreenCapture);
    EXPECT_EQ(later->second, kHotKeyRectCapture);
    EXPECT_EQ(
        sharedHotKeyMessage(*later, "Shift+Ctrl+S"),
        "ホットキー「Shift+Ctrl+S」が「スクリーン・キャプチャ」と「矩形領域・キャプチャ」の両方に設定されています。\n"
        "一つのキーは一つのコマンドにしか使えません。どちらかを別のキーにしてください。");
    EXPECT_EQ(optionHotKeyCaption(kHotKeyWindowCapture), "ｱｸﾃｨﾌﾞｳｲﾝﾄﾞｳ･ｷｬﾌﾟﾁｬ");
    EXPECT_EQ(optionHotKeyCaption(4), "");
}

TEST(OptionTexts, JpgQualityCaption) {
    EXPECT_EQ(jpgQualityCaption(90), "JPG品質：90");
    EXPECT_EQ(jpgQualityCaption(1), "JPG品質：1");
    EXPECT_EQ(jpgQualityCaption(100), "JPG品質：100");
}

TEST(OptionOutlineTest, RoundedTopAndSquareBottom) {
    const OptionOutline o = optionOutline();
    EXPECT_EQ(o.roundLeft, 0);
    EXPECT_EQ(o.roundTop, 0);
    EXPECT_EQ(o.roundRight, 406);
    EXPECT_EQ(o.roundBottom, 320);
    EXPECT_EQ(o.ellipse, 90);
    EXPECT_EQ(o.rectLeft, 0);
    EXPECT_EQ(o.rectTop, 50);  // top of the page control
    EXPECT_EQ(o.rectRight, 406);
    EXPECT_EQ(o.rectBottom, 320);  // 50 + 267 + 3
    // The plain rectangle starts below the rounded corners' reach (45 px) so
    // the top corners stay round, and reaches the window's bottom.
    EXPECT_GE(o.rectTop, o.ellipse / 2);
    EXPECT_EQ(o.rectBottom, kOptionHeight);
}
