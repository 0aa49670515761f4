#include "tabulo/export_loader.h"

#include <algorithm>
#include <utility>

#include "common/window_focus.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"
#include "platform/text_lines.h"
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
    : platform_(platform), command_(command), fieldTable_(LastFieldNumber + 1)
{
}

std::string ExportLoader::currentDataFile() const
{
    const std::size_t sheet = sheetNo_ >= 1 ? static_cast<std::size_t>(sheetNo_) : 1;
    return command_.dataFiles.at(std::min(sheet, command_.dataFiles.size()) - 1);
}

std::string ExportLoader::utf8(const std::string& hostText) const
{
    return utf8OfHostText(hostText, platform_.codePage);
}

void ExportLoader::loadExcelSheet()
{
    excel_ = platform_.createExcel();
    const int count = static_cast<int>(command_.dataFiles.size());
    for (sheetNo_ = 1; sheetNo_ <= count; ++sheetNo_) {
        newWorksheet();
        readDictionary();
    }
    sheetNo_ = count;
}

void ExportLoader::release()
{
    if (excel_) {
        auto excel = std::move(excel_);
        current_ = nullptr;
        excel->release();
    }
}

void ExportLoader::newWorksheet()
{
    const std::string dataFile = currentDataFile();
    const std::string sheetName = utf8(sheetNameOf(dataFile));
    excel_->setVisible(true);
    if (sheetNo_ == 1) {
        excel_->setSheetsInNewWorkbook(static_cast<int>(command_.dataFiles.size()));
        excel_->addWorkbook();
        focusWindow(platform_.windows, firstWorkbookCaption);
    }
    current_ = &excel_->worksheets(sheetNo_);
    current_->activate();
    const std::string connection = "TEXT;" + utf8(command_.filePath + dataFile);
    ExcelQueryTable& query = current_->addQueryTable(connection, excel_->worksheets(sheetNo_).range("A1"));
    query.setProperty("Name", sheetName);
    for (const auto& [property, value] : queryTableSettings)
        query.setProperty(property, value);
    query.refresh(false);
    current_->selectRange("A1");
    excel_->insertActiveCellEntireRow();
    current_->selectRange("A2");
    excel_->setActiveWindowFreezePanes(true);
    excel_->setSheetName(sheetNo_, sheetName);
    current_->setBackgroundPicture(platform_.programPath + "Kelvane.jpg");
}

void ExportLoader::readDictionary()
{
    const std::string text = readAll(*platform_.files.openRead(command_.filePath + command_.dictionary));
    for (const std::string_view line : textLines(text)) {
        const int field = fieldNumberOf(line);
        if (field <= 0)
            continue;
        if (field > LastFieldNumber)
            throw RunTimeError(error_number::SubscriptOutOfRange);
        fieldTable_[static_cast<std::size_t>(field)] = fieldRecordOf(line);
        worksheetHeader(field);
    }
}

void ExportLoader::worksheetHeader(int field)
{
    const FieldRecord& record = fieldTable_[static_cast<std::size_t>(field)];
    current_->setColumnWidth(field, static_cast<double>(trimmedSpaces(record.name).size() + 1));
    if (record.width > current_->columnWidth(field))
        current_->setColumnWidth(field, record.width);
    current_->setCellBold(1, field, true);
    current_->setCellValue(1, field, platform_.codePage.toUtf8(record.name));
    const std::string headingCell = columnLetters(field) + "1";

    const std::string type = upperAscii(record.type);
    for (const TypeFormat& format : typeFormats) {
        if (type.find(format.word) == std::string::npos)
            continue;
        current_->selectRange(headingCell);
        excel_->setActiveCellEntireColumnNumberFormat(format.numberFormat);
        current_->setColumnWidth(field, current_->columnWidth(field) + format.widening);
        break;
    }
    if (upperAscii(record.name).find("BARCODE") != std::string::npos) {
        current_->selectRange(headingCell);
        excel_->setActiveCellEntireColumnNumberFormat(barcodeFormat);
    }
}

}  // namespace zlt::tabulo
