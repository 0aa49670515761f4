#include "platform/run_time_error.h"

#include <cerrno>
#include <iterator>
#include <utility>

namespace zlt {

namespace {

using namespace error_number;

constexpr std::pair<int, std::string_view> Descriptions[] = {
    {InvalidProcedureCall, "Invalid procedure call or argument"},
    {Overflow, "Overflow"},
    {OutOfMemory, "Out of memory"},
    {SubscriptOutOfRange, "Subscript out of range"},
    {TypeMismatch, "Type mismatch"},
    {ObjectVariableNotSet, "Object variable or With block variable not set"},
    {BadFileName, "Bad file name or number"},
    {FileNotFound, "File not found"},
    {BadFileMode, "Bad file mode"},
    {FileAlreadyOpen, "File already open"},
    {DeviceIoError, "Device I/O error"},
    {FileAlreadyExists, "File already exists"},
    {DiskFull, "Disk full"},
    {InputPastEnd, "Input past end of file"},
    {TooManyFiles, "Too many files"},
    {DeviceUnavailable, "Device unavailable"},
    {PermissionDenied, "Permission denied"},
    {DiskNotReady, "Disk not ready"},
    {PathFileAccessError, "Path/File access error"},
    {PathNotFound, "Path not found"},
    {CannotCreateObject, "ActiveX component can't create object"},
    {NoSuchMember, "Object doesn't support this property or method"},
    {AutomationError, "Automation error"},
    {InvalidPicture, "Invalid picture"},
    {PrinterError, "Printer error"},
    {ObjectDefinedError, "Application-defined or object-defined error"},
    {WordNoDocumentOpen, "This command is not available because no document is open."},
    {WordDocumentNotFound, "The document was not found"},
    {WordNoSuchDocument, "The requested member of the collection does not exist."},
};

constexpr std::pair<int, int> ErrnoNumbers[] = {
    {ENOENT, FileNotFound},      {ENOTDIR, PathNotFound},     {EACCES, PermissionDenied},
    {EPERM, PermissionDenied},   {EROFS, PermissionDenied},   {ETXTBSY, PermissionDenied},
    {EISDIR, PathFileAccessError}, {EEXIST, FileAlreadyExists}, {ENOSPC, DiskFull},
    {EDQUOT, DiskFull},          {EFBIG, DiskFull},           {EIO, DeviceIoError},
    {EMFILE, TooManyFiles},      {ENFILE, TooManyFiles},      {ENXIO, DeviceUnavailable},
    {ENODEV, DeviceUnavailable}, {ENOMEDIUM, DiskNotReady},   {ENAMETOOLONG, BadFileName},
    {ENOMEM, OutOfMemory},
};

}  // namespace

std::string_view standardDescription(int number)
{
    for (const auto& [n, text] : Descriptions)
        if (n == number)
            return text;
    return "Application-defined or object-defined error";
}

int errorNumberOfErrno(int errnoValue)
{
    for (const auto& [e, number] : ErrnoNumbers)
        if (e == errnoValue)
            return number;
    return PathFileAccessError;
}

RunTimeError errorFromErrno(int errnoValue, const std::string& subject)
{
    const int number = errorNumberOfErrno(errnoValue);
    return RunTimeError(number, std::string(standardDescription(number)) + " (" + subject + ")");
}

}  // namespace zlt
