#pragma once
// A test font in a temporary program folder: a 256 x 256 glyph picture whose cells are black except
// the cells of the given characters, which are white, and its widths file.
#include <array>
#include <cstdint>
#include <string>

#include "tests/support/temp_folder.h"

// Writes "<name>.png" and "<name>.txt" under the folder; `widths` are the 256 glyph widths.
void WriteTestFont(const TempFolder& folder, const std::string& name, const std::string& whiteGlyphs,
                   const std::array<int, 256>& widths);
// The widths file text: the "[FONT_CHARWIDTH]" line and 16 rows of 16 two-digit widths.
std::string WidthsFileText(const std::array<int, 256>& widths);
