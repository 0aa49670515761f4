#include "engines/spreadsheet/xlsx/xlsx_formats.h"

#include "engines/spreadsheet/xlsx/xlsx_error.h"

namespace zlt::xlsx {

lxw_format* Formats::get(bool bold, std::string_view numberFormat)
{
    if (!bold && numberFormat.empty())
        return nullptr;
    auto& known = bold ? bold_ : plain_;
    if (auto found = known.find(numberFormat); found != known.end())
        return found->second;

    std::string text(numberFormat);
    lxw_format* format = workbook_add_format(book_);
    if (format == nullptr)
        throw errorOf(LXW_ERROR_MEMORY_MALLOC_FAILED, 0, "format " + text);
    if (bold)
        format_set_bold(format);
    if (!text.empty())
        format_set_num_format(format, text.c_str());
    known.emplace(std::move(text), format);
    return format;
}

}  // namespace zlt::xlsx
