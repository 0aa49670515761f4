// Any bytes as a mail file in the queue, read as sendwell reads it: its
// lines are those of the host-text splitter however the file's reads split
// them, and the messages cut from them each have a recipient without a
// blank, a number from the header that began them, and a body of whole
// CR LF lines that passes the part limit by one line at most (empty only
// for a message the next header closes).
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "platform/text_lines.h"
#include "sendwell/mail_header.h"
#include "sendwell/message_assembler.h"

using namespace zlt::sendwell;

namespace {

class CheckingOutbox : public MessageOutbox {
public:
    std::size_t longestLine = 0;

    void begin(const MessagePart& part) override
    {
        FUZZ_CHECK(part.body.empty() && part.emailNumber >= 1);
        FUZZ_CHECK(!part.address.empty() && part.address.find(' ') == std::string::npos);
    }
    void send(const MessagePart& part, bool atEnd) override
    {
        FUZZ_CHECK(part.body.empty() ? !atEnd : part.body.ends_with("\r\n"));
        FUZZ_CHECK(part.body.size() <= PartLimit + longestLine + 2);
    }
    void unusableHeader(std::string_view line) override
    {
        FUZZ_CHECK(isHeaderLine(line) && !parseHeader(line));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = zlt::fuzz::textOf(data, size);
    const std::vector<std::string_view> expected = zlt::textLines(bytes);
    zlt::fuzz::ChunkedFile file(bytes, 1 + size % 13);
    zlt::LineReader reader(file);
    CheckingOutbox outbox;
    for (std::string_view line : expected)
        outbox.longestLine = std::max(outbox.longestLine, line.size());
    MessageAssembler assembler(outbox);
    assembler.beginFile();
    std::size_t count = 0;
    for (std::string_view line; reader.next(line); ++count) {
        FUZZ_CHECK(count < expected.size() && line == expected[count]);
        assembler.addLine(line);
    }
    FUZZ_CHECK(count == expected.size());
    assembler.endFile();
    return 0;
}
