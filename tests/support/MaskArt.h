#pragma once

#include "image/DibImage.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace halvera::testing {

// Masks written as pictures, one string per row from the top: '#' is 255,
// '.' is 0. Reading a mask back gives '?' for any other byte, so a test that
// compares pictures also catches stray values.
DibBlock MaskFromArt(std::initializer_list<std::string_view> rows);
// A zeroed mask of width x height.
DibBlock BlankMask(int width, int height);
// The rows of `mask` joined with '\n' (padding bytes not shown).
std::string MaskArt(const CDibImage& mask);
// The rows given joined with '\n', to compare with MaskArt.
std::string Art(std::initializer_list<std::string_view> rows);

} // namespace halvera::testing
