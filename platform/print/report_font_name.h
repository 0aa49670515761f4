#pragma once
// The font host reports are set in: the printer's own "Courier" when its
// list has a font of exactly that name, else "Courier New", which every
// Windows printer had (here, its metric twin).
#include <string>
#include <vector>

namespace zlt {

std::string reportFontName(const std::vector<std::string>& printerFonts);

}  // namespace zlt
