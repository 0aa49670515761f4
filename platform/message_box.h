#pragma once
// A modal message box with an OK button only and no icon; its answer is
// never used.
#include <string>

namespace zlt {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Title and text in UTF-8; lines of the text are joined by "\n".
    virtual void show(const std::string& title, const std::string& text) = 0;
};

}  // namespace zlt
