// Any bytes as notes to stamp: what the appender makes of a document it
// accepts is still one document, with the stamp as its last paragraph,
// closed, and everything after the old closing brace kept.
#include "common/rtf/rtf_appender.h"
#include "fuzz/fuzz_input.h"
#include "platform/run_time_error.h"

namespace {

// A stamp as the notes engine writes it: text outside ASCII, in the
// document's font and in a font of its own.
zlt::rtf::Writer stamp()
{
    using zlt::rtf::Font;
    using zlt::rtf::FontFamily;
    zlt::rtf::Writer writer(zlt::CodePage(1252), Font{"Times New Roman", FontFamily::Roman, false});
    const std::size_t fixed = writer.addFont(Font{"Courier New", FontFamily::Modern, true});
    writer.write("Caf\xE9 \x80 notes\r\n");
    writer.setFont(fixed);
    writer.setBold(true);
    writer.write("06/12/2026 17:45");
    return writer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zlt::rtf::Writer paragraphs = stamp();
    const std::string_view document = zlt::fuzz::textOf(data, size);
    zlt::rtf::DocumentLayout before;
    try {
        before = zlt::rtf::scanDocument(document);
    } catch (const zlt::RunTimeError&) {
        return 0;  // the scanner's own target checks its refusals
    }
    const std::string stamped = zlt::rtf::appendParagraphs(document, before, paragraphs);
    const zlt::rtf::DocumentLayout after = zlt::rtf::scanDocument(stamped);
    FUZZ_CHECK(!after.lastParagraphOpen);
    FUZZ_CHECK(after.defaultFont == before.defaultFont);
    FUZZ_CHECK(after.hasFontTable && after.fonts.size() > before.fonts.size());
    const std::string_view tail = document.substr(before.closingBrace);
    FUZZ_CHECK(std::string_view(stamped).substr(after.closingBrace) == tail);
    FUZZ_CHECK(stamped.compare(0, before.headerEnd, document, 0, before.headerEnd) == 0);
    return 0;
}
