#pragma once
// Finding what nobody tells the dispatcher: the drive of the host tree,
// the mail files the host queued, and the profile or account to sign on as.
#include <optional>
#include <string>
#include <vector>

#include "common/registry/registry.h"
#include "platform/host_files.h"

namespace zlt::sendwell {

// The drive ("C:") whose \ZLT\EMAIL\ exists: the current directory's drive
// whatever its type, else the first fixed or network drive from A to Z
// that is ready. Empty when none has it. A current directory on no drive
// goes straight to the scan.
std::string findMailRoot(HostFiles& files);

// The lines of the list file, as written. nullopt when it is missing.
std::optional<std::vector<std::string>> loadMailList(HostFiles& files, const std::string& listPath);

// A listed name that stays inside the queue folder: no folder separators,
// no drive, not only dots and blanks ("", ".", ".."), and no control
// character (a NUL would end the name early at the system).
bool isPlainFileName(const std::string& name);

// The name for a log line, each control character in it shown as "?".
std::string shownName(std::string name);

}  // namespace zlt::sendwell
