#pragma once
// The desktop's opener: hands a web address or a file to the application
// the user chose for it (browser, word processor, spreadsheet). The
// application lives on after the program ends.
#include <string>

namespace zlt {

class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // A web address, or the absolute Linux path of a file. A target the
    // opener refuses or fails to hand over is RunTimeError AutomationError.
    virtual void open(const std::string& target) = 0;
};

}  // namespace zlt
