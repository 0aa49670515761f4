// Any bytes as a host report with its print-control codes: printed from
// the viewer's text and from the report file, read in uneven pieces, both
// put the same on paper and fail alike (only a bad barcode field fails).
#include "fuzz/fuzz_input.h"
#include "platform/run_time_error.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/recording_run_printer.h"
#include "repview/print_engine.h"

namespace {

// The report file handed over in reads of 1 to 7 bytes, so that codes and
// line breaks fall across the reads.
class ChunkedReads : public zlt::testing::MemoryFileSystem {
public:
    std::unique_ptr<zlt::InputFile> openRead(const std::string& path) override
    {
        MemoryFileSystem::openRead(path);  // its refusals
        return std::make_unique<zlt::fuzz::ChunkedFile>(files().at(path), 7);
    }
};

struct Outcome {
    std::string printed;
    int error = 0;
    int abandoned = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome print(std::string_view report, bool fromFile)
{
    ChunkedReads tree;
    tree.addFile("/c/ZLT/RPT", std::string(report));
    zlt::HostFiles files(tree, zlt::DriveMap::parse("C=/c", "/h"));
    zlt::testing::RecordingRunPrinter printer;
    zlt::repview::PrintEngine engine(printer, files);
    Outcome outcome;
    try {
        fromFile ? engine.printReportFile("C:\\ZLT\\RPT.") : engine.printReportText(report);
    } catch (const zlt::RunTimeError& error) {
        outcome.error = error.number();
    }
    outcome.printed = printer.printed();
    outcome.abandoned = printer.abandoned;
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view report = zlt::fuzz::textOf(data, size);
    const Outcome text = print(report, false);
    FUZZ_CHECK(text.error == 0 || text.error == zlt::error_number::TypeMismatch);
    FUZZ_CHECK(text.abandoned == (text.error ? 1 : 0));
    FUZZ_CHECK(print(report, true) == text);
    return 0;
}
