#include "platform/print/report_font_name.h"

#include <algorithm>

namespace zlt {

std::string reportFontName(const std::vector<std::string>& printerFonts)
{
    const bool courier = std::find(printerFonts.begin(), printerFonts.end(), "Courier") != printerFonts.end();
    return courier ? "Courier" : "Courier New";
}

}  // namespace zlt
