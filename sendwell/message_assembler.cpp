#include "sendwell/message_assembler.h"

#include "sendwell/mail_header.h"

namespace zlt::sendwell {

void MessageAssembler::beginFile()
{
    part_.emailNumber = 0;
    part_.body.clear();
    inMessage_ = false;
}

void MessageAssembler::addLine(std::string_view rawLine)
{
    const std::string line = withoutPrinterPrefix(rawLine);
    const bool header = isHeaderLine(line);
    // Noticed on the line after the one that pushed the body past the limit.
    const bool partChange = inMessage_ && part_.partCount > 0 && part_.body.size() > PartLimit;
    if (!header && !partChange) {
        // Text outside a message (before the first header, or after a
        // header that names no one) reaches no one.
        if (inMessage_)
            append(line);
        return;
    }
    if (inMessage_)
        outbox_.send(part_, false);
    part_.body.clear();
    if (!header) {
        outbox_.begin(part_);
        // The line that showed the part change is the next part's first.
        append(line);
        return;
    }
    ++part_.emailNumber;
    part_.partCount = 0;
    const auto parsed = parseHeader(line);
    inMessage_ = parsed.has_value();
    if (!parsed) {
        outbox_.unusableHeader(line);
        return;
    }
    part_.address = parsed->address;
    part_.subject = parsed->subject;
    outbox_.begin(part_);
}

void MessageAssembler::append(std::string_view line)
{
    part_.body += line;
    part_.body += "\r\n";
    if (part_.body.size() > PartLimit)
        ++part_.partCount;
}

void MessageAssembler::endFile()
{
    if (inMessage_ && !part_.body.empty())
        outbox_.send(part_, true);
    inMessage_ = false;
}

}  // namespace zlt::sendwell
