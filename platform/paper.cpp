#include "platform/paper.h"

#include "platform/ascii.h"

namespace zlt {

Paper paperNamed(std::string_view name)
{
    const std::string lower = lowerAscii(name);
    if (lower == "letter")
        return {612, 792};
    if (lower == "legal")
        return {612, 1008};
    if (lower == "a5")
        return {419.53, 595.28};
    return {};
}

}  // namespace zlt
