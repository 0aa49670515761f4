#pragma once
// The machine's CUPS server (as libcups finds it: CUPS_SERVER, the client
// configuration, else the local scheduler) over one connection, opened at
// first use and kept for the whole run: the printer is looked up and every
// job of the run is submitted through it.
#include <string>

typedef struct _http_s http_t;

namespace zlt::cups {

class CupsServer {
public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // The connection; null when no server answers.
    http_t* connection();

    // The printer ("queue" or "queue/instance") that jobs for name go to:
    // name itself when the server knows it; for an empty name the user's or
    // the server's default printer, else the first printer. Empty when there
    // is none, or no server.
    std::string findPrinter(const std::string& name);

private:
    http_t* http_ = nullptr;
    bool tried_ = false;
};

}  // namespace zlt::cups
