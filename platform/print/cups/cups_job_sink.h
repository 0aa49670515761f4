#pragma once
// Print jobs as PDF documents submitted to a CUPS printer, all over the
// server's one connection, with the printer's own options (the user's
// lpoptions included).
//
// A job is held in memory until it is whole and only then created on the
// server, so a job that fails on the way never reaches it. A job that
// outgrows the memory allowance is created held and streamed; whole, it is
// released; abandoned, it is cancelled before anything of it printed.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/print/cups/cups_server.h"
#include "platform/print/pdf/pdf_job_sink.h"

typedef struct cups_option_s cups_option_t;

namespace zlt::cups {

class CupsJobSink : public pdf::PdfJobSink {
public:
    // printer: "queue" or "queue/instance", as CupsServer::findPrinter gives it.
    // heldFrom: the size past which a job is streamed (held until whole).
    CupsJobSink(std::unique_ptr<CupsServer> server, const std::string& printer, std::size_t heldFrom = 1 << 20);
    ~CupsJobSink() override;

    std::unique_ptr<pdf::PdfJobOutput> startJob(const std::string& title) override;

    struct Queue {
        std::string name;
        int optionCount = 0;
        cups_option_t* options = nullptr;
        int heldOptionCount = 0;
        cups_option_t* heldOptions = nullptr;  // options plus job-hold-until
    };

private:
    std::unique_ptr<CupsServer> server_;
    Queue queue_;
    std::size_t heldFrom_;
};

}  // namespace zlt::cups
