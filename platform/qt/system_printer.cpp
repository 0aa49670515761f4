#include "platform/backends.h"
#include "platform/qt/qt_printer.h"

namespace zlt {

std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage)
{
    return std::make_unique<qt::QtPrinter>(qt::destinationFromEnvironment(), codePage);
}

}  // namespace zlt
