#include "sendwell/send_journal.h"

#include <cstdio>

#include "platform/text_lines.h"

namespace zlt::sendwell {

void ContentFingerprint::add(std::string_view bytes)
{
    for (const unsigned char byte : bytes) {
        hash_ ^= byte;
        hash_ *= 1099511628211ull;
    }
    length_ += bytes.size();
}

std::string ContentFingerprint::text() const
{
    char text[64];
    std::snprintf(text, sizeof text, "%016llx %llu", static_cast<unsigned long long>(hash_),
                  static_cast<unsigned long long>(length_));
    return text;
}

std::string fingerprintOfFile(HostFiles& files, const std::string& path)
{
    // The time it was written belongs to it too: a record left behind by a
    // run killed just after filing never matches a file the host queues
    // again later with the very same text.
    const std::int64_t modified = files.status(path).modified;
    const auto file = files.openRead(path);
    ContentFingerprint fingerprint;
    char chunk[65536];
    for (size_t got; (got = file->read(chunk, sizeof chunk)) > 0;)
        fingerprint.add({chunk, got});
    return fingerprint.text() + " " + std::to_string(modified);
}

SendJournal::SendJournal(HostFiles& files, std::string path, std::string fingerprint)
    : files_(files), path_(std::move(path)), heading_("SENDWELL " + std::move(fingerprint))
{
    if (!files_.fileExists(path_))
        return;
    const std::string text = readAll(*files_.openRead(path_));
    const auto lines = textLines(text);
    if (lines.empty() || lines.front() != heading_)
        return;
    // A line cut short by a kill is not a record; the file is written anew.
    const bool whole = text.ends_with("\r\n");
    for (size_t i = 1; i < lines.size() - (whole ? 0 : 1); ++i)
        if (!lines[i].empty() && lines[i].size() < 10 && lines[i].find_first_not_of("0123456789") == std::string::npos)
            done_.insert(std::stoi(std::string(lines[i])));
    written_ = whole;
}

void SendJournal::markDone(int message)
{
    done_.insert(message);
    if (written_) {
        const auto out = files_.openWrite(path_, WriteMode::Append);
        out->write(std::to_string(message) + "\r\n");
        out->commit();
        return;
    }
    std::string text = heading_ + "\r\n";
    for (const int done : done_)
        text += std::to_string(done) + "\r\n";
    // Written beside it and renamed, so a kill leaves the old record or the new.
    const std::string fresh = path_ + ".NEW";
    const auto out = files_.openWrite(fresh, WriteMode::Replace);
    out->write(text);
    out->commit();
    files_.move(fresh, path_);
    written_ = true;
}

void SendJournal::discard()
{
    if (files_.fileExists(path_))
        files_.remove(path_);
    done_.clear();
    written_ = false;
}

}  // namespace zlt::sendwell
