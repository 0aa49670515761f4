#include "platform/print/cups/cups_job_sink.h"

#include "platform/run_time_error.h"

#include <cups/cups.h>

#include <utility>

namespace zlt::cups {

namespace {

// Sent in pieces of this size once a job streams.
constexpr std::size_t SendSize = 64 * 1024;

[[noreturn]] void fail(const std::string& what, const std::string& printer)
{
    throw RunTimeError(error_number::PrinterError,
                       "Printer error: " + what + " on " + printer + ": " + cupsLastErrorString());
}

class CupsJobOutput : public pdf::PdfJobOutput {
public:
    CupsJobOutput(http_t* http, const CupsJobSink::Queue& queue, std::string title, std::size_t heldFrom)
        : http_(http), queue_(queue), title_(std::move(title)), heldFrom_(heldFrom)
    {
    }
    ~CupsJobOutput() override { abandon(); }

    void write(std::string_view bytes) override
    {
        buffer_.append(bytes);
        if (job_ == 0 && buffer_.size() > heldFrom_)
            create(true);
        if (job_ != 0 && buffer_.size() >= SendSize)
            send();
    }

    void finish() override
    {
        if (job_ == 0)
            create(false);
        send();
        documentOpen_ = false;
        if (cupsFinishDocument(http_, queue_.name.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE)
            fail("the print job was refused", queue_.name);
        if (held_)
            release();
        job_ = 0;
    }

    void abandon() noexcept override
    {
        buffer_.clear();
        if (job_ == 0)
            return;  // nothing reached the server
        // The request must end before another can be sent; a held job ends
        // it without printing.
        if (documentOpen_)
            cupsFinishDocument(http_, queue_.name.c_str());
        cupsCancelJob2(http_, queue_.name.c_str(), job_, 0);
        documentOpen_ = false;
        job_ = 0;
    }

private:
    void create(bool held)
    {
        held_ = held;
        job_ = cupsCreateJob(http_, queue_.name.c_str(), title_.c_str(), held ? queue_.heldOptionCount : queue_.optionCount,
                             held ? queue_.heldOptions : queue_.options);
        if (job_ == 0)
            fail("cannot create a print job", queue_.name);
        if (cupsStartDocument(http_, queue_.name.c_str(), job_, title_.c_str(), CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE) {
            const std::string reason = cupsLastErrorString();
            abandon();
            throw RunTimeError(error_number::PrinterError,
                               "Printer error: cannot send a print job to " + queue_.name + ": " + reason);
        }
        documentOpen_ = true;
    }

    void send()
    {
        if (!buffer_.empty() && cupsWriteRequestData(http_, buffer_.data(), buffer_.size()) != HTTP_STATUS_CONTINUE)
            fail("cannot send a print job", queue_.name);
        buffer_.clear();
    }

    void release()
    {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", job_);
        ipp_t* request = ippNewRequest(IPP_OP_RELEASE_JOB);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ippDelete(cupsDoRequest(http_, request, "/jobs/"));
        if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
            fail("cannot release the held print job", queue_.name);
    }

    http_t* http_;
    const CupsJobSink::Queue& queue_;
    std::string title_;
    std::size_t heldFrom_;
    std::string buffer_;
    int job_ = 0;
    bool held_ = false;
    bool documentOpen_ = false;
};

}  // namespace

CupsJobSink::CupsJobSink(std::unique_ptr<CupsServer> server, const std::string& printer, std::size_t heldFrom)
    : server_(std::move(server)), heldFrom_(heldFrom)
{
    const size_t slash = printer.find('/');
    queue_.name = printer.substr(0, slash);
    const std::string instance = slash == std::string::npos ? std::string() : printer.substr(slash + 1);
    if (http_t* http = server_->connection()) {
        if (cups_dest_t* dest = cupsGetNamedDest(http, queue_.name.c_str(), instance.empty() ? nullptr : instance.c_str())) {
            for (int i = 0; i < dest->num_options; ++i)
                queue_.optionCount = cupsAddOption(dest->options[i].name, dest->options[i].value, queue_.optionCount,
                                                   &queue_.options);
            cupsFreeDests(1, dest);
        }
    }
    for (int i = 0; i < queue_.optionCount; ++i)
        queue_.heldOptionCount = cupsAddOption(queue_.options[i].name, queue_.options[i].value, queue_.heldOptionCount,
                                               &queue_.heldOptions);
    queue_.heldOptionCount = cupsAddOption("job-hold-until", "indefinite", queue_.heldOptionCount, &queue_.heldOptions);
}

CupsJobSink::~CupsJobSink()
{
    cupsFreeOptions(queue_.optionCount, queue_.options);
    cupsFreeOptions(queue_.heldOptionCount, queue_.heldOptions);
}

std::unique_ptr<pdf::PdfJobOutput> CupsJobSink::startJob(const std::string& title)
{
    http_t* http = server_->connection();
    if (http == nullptr)
        throw RunTimeError(error_number::PrinterError,
                           "Printer error: no CUPS server answers for " + queue_.name + ": " + cupsLastErrorString());
    return std::make_unique<CupsJobOutput>(http, queue_, title, heldFrom_);
}

}  // namespace zlt::cups
