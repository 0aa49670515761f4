#include "platform/program_exit.h"

#include <new>
#include <stdexcept>
#include <system_error>

namespace zlt {

void reportError(std::ostream& out, std::string_view program, std::string_view whatFailed, const RunTimeError& error)
{
    out << program << ": " << whatFailed << ": " << error.description() << " (error " << error.number() << ")\n";
    out.flush();
}

int guardedMain(std::string_view program, std::ostream& errors, const std::function<int()>& body) noexcept
{
    // Each handler only formats: nothing in here may throw again.
    try {
        return body();
    } catch (const RunTimeError& e) {
        reportError(errors, program, "stopped", e);
    } catch (const std::invalid_argument& e) {
        errors << program << ": setting: " << e.what() << '\n';
        return exit_status::BadSetting;
    } catch (const std::bad_alloc&) {
        reportError(errors, program, "stopped", RunTimeError(error_number::OutOfMemory));
    } catch (const std::system_error& e) {
        reportError(errors, program, "stopped", errorFromErrno(e.code().value(), e.what()));
    } catch (const std::exception& e) {
        errors << program << ": stopped: " << e.what() << '\n';
    } catch (...) {
        errors << program << ": stopped by an unknown failure\n";
    }
    return exit_status::Failed;
}

std::string runTimeErrorBoxText(const RunTimeError& error)
{
    return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
}

void reportRunTimeError(MessageBox& messages, std::ostream* errorLog, std::string_view program,
                        std::string_view boxTitle, std::string_view whatFailed, const RunTimeError& error)
{
    if (errorLog)
        reportError(*errorLog, program, whatFailed, error);
    messages.show(std::string(boxTitle), runTimeErrorBoxText(error));
}

}  // namespace zlt
