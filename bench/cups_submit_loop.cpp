// The floor of printing to CUPS: submits PDF files as print jobs over one
// connection with nothing else to do, one job per file, in the order given.
//   cups_submit_loop PRINTER FILE...
// The server is libcups' own choice (CUPS_SERVER). Prints the job count.
#include <cups/cups.h>

#include <sys/socket.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: cups_submit_loop PRINTER FILE...\n");
        return 2;
    }
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr);
    if (http == nullptr) {
        std::fprintf(stderr, "no CUPS server: %s\n", cupsLastErrorString());
        return 1;
    }
    const char* printer = argv[1];
    int jobs = 0;
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        const std::string pdf{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        const int job = cupsCreateJob(http, printer, "Report", 0, nullptr);
        if (job == 0 || cupsStartDocument(http, printer, job, "Report", CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE ||
            cupsWriteRequestData(http, pdf.data(), pdf.size()) != HTTP_STATUS_CONTINUE ||
            cupsFinishDocument(http, printer) > IPP_STATUS_OK_EVENTS_COMPLETE) {
            std::fprintf(stderr, "job %d of %s: %s\n", i - 1, argv[i], cupsLastErrorString());
            return 1;
        }
        ++jobs;
    }
    httpClose(http);
    std::printf("%d jobs\n", jobs);
    return 0;
}
