#include "engines/mail/smtp/curl_mail_error.h"

#include <utility>

namespace zlt::mail {

namespace {

using namespace error_number;

constexpr std::pair<CURLcode, int> Numbers[] = {
    {CURLE_COULDNT_RESOLVE_HOST, DeviceUnavailable},
    {CURLE_COULDNT_RESOLVE_PROXY, DeviceUnavailable},
    {CURLE_COULDNT_CONNECT, DeviceUnavailable},
    {CURLE_OPERATION_TIMEDOUT, DeviceUnavailable},
    {CURLE_SEND_ERROR, DeviceUnavailable},
    {CURLE_RECV_ERROR, DeviceUnavailable},
    {CURLE_GOT_NOTHING, DeviceUnavailable},
    {CURLE_WEIRD_SERVER_REPLY, DeviceUnavailable},
    {CURLE_LOGIN_DENIED, PermissionDenied},
    {CURLE_AUTH_ERROR, PermissionDenied},
    {CURLE_USE_SSL_FAILED, PermissionDenied},
    {CURLE_SSL_CONNECT_ERROR, PermissionDenied},
    {CURLE_PEER_FAILED_VERIFICATION, PermissionDenied},
    {CURLE_SSL_CACERT_BADFILE, PermissionDenied},
    {CURLE_SSL_ISSUER_ERROR, PermissionDenied},
    {CURLE_SSL_CIPHER, PermissionDenied},
    {CURLE_READ_ERROR, DeviceIoError},
    {CURLE_ABORTED_BY_CALLBACK, DeviceIoError},  // only the attachment's reading aborts
    {CURLE_OUT_OF_MEMORY, OutOfMemory},
    {CURLE_URL_MALFORMAT, InvalidProcedureCall},
    {CURLE_UNSUPPORTED_PROTOCOL, InvalidProcedureCall},
};

}  // namespace

RunTimeError mailError(CURLcode code, const std::string& detail)
{
    int number = AutomationError;
    for (const auto& [curlCode, named] : Numbers)
        if (curlCode == code)
            number = named;
    const std::string words = detail.empty() ? std::string(curl_easy_strerror(code)) : detail;
    return RunTimeError(number, std::string(standardDescription(number)) + " (" + words + ")");
}

}  // namespace zlt::mail
