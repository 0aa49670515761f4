#include "engines/spreadsheet/xlsx/c_locale.h"

#include <cerrno>

#include "platform/run_time_error.h"

namespace zlt::xlsx {

CLocale::CLocale() : locale_(newlocale(LC_ALL_MASK, "C", locale_t{}))
{
    if (locale_ == locale_t{})
        throw errorFromErrno(errno, "the C locale for writing numbers");
}

CLocale::~CLocale()
{
    freelocale(locale_);
}

}  // namespace zlt::xlsx
