#pragma once
// The durable record of what a queued mail file's messages came to: each
// message the server accepted or refused for good is written and synced
// before the next one goes, so a later run sends only the rest. The record
// names the file's content; a new file of the same name starts afresh.
#include <cstdint>
#include <set>
#include <string>

#include "platform/host_files.h"

namespace zlt::sendwell {

// What a file holds, in a few bytes: its length and a 64-bit FNV-1a hash.
class ContentFingerprint {
public:
    void add(std::string_view bytes);
    std::string text() const;

private:
    std::uint64_t hash_ = 14695981039346656037ull;
    std::uint64_t length_ = 0;
};

// The queued file's fingerprint and the time it was written.
std::string fingerprintOfFile(HostFiles& files, const std::string& path);

class SendJournal {
public:
    // Reads the record at `path` when it was made for this content.
    SendJournal(HostFiles& files, std::string path, std::string fingerprint);

    // Message n of the file (counted from 1, every part a message).
    bool isDone(int message) const { return done_.count(message) > 0; }
    void markDone(int message);
    // Once the file is filed: the record goes.
    void discard();

private:
    HostFiles& files_;
    std::string path_;
    std::string heading_;
    std::set<int> done_;
    bool written_ = false;  // the file holds this content's heading and whole lines
};

}  // namespace zlt::sendwell
