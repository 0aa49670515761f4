#pragma once
// How every program ends: one line on standard error for a failure, one
// set of exit statuses. A host that starts a program can rely on both.
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/message_box.h"
#include "platform/run_time_error.h"

namespace zlt {

namespace exit_status {
constexpr int Done = 0;        // the job is done, or there was none
constexpr int Failed = 1;      // a run-time error stopped the job; the line says which
constexpr int BadSetting = 2;  // a setting of the Linux side is wrong; nothing was done
constexpr int LeftForNextRun = 3;  // the run ended normally, but part of the job waits for the next run
constexpr int HostTreeNotFound = 4;  // no drive holds the host's tree; nothing was done
}  // namespace exit_status

// "<program>: <what failed>: <description> (error <n>)"
void reportError(std::ostream& out, std::string_view program, std::string_view whatFailed, const RunTimeError& error);

// The text of the box a program with a display shows for the same failure:
// "Run-time error '53':" and, after an empty line, the description.
std::string runTimeErrorBoxText(const RunTimeError& error);

// A failure that stops a program with message boxes: the line (when there
// is a log to write it to) and the run-time error box titled `boxTitle`.
void reportRunTimeError(MessageBox& messages, std::ostream* errorLog, std::string_view program,
                        std::string_view boxTitle, std::string_view whatFailed, const RunTimeError& error);

// Runs a program's body and turns whatever it throws into the line and the
// status: a bad setting (std::invalid_argument) is BadSetting, anything else
// Failed. Never throws.
int guardedMain(std::string_view program, std::ostream& errors, const std::function<int()>& body) noexcept;

}  // namespace zlt
