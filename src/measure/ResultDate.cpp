#include "measure/ResultDate.h"

#include <array>
#include <cstdio>

namespace halvera {

namespace {

constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

// A name from the table, or "?" for a field outside its range.
template <size_t N> const char* NameAt(const std::array<const char*, N>& names, int index) {
    return index >= 0 && index < static_cast<int>(N) ? names[static_cast<size_t>(index)] : "?";
}

} // namespace

std::string ResultDateLine(const std::tm& time) {
    // Only integers and the fixed names go through the format, so the locale
    // cannot change a character of it.
    char line[128];
    std::snprintf(line, sizeof line, "%02d:%02d %02d,  %s, %s %02d, %d\n", time.tm_hour,
                  time.tm_min, time.tm_sec, NameAt(kDays, time.tm_wday),
                  NameAt(kMonths, time.tm_mon), time.tm_mday, time.tm_year + 1900);
    return line;
}

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace halvera
