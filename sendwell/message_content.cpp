#include "sendwell/message_content.h"

#include "common/rtf/rtf_writer.h"
#include "platform/text_lines.h"

namespace zlt::sendwell {

namespace {

const std::string CrLf = "\r\n";

}  // namespace

std::string noteText(const std::string& signature, const std::string& disclaimer)
{
    std::string note = std::string(50, ' ') + CrLf;
    for (const std::string_view line : textLines(signature))
        (note += line) += CrLf;
    note += CrLf;
    for (const std::string_view line : textLines(disclaimer))
        (note += line) += CrLf;
    note += CrLf + " To make this report MS Word friendly you" + CrLf + " may need to adjust your horizontal margins." + CrLf;
    return note;
}

std::string bodyDocument(const std::string& body, const std::string& font, const CodePage& codePage)
{
    rtf::Writer writer(codePage, rtf::Font {font, rtf::FontFamily::Modern, true});
    writer.setPoints(9.75);
    writer.write(body);
    return writer.document();
}

}  // namespace zlt::sendwell
