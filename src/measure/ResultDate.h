#pragma once

#include <ctime>
#include <string>

namespace halvera {

// The date line of the results: "%H:%M %S,  %A, %B %d, %Y\n" (two blanks after
// the first comma) with English day and month names whatever the locale, for
// example "14:05 09,  Monday, December 07, 2026\n".
std::string ResultDateLine(const std::tm& time);

// The local time now.
std::tm LocalTimeNow();

} // namespace halvera
