#include "measure/TypedRealSize.h"

#include <charconv>
#include <cmath>
#include <string>

namespace halvera {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || (c >= '\t' && c <= '\r');
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One decimal comma becomes a point; a text holding both, or several commas,
// is left as it is and so fails as a number.
std::string WithDecimalPoint(std::string_view text) {
    std::string number(text);
    const size_t comma = number.find(',');
    if (comma != std::string::npos && number.find(',', comma + 1) == std::string::npos &&
        number.find('.') == std::string::npos)
        number[comma] = '.';
    return number;
}

// The power of ten of the leading digit of a number written in full (sign,
// digits, point, digits, exponent): above 0 for a number too large for a
// double, below for one too small.
long long DecimalOrder(std::string_view number) {
    size_t i = number.find_first_not_of("+-");
    int integerDigits = 0;
    int zerosAfterPoint = 0;
    bool significant = false;
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        significant = significant || number[i] != '0';
        integerDigits += significant ? 1 : 0;
    }
    if (i < number.size() && number[i] == '.')
        for (++i; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
            significant = significant || number[i] != '0';
            zerosAfterPoint += !significant && integerDigits == 0 ? 1 : 0;
        }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        std::string_view digits = number.substr(i + 1);
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        // An exponent beyond long long is beyond any order that matters here.
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec ==
            std::errc::result_out_of_range)
            exponent = digits.front() == '-' ? -1'000'000 : 1'000'000;
    }
    return (integerDigits > 0 ? integerDigits - 1 : -zerosAfterPoint - 1) + exponent;
}

} // namespace

std::optional<double> ParseTypedRealSize(std::string_view text) {
    std::string number = WithDecimalPoint(Trimmed(text));
    // from_chars takes a minus sign but not a plus sign.
    if (number.size() > 1 && number.front() == '+' && number[1] != '-')
        number.erase(0, 1);
    double value = 0.0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    const bool outOfRange = error == std::errc::result_out_of_range;
    if (number.empty() || stop != end || (error != std::errc() && !outOfRange))
        return std::nullopt;
    if (outOfRange) {
        const bool negative = number.front() == '-';
        const bool tooLarge = DecimalOrder(number) > 0;
        return tooLarge && !negative ? kLargestRealSize : 1.0;
    }
    if (!std::isfinite(value)) // "inf" and "nan" are words, not sizes
        return std::nullopt;
    if (!(value > 0.0))
        return 1.0;
    return value > kLargestRealSize ? kLargestRealSize : value;
}

} // namespace halvera
