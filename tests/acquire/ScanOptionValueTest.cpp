// Option values from and to text, as the batch tool's --option reads them.
#include "acquire/ScanOptionValue.h"

#include <clocale>
#include <gtest/gtest.h>

namespace halvera {
namespace {

ScanOption OptionOf(ScanValueType type) {
    ScanOption option;
    option.name = "opt";
    option.type = type;
    return option;
}

TEST(ScanOptionValue, SwitchesTakeTheUsualWordsForYesAndNo) {
    const ScanOption option = OptionOf(ScanValueType::Bool);
    for (const char* yes : {"yes", "YES", "true", "on", "1"})
        EXPECT_EQ(ParseScanValue(option, yes).value, ScanValue(true)) << yes;
    for (const char* no : {"no", "False", "off", "0"})
        EXPECT_EQ(ParseScanValue(option, no).value, ScanValue(false)) << no;
    const ParsedScanValue wrong = ParseScanValue(option, "maybe");
    EXPECT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error, "the option opt takes yes or no, not 'maybe'");
}

TEST(ScanOptionValue, WholeNumbersRefuseFractionsAndTrailingText) {
    const ScanOption option = OptionOf(ScanValueType::Int);
    EXPECT_EQ(ParseScanValue(option, "300").value, ScanValue(300));
    EXPECT_EQ(ParseScanValue(option, "-5").value, ScanValue(-5));
    for (const char* wrong : {"", "12.5", "300dpi", " 3", "99999999999"})
        EXPECT_FALSE(ParseScanValue(option, wrong).ok()) << wrong;
}

TEST(ScanOptionValue, FixedPointNumbersAreReadWhateverTheLocale) {
    const ScanOption option = OptionOf(ScanValueType::Fixed);
    // A German locale writes a decimal comma; the value is read the same.
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(ParseScanValue(option, "12.5").value, ScanValue(12.5));
    EXPECT_EQ(ParseScanValue(option, "75").value, ScanValue(75.0));
    EXPECT_EQ(FormatScanValue(ScanValue(215.9)), "215.9");
    std::setlocale(LC_ALL, "C");
    if (!german)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; checked in the C locale only";
    EXPECT_FALSE(ParseScanValue(option, "12,5").ok());
    EXPECT_FALSE(ParseScanValue(option, "40000").ok()) << "beyond 16.16 fixed point";
    EXPECT_FALSE(ParseScanValue(option, "nan").ok());
}

TEST(ScanOptionValue, TextIsTakenAsItIsAndButtonsTakeNothing) {
    EXPECT_EQ(ParseScanValue(OptionOf(ScanValueType::String), "/tmp/a b.ppm").value,
              ScanValue(std::string("/tmp/a b.ppm")));
    EXPECT_EQ(ParseScanValue(OptionOf(ScanValueType::String), "").value, ScanValue(std::string()));
    EXPECT_TRUE(ParseScanValue(OptionOf(ScanValueType::Button), "").ok());
    EXPECT_FALSE(ParseScanValue(OptionOf(ScanValueType::Button), "yes").ok());
    EXPECT_FALSE(ParseScanValue(OptionOf(ScanValueType::Group), "").ok());
}

TEST(ScanOptionValue, ListedTextsAreMatchedWithoutLetterCaseAndOthersRefused) {
    ScanOption mode = OptionOf(ScanValueType::String);
    mode.name = "mode";
    mode.constraint = ScanConstraint::StringList;
    mode.texts = {"Gray", "Color"};
    EXPECT_EQ(ParseScanValue(mode, "Color").value, ScanValue(std::string("Color")));
    EXPECT_EQ(ParseScanValue(mode, "gray").value, ScanValue(std::string("Gray")));
    const ParsedScanValue wrong = ParseScanValue(mode, "Colour");
    EXPECT_EQ(wrong.error, "the option mode takes one of Gray, Color, not 'Colour'");
}

TEST(ScanOptionValue, FormattedValuesReadBackAsTheSameValue) {
    const std::pair<ScanValueType, ScanValue> values[] = {
        {ScanValueType::Bool, true},
        {ScanValueType::Bool, false},
        {ScanValueType::Int, -1200},
        {ScanValueType::Fixed, 0.125},
        {ScanValueType::String, std::string("Color")},
    };
    for (const auto& [type, value] : values)
        EXPECT_EQ(ParseScanValue(OptionOf(type), FormatScanValue(value)).value, value);
    EXPECT_EQ(FormatScanValue(ScanValue()), "");
}

TEST(ScanOption, OptionsAreFoundByNameButGroupsAreNot) {
    std::vector<ScanOption> options(3);
    options[0].name = "geometry";
    options[0].type = ScanValueType::Group;
    options[1].name = "geometry";
    options[1].type = ScanValueType::Fixed;
    options[2].name = "mode";
    options[2].type = ScanValueType::String;
    EXPECT_EQ(FindScanOption(options, "geometry"), &options[1]);
    EXPECT_EQ(FindScanOption(options, "mode"), &options[2]);
    EXPECT_EQ(FindScanOption(options, "Mode"), nullptr);
}

} // namespace
} // namespace halvera
