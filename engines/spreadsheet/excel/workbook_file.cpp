#include "engines/spreadsheet/excel/workbook_file.h"

#include <cstdio>

#include "platform/run_time_error.h"

namespace zlt::excel {

namespace {

std::string stamp(const LocalTime& t, const char* pattern)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

}  // namespace

WorkbookFile::WorkbookFile(ExcelHost& host) : host_(host)
{
    FileSystem& files = host_.files.fileSystem();
    files.createFolders(host_.workbooksFolder);
    folder_ = files.canonical(host_.workbooksFolder);
    const std::string base = folder_ + "/.workbook-" + stamp(host_.clock.now(), "%04d%02d%02d-%02d%02d%02d");
    for (int attempt = 1;; ++attempt) {
        const std::string name = base + "-" + std::to_string(attempt) + ".xlsx.part";
        try {
            files.openWrite(name, WriteMode::CreateNew);
            temporary_ = name;
            break;
        } catch (const RunTimeError& error) {
            if (error.number() != error_number::FileAlreadyExists || attempt == 1000)
                throw;
        }
    }
    try {
        workbook_ = host_.makeWorkbook(temporary_);
    } catch (...) {
        removeTemporary();
        throw;
    }
}

WorkbookFile::~WorkbookFile()
{
    workbook_.reset();
    removeTemporary();
}

void WorkbookFile::removeTemporary() noexcept
{
    if (temporary_.empty())
        return;
    try {
        host_.files.fileSystem().remove(temporary_);
    } catch (const RunTimeError&) {
        // Already gone, or the folder went: nothing is left to tidy.
    }
    temporary_.clear();
}

std::string WorkbookFile::keep(const std::string& base)
{
    try {
        workbook_->close();
    } catch (...) {
        removeTemporary();
        throw;
    }
    FileSystem& files = host_.files.fileSystem();
    const std::string name = folder_ + "/" + base + " " + stamp(host_.clock.now(), "%04d-%02d-%02d %02d.%02d.%02d");
    std::string path = name + ".xlsx";
    for (int copy = 2;; ++copy) {
        try {
            files.moveToFreeName(temporary_, path);
            break;
        } catch (const RunTimeError& error) {
            // Another workbook of this name, perhaps from a run in the same
            // second: it is never replaced, the next number is tried.
            if (error.number() != error_number::FileAlreadyExists || copy > 9999) {
                removeTemporary();
                throw;
            }
        } catch (...) {
            removeTemporary();
            throw;
        }
        path = name + " (" + std::to_string(copy) + ").xlsx";
    }
    temporary_.clear();
    return path;
}

}  // namespace zlt::excel
