#pragma once
// The workbook as an .xlsx file through libxlsxwriter in constant-memory
// mode: each row goes to a temporary file as soon as the next one starts,
// and close() packs the sheets into the workbook.
#include <memory>
#include <string>

#include "engines/spreadsheet/workbook.h"

namespace zlt {

// Creates the file at `path` at once (empty), so that a destination that
// cannot be written fails before any work, with the errno's RunTimeError;
// close() fills it. Temporary files go to the system's temporary folder.
std::unique_ptr<Workbook> makeXlsxWorkbook(const std::string& path);

}  // namespace zlt
