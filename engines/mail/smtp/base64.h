#pragma once
// Base64 as mail carries it: of bytes in memory (encoded words), and of an
// attached file read piece by piece while the message goes out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zlt::mail {

// `bytes` in base64, padded, on one line, appended to `out`.
void appendBase64(std::string& out, std::string_view bytes);

// A file as base64 lines of 76 characters joined by CR LF, none after the
// last. It is read in large pieces and each read fills the caller's buffer,
// so a message goes out in as few writes as the buffer allows; the file is
// never held whole.
class Base64FileReader {
public:
    // The file's errno as a RunTimeError when it cannot be read (a folder: EISDIR).
    explicit Base64FileReader(const std::string& path);
    ~Base64FileReader();
    Base64FileReader(const Base64FileReader&) = delete;
    Base64FileReader& operator=(const Base64FileReader&) = delete;

    // What read gives in all.
    std::int64_t encodedSize() const;
    // Up to `size` bytes, fewer only at the end; 0 once all is given. A file
    // that fails to read, or ends before its size when opened, is a RunTimeError.
    std::size_t read(char* buffer, std::size_t size);
    void rewind();

private:
    bool encodeMore();

    std::string path_;
    int file_ = -1;
    std::int64_t size_ = 0;
    std::int64_t encodedBytes_ = 0;  // of the file, so far
    std::string encoded_;
    std::size_t given_ = 0;  // of encoded_
};

}  // namespace zlt::mail
