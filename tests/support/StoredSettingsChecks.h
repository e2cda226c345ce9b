#pragma once

#include "image/AppSettings.h"

namespace halvera::testing {

// Expects every persistent setting to hold the value an empty store gives.
void ExpectDefaultStoredSettings(const AppSettings& settings);

// Expects every persistent setting of `actual` to equal that of `expected`.
void ExpectSameStoredSettings(const AppSettings& actual, const AppSettings& expected);

} // namespace halvera::testing
