#include "engines/spreadsheet/xlsx/xlsx_error.h"

namespace zlt::xlsx {

namespace {

using namespace error_number;

// Files and the zip package: errno decides when it is known, else
// PathFileAccessError for creating, DeviceIoError for reading and packing.
// Memory: OutOfMemory.
// Arguments the library refuses as arguments: InvalidProcedureCall.
// What a sheet cannot hold (names, limits, pictures, unsupported use):
// ObjectDefinedError, the number the spreadsheet's object model gives.
int numberOf(lxw_error code)
{
    switch (code) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return OutOfMemory;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
        return PathFileAccessError;
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return DeviceIoError;
    case LXW_ERROR_NULL_PARAMETER_IGNORED:
    case LXW_ERROR_PARAMETER_VALIDATION:
    case LXW_ERROR_32_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_128_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_255_STRING_LENGTH_EXCEEDED:
        return InvalidProcedureCall;
    case LXW_ERROR_FEATURE_NOT_SUPPORTED:
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_SHARED_STRING_INDEX_NOT_FOUND:
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
    case LXW_ERROR_WORKSHEET_MAX_URL_LENGTH_EXCEEDED:
    case LXW_ERROR_WORKSHEET_MAX_NUMBER_URLS_EXCEEDED:
    case LXW_ERROR_IMAGE_DIMENSIONS:
    case LXW_NO_ERROR:
    case LXW_MAX_ERRNO:
        break;
    }
    return ObjectDefinedError;
}

}  // namespace

RunTimeError errorOf(lxw_error code, int errnoValue, const std::string& subject)
{
    const int number = numberOf(code);
    const std::string what = subject + ": " + lxw_strerror(code);
    // The library keeps pictures in temporary files and takes a picture it
    // could not write there for a bad one: a full disk is told as one.
    const int errnoNumber = errorNumberOfErrno(errnoValue);
    if (errnoValue != 0 && (number == PathFileAccessError || number == DeviceIoError || errnoNumber == DiskFull ||
                            errnoNumber == DeviceIoError))
        return errorFromErrno(errnoValue, what);
    return RunTimeError(number, std::string(standardDescription(number)) + " (" + what + ")");
}

void check(lxw_error code, int errnoValue, const std::string& subject)
{
    if (code != LXW_NO_ERROR)
        throw errorOf(code, errnoValue, subject);
}

}  // namespace zlt::xlsx
