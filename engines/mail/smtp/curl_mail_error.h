#pragma once
// The one mapping from a failed libcurl mail transfer to the run-time error
// the dispatcher sees.
#include <curl/curl.h>

#include <string>

#include "platform/run_time_error.h"

namespace zlt::mail {

// Its number by what failed; its description the standard one followed by
// libcurl's own words: "Device unavailable (Failed to connect to ...)".
//   DeviceUnavailable  the server cannot be reached, does not answer in time,
//                      drops the connection or answers out of protocol;
//   PermissionDenied   the login is refused, or TLS cannot be set up or the
//                      server's certificate fails the check;
//   DeviceIoError      the attached file could not be read while sending;
//   OutOfMemory, InvalidProcedureCall (an account libcurl cannot use as an
//   address), and AutomationError for anything else of libcurl's.
RunTimeError mailError(CURLcode code, const std::string& detail);

}  // namespace zlt::mail
