#pragma once
// The sheets of paper reports are printed on and documents laid out for,
// by the names the paper setting uses (Settings::paperSize): printing and
// the notes document take their page from the same setting.
#include <string_view>

namespace zlt {

struct Paper {
    double width = 595.28;  // points (1/72 inch), portrait; A4
    double height = 841.89;

    // Twentieths of a point, as rich text measures a page.
    int widthTwips() const { return static_cast<int>(width * 20 + 0.5); }
    int heightTwips() const { return static_cast<int>(height * 20 + 0.5); }
};

// "a4", "letter", "legal", "a5" in any letter case; A4 for any other name
// and for none.
Paper paperNamed(std::string_view name);

}  // namespace zlt
