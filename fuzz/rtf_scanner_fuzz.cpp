// Any bytes as a notes file someone else saved: the scanner either refuses
// them as Bad file mode or finds offsets that point at what they name.
#include "common/rtf/rtf_scanner.h"
#include "fuzz/fuzz_input.h"
#include "platform/run_time_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = zlt::fuzz::textOf(data, size);
    zlt::rtf::DocumentLayout layout;
    try {
        layout = zlt::rtf::scanDocument(bytes);
    } catch (const zlt::RunTimeError& error) {
        FUZZ_CHECK(error.number() == zlt::error_number::BadFileMode);
        return 0;
    }
    FUZZ_CHECK(layout.closingBrace < bytes.size() && bytes[layout.closingBrace] == '}');
    FUZZ_CHECK(layout.headerEnd <= layout.closingBrace);
    if (layout.hasFontTable)
        FUZZ_CHECK(layout.fontTableEnd < layout.closingBrace && bytes[layout.fontTableEnd] == '}');
    return 0;
}
