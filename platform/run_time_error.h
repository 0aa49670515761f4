#pragma once
// A failure as the programs see it: a run-time error number and its
// description. Handlers decide by number (32755 is a cancelled dialog).
#include <stdexcept>
#include <string>

namespace zlt {

namespace error_number {
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int CannotCreateObject = 429;
constexpr int PrinterError = 482;
constexpr int DialogCancelled = 32755;
}  // namespace error_number

class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

}  // namespace zlt
