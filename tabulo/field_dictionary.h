#pragma once
// The export's field dictionary: fixed-position lines, one per field, in
// the host's code page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/run_time_error.h"

namespace zlt::tabulo {

// Field numbers index a table of slots 0 to this.
constexpr int LastFieldNumber = 1000;

struct FieldRecord {
    std::string name;  // host text, exactly 30 characters, padded with spaces
    int width = 0;
    std::string type;  // host text, exactly 7 characters, padded with spaces
};

// One field line: its number (positions 1 to 3) is its column.
struct FieldLine {
    int number = 0;
    FieldRecord record;
};

struct FieldDictionary {
    std::vector<FieldLine> fields;  // in the file's order; a number may come twice
    // The first line that breaks a limit (a number past LastFieldNumber,
    // a number or width past 16 bits): the fields before it still apply,
    // then the export stops with it.
    std::optional<RunTimeError> stop;
};

// Field lines are those whose number, the leading number of positions 1 to
// 3 rounded, is above 0 (titles and blank lines are not). Name from
// positions 8 to 37, type from 39 to 45, width the rounded leading number
// of 46 to 52.
FieldDictionary readFieldDictionary(std::string_view text);

}  // namespace zlt::tabulo
