#pragma once
// A field dictionary line laid out by position as the host writes it:
// number 1-3, name 8-37, type 39-45, width 46-52, CR LF at its end.
#include <string>

namespace zlt::testing {

inline std::string field(const std::string& number, const std::string& name, const std::string& type,
                         const std::string& width)
{
    std::string line = number;
    line.resize(7, ' ');
    line += name;
    line.resize(38, ' ');
    line += type;
    line.resize(45, ' ');
    return line + width + "\r\n";
}

// A heading as the dictionary holds it: 30 characters, padded with spaces.
inline std::string padded(std::string name)
{
    name.resize(30, ' ');
    return name;
}

}  // namespace zlt::testing
