#pragma once
// The address Webhop hands to the browser: a web page, optionally with the
// support forum's login query.
#include <string>

#include "platform/run_time_error.h"

namespace zlt::webhop {

// The page as the browser is to open it. An address with a scheme keeps it
// and is used unchanged, but only http, https and ftp are web pages: the
// desktop's opener would start local programs or files for anything else.
// An address without one ("www.example.org/forum", "shop.example:8080/x")
// is taken as http. Control bytes, blanks and bytes above 127 are written
// as %XX; every printable ASCII character stays as typed. Throws
// RunTimeError InvalidProcedureCall for anything else.
std::string webPageAddress(const std::string& webPage);

// `value` with "&#%+=?", space, control bytes (below 0x20 and 0x7F) and
// bytes above 127 written as %XX, so that a postcode or registration number
// cannot end the query value or add fields of its own; every other byte
// ("/", ":", "@" ...) is kept as typed.
std::string percentEncoded(const std::string& value);

// address + "?loc=forum&pc=" + postcode + "&rn=" + registration number,
// even when the address holds a query already.
std::string forumLoginAddress(const std::string& address, const std::string& postCode,
                              const std::string& regoNumber);

}  // namespace zlt::webhop
