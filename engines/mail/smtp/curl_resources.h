#pragma once
// libcurl's handles, MIME trees and string lists, owned so that every path
// out of a transfer frees them; a failing libcurl call as a RunTimeError.
#include <curl/curl.h>

#include <memory>
#include <string>

#include "engines/mail/smtp/curl_mail_error.h"
#include "platform/run_time_error.h"

namespace zlt::mail {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MimeDeleter {
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using Mime = std::unique_ptr<curl_mime, MimeDeleter>;
using List = std::unique_ptr<curl_slist, ListDeleter>;

inline void check(CURLcode code, const char* what)
{
    if (code != CURLE_OK)
        throw mailError(code, what);
}

inline void append(List& list, const std::string& line)
{
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown)
        throw RunTimeError(error_number::OutOfMemory);
    static_cast<void>(list.release());  // grown continues it
    list.reset(grown);
}

}  // namespace zlt::mail
