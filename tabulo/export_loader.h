#pragma once
// The export itself: one worksheet per data file in a new, visible workbook
// of the spreadsheet application, each filled by a text query, framed with
// a frozen heading row and the background picture, then given the
// dictionary's headings, widths and number formats.
#include <memory>
#include <optional>
#include <string>

#include "engines/spreadsheet/excel_application.h"
#include "tabulo/export_command.h"
#include "tabulo/field_dictionary.h"

namespace zlt::tabulo {

struct TabuloPlatform;

// The window title of the application showing its first new workbook.
extern const char* const firstWorkbookCaption;

// The heading cell's column letters in A1 notation: 1 A, 27 AA, 52 AZ.
std::string columnLetters(int column);

class ExportLoader {
public:
    ExportLoader(TabuloPlatform& platform, const ExportCommand& command);

    // Runs the whole export; a RunTimeError stops it where it happened, and
    // what was done stays in the application's workbook.
    void loadExcelSheet();
    // Lets go of the application, if one was started; the workbook stays
    // with the user.
    void release();
    // The data file in hand: the one a failure stopped the export at.
    const std::string& dataFileInHand() const { return inHand_; }

private:
    void newWorksheet(int sheet);
    void applyDictionary();
    void worksheetHeader(const FieldLine& field);

    TabuloPlatform& platform_;
    const ExportCommand& command_;
    std::unique_ptr<ExcelApplication> excel_;
    ExcelWorksheet* current_ = nullptr;
    std::string inHand_;
    // Read once, when the first worksheet has its data; every sheet gets it.
    std::optional<FieldDictionary> dictionary_;
};

}  // namespace zlt::tabulo
