#pragma once
// UTF-8, the text of Linux, of workbooks and of mail: one decoder and one
// encoder for every reader and writer of it. Only well-formed UTF-8 counts:
// no overlong forms, surrogates or code points past Unicode, so two spellings
// of one name can never slip past a check.
#include <cstddef>
#include <string>
#include <string_view>

namespace zlt {

struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 0;  // 0: the bytes at that place are not UTF-8
};

// The character that starts at `at` (before text.size()).
Utf8Character decodeUtf8(std::string_view text, std::size_t at);

bool isValidUtf8(std::string_view bytes);

void appendUtf8(std::string& out, char32_t c);

// A byte that continues a character (10xxxxxx): never a place to cut text.
inline bool isUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Characters, as workbooks count them: the bytes that do not continue one.
std::size_t utf8CharacterCount(std::string_view text);

}  // namespace zlt
