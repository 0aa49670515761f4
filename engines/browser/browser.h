#pragma once
// A web browser driven by automation: navigate to an address, show it.
#include <string>

namespace zlt {

class Browser {
public:
    virtual ~Browser() = default;
    // Failures are RunTimeErrors.
    virtual void navigate(const std::string& address) = 0;
    virtual void setVisible(bool visible) = 0;
};

}  // namespace zlt
