#pragma once
// Reads a registry file in the .reg export format into the statements it
// holds, in file order: create a key, delete a key, set a value, delete a
// value. The bytes come from the caller, which reads the file itself.
//
// The first line must be "Windows Registry Editor Version 5.00" or
// "REGEDIT4"; anything else is refused with error 440 (Automation error):
// the programs read the registry through an automation component, and its
// failures reach them under that number. A malformed line below the header
// is skipped and reading goes on, as the registry editor does when it
// imports such a file; its number is kept in skippedLines. A key line
// deeper than the registry allows is such a line. A value line whose name
// and key are known but whose data is not sets the value to an Unreadable
// one all the same.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zlt::registry {

// The registry's value type numbers.
namespace value_type {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t String = 1;
constexpr std::uint32_t ExpandString = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t Dword = 4;
constexpr std::uint32_t MultiString = 7;
constexpr std::uint32_t Qword = 11;
// Not one of the registry's: a value line that could not be read, its data
// the text written after "=" ("dword:zzzz").
constexpr std::uint32_t Unreadable = 0xFFFFFFFF;
}  // namespace value_type

using Bytes = std::vector<std::uint8_t>;

// The data of a value by its type: String and ExpandString as UTF-8 text
// (an expand string is not expanded), Dword as a number, MultiString as its
// strings, every other type as its bytes.
struct Value {
    std::uint32_t type = value_type::String;
    std::variant<std::string, std::uint32_t, std::vector<std::string>, Bytes> data;

    bool operator==(const Value&) const = default;
};

struct Statement {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };

    Kind kind = Kind::CreateKey;
    std::string key;  // the full path, root written out: "HKEY_CURRENT_USER\Software"
    std::string name;  // the value's name; "" is the key's default value (@)
    Value value;  // SetValue only
    int line = 0;  // where the statement starts, from 1

    bool operator==(const Statement&) const = default;
};

struct RegFile {
    int version = 5;  // 5 for "Windows Registry Editor Version 5.00", 4 for "REGEDIT4"
    std::vector<Statement> statements;
    std::vector<int> skippedLines;  // malformed lines, from 1
};

// sourceName names the file in the refusal's description.
RegFile parseRegFile(std::string_view bytes, std::string_view sourceName = {});

}  // namespace zlt::registry
