#pragma once
// The character encodings a .reg file comes in, turned into UTF-8: the
// 5.00 export is UTF-16LE with a byte-order mark, hand-made files are UTF-8,
// REGEDIT4 files are ANSI (Windows-1252).
#include <string>
#include <string_view>

namespace zlt::registry {

// The whole file as UTF-8 text, without its byte-order mark. UTF-16LE when
// the file starts with FF FE, or without a mark when its second byte is NUL
// (the first character is ASCII); UTF-8 when it starts with EF BB BF or is
// valid UTF-8 throughout; Windows-1252 otherwise.
std::string decodeRegFileText(std::string_view bytes);

// UTF-16LE code units as UTF-8; an unpaired surrogate becomes U+FFFD and an
// odd last byte is dropped. Stops at the first NUL unit when stopAtNul.
std::string utf16leToUtf8(std::string_view bytes, bool stopAtNul);

// Windows-1252 bytes as UTF-8 (a string stored by a REGEDIT4 file).
std::string ansiToUtf8(std::string_view bytes);

}  // namespace zlt::registry
