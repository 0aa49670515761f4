#pragma once
// The library writes numbers with printf, which follows LC_NUMERIC. A
// desktop program takes the user's locale, and a decimal comma ("1234,5")
// would corrupt the workbook, so every call into the library runs under
// the C locale for the calling thread only.
#include <locale.h>

namespace zlt::xlsx {

class CLocale {
public:
    CLocale();  // throws RunTimeError (OutOfMemory)
    ~CLocale();
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

    // The C locale is the thread's while a Scope lives.
    class Scope {
    public:
        explicit Scope(const CLocale& locale) : previous_(uselocale(locale.locale_)) {}
        ~Scope() { uselocale(previous_); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        locale_t previous_;
    };

private:
    locale_t locale_;
};

}  // namespace zlt::xlsx
