#include "engines/mail/smtp/base64.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/run_time_error.h"

namespace zlt::mail {

namespace {

constexpr std::size_t LineBytes = 57;  // 76 characters of base64
// Bytes of the file read at once: whole lines, about 64 KB.
constexpr std::size_t PieceBytes = LineBytes * 1150;

}  // namespace

void appendBase64(std::string& out, std::string_view bytes)
{
    static constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t at = out.size(), i = 0;
    out.resize(at + bytes.size() / 3 * 4);
    for (; i + 3 <= bytes.size(); i += 3, at += 4) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out[at] = Alphabet[v >> 18];
        out[at + 1] = Alphabet[(v >> 12) & 63];
        out[at + 2] = Alphabet[(v >> 6) & 63];
        out[at + 3] = Alphabet[v & 63];
    }
    if (const auto rest = bytes.size() - i; rest > 0) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += {Alphabet[v >> 18], Alphabet[(v >> 12) & 63], rest == 2 ? Alphabet[(v >> 6) & 63] : '=', '='};
    }
}

Base64FileReader::Base64FileReader(const std::string& path) : path_(path)
{
    file_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file_ < 0)
        throw errorFromErrno(errno, path);
    struct stat status {};
    const int error = ::fstat(file_, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
    if (error) {
        ::close(file_);
        throw errorFromErrno(error, path);
    }
    size_ = static_cast<std::int64_t>(status.st_size);
}

Base64FileReader::~Base64FileReader() { ::close(file_); }

std::int64_t Base64FileReader::encodedSize() const
{
    const std::int64_t characters = (size_ + 2) / 3 * 4;
    const std::int64_t lines = (characters + 75) / 76;
    return characters + (lines > 0 ? 2 * (lines - 1) : 0);
}

std::size_t Base64FileReader::read(char* buffer, std::size_t size)
{
    std::size_t filled = 0;
    while (filled < size && (given_ < encoded_.size() || encodeMore())) {
        const std::size_t piece = std::min(size - filled, encoded_.size() - given_);
        std::memcpy(buffer + filled, encoded_.data() + given_, piece);
        given_ += piece;
        filled += piece;
    }
    return filled;
}

void Base64FileReader::rewind()
{
    if (::lseek(file_, 0, SEEK_SET) != 0)
        throw errorFromErrno(errno, path_);
    encodedBytes_ = 0;
    encoded_.clear();
    given_ = 0;
}

// The next piece of the file, encoded; false at its end.
bool Base64FileReader::encodeMore()
{
    std::vector<char> piece(static_cast<std::size_t>(std::min<std::int64_t>(PieceBytes, size_ - encodedBytes_)));
    for (std::size_t got = 0; got < piece.size();) {
        const ssize_t done = ::read(file_, piece.data() + got, piece.size() - got);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)  // the file shrank since it was opened: what it held then is gone
            throw errorFromErrno(done < 0 ? errno : EIO, path_);
        got += static_cast<std::size_t>(done);
    }
    encoded_.clear();
    given_ = 0;
    for (std::size_t line = 0; line < piece.size(); line += LineBytes) {
        if (encodedBytes_ > 0 || line > 0)
            encoded_ += "\r\n";
        appendBase64(encoded_, std::string_view(piece.data(), piece.size()).substr(line, LineBytes));
    }
    encodedBytes_ += static_cast<std::int64_t>(piece.size());
    return !piece.empty();
}

}  // namespace zlt::mail
