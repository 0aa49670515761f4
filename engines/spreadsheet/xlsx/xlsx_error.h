#pragma once
// The one place where libxlsxwriter's error codes become the run-time
// errors the programs see.
#include <string>

#include <xlsxwriter.h>

#include "platform/run_time_error.h"

namespace zlt::xlsx {

// The error for `code` met while doing `subject` ("writing /x/book.xlsx").
// errnoValue is errno as the library left it (0 when not known): for file
// and zip failures, and a full disk whatever the code, it names the cause
// better than the code does.
RunTimeError errorOf(lxw_error code, int errnoValue, const std::string& subject);

// Throws errorOf(code, ...) unless code is LXW_NO_ERROR.
void check(lxw_error code, int errnoValue, const std::string& subject);

}  // namespace zlt::xlsx
