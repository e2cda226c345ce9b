#include "measure/TypedRealSize.h"

#include "CommaLocale.h"

#include <gtest/gtest.h>
#include <string>

namespace halvera {
namespace {

TEST(ParseTypedRealSize, NumbersReadWithAPointOrADecimalComma) {
    const std::pair<const char*, double> typed[] = {
        {"250", 250.0}, {"12.5", 12.5},  {"10,5", 10.5},   {" 0,25 ", 0.25},
        {"+3.5", 3.5},  {"2e3", 2000.0}, {"1,5e2", 150.0}, {".5", 0.5}};
    for (const auto& [text, value] : typed)
        EXPECT_EQ(ParseTypedRealSize(text), value) << text;
}

TEST(ParseTypedRealSize, TextThatIsNotANumberAsAWholeIsRefused) {
    for (const char* text :
         {"", "  ", "abc", "12 mm", "10;5", "1,000.5", "1,2,3", "inf", "nan", "-", "e5", "0x10"})
        EXPECT_FALSE(ParseTypedRealSize(text).has_value()) << '"' << text << '"';
}

TEST(ParseTypedRealSize, NumbersOutsideTheLimitsAreHeldToThem) {
    const std::pair<std::string, double> typed[] = {{"0", 1.0},
                                                    {"-5", 1.0},
                                                    {"5e9", kLargestRealSize},
                                                    {"1e400", kLargestRealSize},
                                                    {"1" + std::string(400, '0'), kLargestRealSize},
                                                    {"-1e400", 1.0},
                                                    {"1e-400", 1.0},
                                                    {"0." + std::string(400, '0') + "1", 1.0},
                                                    {"1e99999999999999999999", kLargestRealSize},
                                                    {"1e-99999999999999999999", 1.0}};
    for (const auto& [text, value] : typed)
        EXPECT_EQ(ParseTypedRealSize(text), value) << text.substr(0, 30);
}

TEST(ParseTypedRealSize, TheUsersLocaleDoesNotChangeTheReading) {
    const testing::CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma could be made on this machine";
    EXPECT_EQ(ParseTypedRealSize("12.5"), 12.5);
    EXPECT_EQ(ParseTypedRealSize("12,5"), 12.5);
}

} // namespace
} // namespace halvera
