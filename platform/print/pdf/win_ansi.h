#pragma once
// The encoding of the standard PDF fonts (WinAnsiEncoding), which is the
// Windows-1252 code page byte for byte.
#include <array>
#include <cstdint>
#include <optional>

#include "platform/code_page.h"

namespace zlt::pdf {

// For each host byte, the WinAnsi byte that shows the same character;
// controls become blanks, as they take a blank's room on paper. Empty when
// some character of the code page has no WinAnsi byte (the DOS pages' box
// drawing, say).
std::optional<std::array<std::uint8_t, 256>> winAnsiTable(const CodePage& codePage);

}  // namespace zlt::pdf
