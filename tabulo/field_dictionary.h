#pragma once
// The export's field dictionary: fixed-position lines, one per field, in
// the host's code page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zlt::tabulo {

// Field numbers index a table of slots 0 to this.
constexpr int LastFieldNumber = 1000;

struct FieldRecord {
    std::string name;  // host text, exactly 30 characters, padded with spaces
    int width = 0;
    std::string type;  // host text, exactly 7 characters, padded with spaces
};

// The field number of a line (positions 1 to 3, their leading number
// rounded); 0 or less for a line that is no field line. Overflow (6) when
// it does not fit 16 bits.
int fieldNumberOf(std::string_view line);

// The record of a field line: name from positions 8 to 37, type from 39 to
// 45, width the rounded leading number of 46 to 52. Overflow (6) for a
// width that does not fit 16 bits.
FieldRecord fieldRecordOf(std::string_view line);

}  // namespace zlt::tabulo
