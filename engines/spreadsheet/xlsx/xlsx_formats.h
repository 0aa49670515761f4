#pragma once
// The workbook's cell formats, one per look (bold or not, number format),
// made on first use, so the style table holds only the looks in use.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include <xlsxwriter.h>

namespace zlt::xlsx {

class Formats {
public:
    // Number formats longer than this the library cuts short.
    static constexpr std::size_t MaxNumberFormatLength = LXW_FORMAT_FIELD_LEN - 1;

    explicit Formats(lxw_workbook* book) : book_(book) {}

    // nullptr for the default look (not bold, General). An empty number
    // format is General. Throws RunTimeError (OutOfMemory).
    lxw_format* get(bool bold, std::string_view numberFormat);

private:
    lxw_workbook* book_;
    std::map<std::string, lxw_format*, std::less<>> plain_;
    std::map<std::string, lxw_format*, std::less<>> bold_;
};

}  // namespace zlt::xlsx
