#pragma once
// What the fuzz targets share: the input as text, cut into the pieces a
// reader takes, a file that hands it over in reads of uneven length (as a
// pipe or a file still being written does), and the check that stops the
// run on a broken invariant.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/file_system.h"

// A broken invariant is a finding: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

namespace zlt::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The text up to the first line feed; rest keeps what follows it.
inline std::string_view takeLine(std::string_view& rest)
{
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return line;
}

// Reads of 1, 2 ... `longest` bytes in turn (at most what the caller asks
// for); longest 0: every read as long as asked.
class ChunkedFile : public InputFile {
public:
    ChunkedFile(std::string_view bytes, std::size_t longest) : bytes_(bytes), longest_(longest) {}
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::size_t read(char* buffer, std::size_t size) override
    {
        std::size_t n = std::min(size, bytes_.size() - position_);
        if (longest_ > 0) {
            n = std::min(n, next_);
            next_ = next_ % longest_ + 1;
        }
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t longest_;
    std::size_t next_ = 1;
    std::size_t position_ = 0;
};

}  // namespace zlt::fuzz
