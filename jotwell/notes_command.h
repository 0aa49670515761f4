#pragma once
// The notes command line "DetailnotesPath,DetailNotesFile,DetailNotesName"
// and what it names: the document, the record and its heading.
#include <string>
#include <string_view>

namespace zlt::jotwell {

struct NotesCommand {
    std::string notesPath;     // ends in a separator: the file name follows directly
    std::string notesFile;     // "CS000002.DOC": record type code, then the record number
    std::string notesName;     // the record's display name, commas and all
    std::string typeCode;      // the first two characters of the file name, as typed
    std::string recordNumber;  // characters 3 to 8 as a number: "000002" gives "2"
};

// Cut at the first two commas; no field is trimmed or checked. Fewer than
// two commas: RunTimeError InvalidProcedureCall.
NotesCommand splitNotesCommand(std::string_view line);

// The leading number of a text (see leadingNumber), written as plain
// digits: "000120" gives "120", "  0 12.50x" gives "12.5", no digits "0".
std::string leadingNumberText(std::string_view text);

// "Customer Account (2) - Jane Citizen" for the codes CS, LY, SB, ST and
// CR (exact case); "" for any other code.
std::string headingText(const NotesCommand& command);

}  // namespace zlt::jotwell
