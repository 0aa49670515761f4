#include "platform/print/cups/cups_server.h"

#include <cups/cups.h>

#include <sys/socket.h>

namespace zlt::cups {

CupsServer::~CupsServer()
{
    if (http_ != nullptr)
        httpClose(http_);
}

http_t* CupsServer::connection()
{
    if (!tried_) {
        tried_ = true;
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr);
    }
    return http_;
}

std::string CupsServer::findPrinter(const std::string& name)
{
    http_t* http = connection();
    if (http == nullptr)
        return {};
    const size_t slash = name.find('/');
    const std::string queue = name.substr(0, slash);
    const std::string instance = slash == std::string::npos ? std::string() : name.substr(slash + 1);
    std::string found;
    if (cups_dest_t* dest = cupsGetNamedDest(http, name.empty() ? nullptr : queue.c_str(),
                                             instance.empty() ? nullptr : instance.c_str())) {
        found = dest->name;
        if (dest->instance != nullptr)
            found += std::string("/") + dest->instance;
        cupsFreeDests(1, dest);
        return found;
    }
    if (!name.empty())
        return {};
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    if (count > 0)
        found = dests[0].name;
    cupsFreeDests(count, dests);
    return found;
}

}  // namespace zlt::cups
