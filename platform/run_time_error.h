#pragma once
// A failure as the programs see it: a run-time error number and its
// description, the numbers the host's tools were written against. Every
// number a program raises is named here; handlers decide by number.
#include <stdexcept>
#include <string>
#include <string_view>

namespace zlt {

namespace error_number {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int ObjectVariableNotSet = 91;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIoError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int CannotCreateObject = 429;
constexpr int NoSuchMember = 438;  // an object asked for a property or method it lacks
constexpr int AutomationError = 440;
constexpr int InvalidPicture = 481;
constexpr int PrinterError = 482;
constexpr int ObjectDefinedError = 1004;
// Word's own numbers, as its automation reports them.
constexpr int WordNoDocumentOpen = 4248;    // a document command with no document open
constexpr int WordDocumentNotFound = 5174;  // Documents.Open: no such file
constexpr int WordNoSuchDocument = 5941;    // Documents.Item: not in the collection
}  // namespace error_number

// The run time's own text for a number ("File not found");
// "Application-defined or object-defined error" for one it does not name.
std::string_view standardDescription(int number);

// The number the host's tools gave the cause an errno names: ENOENT is 53,
// ENOTDIR 76, EACCES 70, ENOSPC 61, EIO 57 ...; anything unnamed is 75.
int errorNumberOfErrno(int errnoValue);

class RunTimeError : public std::runtime_error {
public:
    // The standard description of the number.
    explicit RunTimeError(int number) : RunTimeError(number, std::string(standardDescription(number))) {}
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// The error an errno stands for, its standard description followed by what
// was being done: "File not found (/srv/c/ZLT/RPT)".
RunTimeError errorFromErrno(int errnoValue, const std::string& subject);

}  // namespace zlt
