#include "tabulo/export_loader.h"

#include <utility>

#include "common/window_focus.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"
#include "tabulo/run_tabulo.h"

namespace zlt::tabulo {

const char* const firstWorkbookCaption = "Microsoft Excel - Book1";

namespace {

// The query table's settings: a plain comma-separated import of the whole
// file, done in the foreground, columns fitted to the data.
const std::pair<const char*, ExcelValue> queryTableSettings[] = {
    {"FieldNames", true},
    {"RowNumbers", false},
    {"FillAdjacentFormulas", false},
    {"PreserveFormatting", true},
    {"RefreshOnFileOpen", false},
    {"SavePassword", false},
    {"SaveData", true},
    {"AdjustColumnWidth", true},
    {"RefreshPeriod", 0},
    {"TextFilePromptOnRefresh", false},
    {"TextFileStartRow", 1},
    {"TextFileConsecutiveDelimiter", false},
    {"TextFileTabDelimiter", false},
    {"TextFileSemicolonDelimiter", false},
    {"TextFileCommaDelimiter", true},
    {"TextFileSpaceDelimiter", false},
};

struct TypeFormat {
    const char* word;
    const char* numberFormat;
    int widening;
};
// Only the first word found in the type counts.
constexpr TypeFormat typeFormats[] = {
    {"FIXED2", "###,###,##0.00", 2},
    {"FIXED4", "###,###,##0.0000", 4},
};
// Shows a long whole number with all its digits, not in exponent form.
const char* const barcodeFormat = "# ?/?";

std::string trimmedSpaces(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string columnLetters(int column)
{
    std::string letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

ExportLoader::ExportLoader(TabuloPlatform& platform, const ExportCommand& command)
    : platform_(platform), command_(command), inHand_(command.dataFiles.at(0))
{
}

void ExportLoader::loadExcelSheet()
{
    excel_ = platform_.createExcel();
    for (std::size_t index = 0; index < command_.dataFiles.size(); ++index) {
        inHand_ = command_.dataFiles[index];
        newWorksheet(static_cast<int>(index) + 1);
        applyDictionary();
    }
}

void ExportLoader::release()
{
    if (excel_) {
        auto excel = std::move(excel_);
        current_ = nullptr;
        excel->release();
    }
}

void ExportLoader::newWorksheet(int sheet)
{
    const std::string sheetName = sheetNameOf(inHand_);
    excel_->setVisible(true);
    if (sheet == 1) {
        excel_->setSheetsInNewWorkbook(static_cast<int>(command_.dataFiles.size()));
        excel_->addWorkbook();
        focusWindow(platform_.windows, firstWorkbookCaption);
    }
    current_ = &excel_->worksheets(sheet);
    current_->activate();
    const std::string connection = "TEXT;" + command_.filePath + inHand_;
    ExcelQueryTable& query = current_->addQueryTable(connection, excel_->worksheets(sheet).range("A1"));
    query.setProperty("Name", sheetName);
    for (const auto& [property, value] : queryTableSettings)
        query.setProperty(property, value);
    query.refresh(false);
    current_->selectRange("A1");
    excel_->insertActiveCellEntireRow();
    current_->selectRange("A2");
    excel_->setActiveWindowFreezePanes(true);
    excel_->setSheetName(sheet, sheetName);
    current_->setBackgroundPicture(platform_.programPath + "Kelvane.jpg");
}

void ExportLoader::applyDictionary()
{
    if (!dictionary_)
        dictionary_ = readFieldDictionary(readAll(*platform_.files.openRead(command_.filePath + command_.dictionary)));
    for (const FieldLine& field : dictionary_->fields)
        worksheetHeader(field);
    if (dictionary_->stop)
        throw *dictionary_->stop;
}

void ExportLoader::worksheetHeader(const FieldLine& field)
{
    const int column = field.number;
    const FieldRecord& record = field.record;
    current_->setColumnWidth(column, static_cast<double>(trimmedSpaces(record.name).size() + 1));
    if (record.width > current_->columnWidth(column))
        current_->setColumnWidth(column, record.width);
    current_->setCellBold(1, column, true);
    current_->setCellValue(1, column, platform_.codePage.toUtf8(record.name));
    const std::string headingCell = columnLetters(column) + "1";

    const std::string type = upperAscii(record.type);
    for (const TypeFormat& format : typeFormats) {
        if (type.find(format.word) == std::string::npos)
            continue;
        current_->selectRange(headingCell);
        excel_->setActiveCellEntireColumnNumberFormat(format.numberFormat);
        current_->setColumnWidth(column, current_->columnWidth(column) + format.widening);
        break;
    }
    if (upperAscii(record.name).find("BARCODE") != std::string::npos) {
        current_->selectRange(headingCell);
        excel_->setActiveCellEntireColumnNumberFormat(barcodeFormat);
    }
}

}  // namespace zlt::tabulo
