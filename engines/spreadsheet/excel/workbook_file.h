#pragma once
// The workbook's file: written under a temporary name in the workbooks
// folder and given its own name only when complete, so that a failure
// never leaves a half workbook under a workbook's name, and no name is
// ever taken twice.
#include <memory>
#include <string>

#include "engines/spreadsheet/excel/linux_excel.h"

namespace zlt::excel {

class WorkbookFile {
public:
    // Makes the folder if needed and the temporary file in it.
    explicit WorkbookFile(ExcelHost& host);
    // Removes the temporary file of a workbook that was not kept.
    ~WorkbookFile();
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    Workbook& workbook() { return *workbook_; }
    // Closes the workbook and gives it "<base> <date> <time>.xlsx", with
    // " (2)", " (3)" ... when that is taken; its absolute path. On failure
    // the temporary file is gone and nothing has the workbook's name.
    std::string keep(const std::string& base);

private:
    void removeTemporary() noexcept;

    ExcelHost& host_;
    std::string folder_;
    std::string temporary_;
    std::unique_ptr<Workbook> workbook_;
};

}  // namespace zlt::excel
