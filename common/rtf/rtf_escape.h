#pragma once
// Host text as RTF text: every character that could be read as RTF syntax,
// and every one outside printable ASCII, is written as an escape, so that
// no text a user typed can ever open a group or start a control word.
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace zlt::rtf {

// How characters outside ASCII are written.
enum class Escapes {
    // \'hh for characters Windows-1252 holds (a document that declares
    // \ansicpg1252 with an ANSI font), \uN? for the rest.
    Windows1252,
    // \uN? for every character outside ASCII: for documents whose code
    // page or default font charset is not Windows-1252.
    Unicode,
};

// The Windows-1252 byte of a character; none when the page lacks it.
std::optional<unsigned char> windows1252Byte(char32_t c);

// Appends the escaped form of host bytes (read through the host's code
// page) to out:
//   \ { }                    -> \\ \{ \}
//   printable ASCII          -> itself
//   TAB                      -> \tab    (a tab stop)
//   form feed                -> \page   (a report's print jobs start new pages)
//   other C0 controls, DEL,
//   C1 controls (bytes a page leaves undefined) -> left out: they are printer
//                               codes, not text
//   anything else            -> \'hh or \uN? as escapes asks (\uc1 is
//                               assumed: one fallback character, '?')
// Control words end in a space, so the result may follow anything and be
// followed by anything. Line breaks are not handled here (they are controls
// like the others): the writer turns them into paragraphs first.
void appendEscaped(std::string& out, std::string_view hostText, const CodePage& page, Escapes escapes);

// One Unicode character, by the same rules.
void appendEscapedCharacter(std::string& out, char32_t c, Escapes escapes);

}  // namespace zlt::rtf
