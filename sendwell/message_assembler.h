#pragma once
// The lines of one mail file cut into messages: a "%%%" header line begins
// one, the lines after it are its body, and a body that has grown past the
// part limit goes on in a new part with the same recipient and subject.
// What becomes of each message is the outbox's business.
#include <cstddef>
#include <string>
#include <string_view>

namespace zlt::sendwell {

// A part is sent once its body holds more characters than this.
constexpr std::size_t PartLimit = 500'000;

// A message, or one part of a split one. Host text.
struct MessagePart {
    std::string address;
    std::string subject;  // keeps the space the header parse appends
    int emailNumber = 0;  // which header of the file began it, from 1
    // How often the message's body has passed the part limit: 0 for a
    // message not split. The attachment of a part is numbered by it.
    int partCount = 0;
    std::string body;  // each line followed by CR LF
};

class MessageOutbox {
public:
    virtual ~MessageOutbox() = default;
    // A message or a further part begins; its body is still empty.
    virtual void begin(const MessagePart& part) = 0;
    // It is whole: closed by the next header or part change (atEnd false),
    // or by the end of the file.
    virtual void send(const MessagePart& part, bool atEnd) = 0;
    // A header without its address and subject: the text after it reaches no one.
    virtual void unusableHeader(std::string_view line) = 0;
};

class MessageAssembler {
public:
    explicit MessageAssembler(MessageOutbox& outbox) : outbox_(outbox) {}

    // A new file: no message of the last one goes on in it.
    void beginFile();
    void addLine(std::string_view rawLine);
    // The message in progress is sent, unless its body is empty.
    void endFile();
    // Whether the file held a header: text of a file without any reaches no one.
    bool sawHeader() const { return part_.emailNumber > 0; }

private:
    void append(std::string_view line);

    MessageOutbox& outbox_;
    MessagePart part_;
    bool inMessage_ = false;
};

}  // namespace zlt::sendwell
