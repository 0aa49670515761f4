#include "platform/command_line.h"

#include "platform/utf8.h"

namespace zlt {

std::string argumentText(int argc, const char* const* argv, const CodePage& hostCodePage)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return isValidUtf8(text) ? text : hostCodePage.toUtf8(text);
}

}  // namespace zlt
