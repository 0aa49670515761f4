#pragma once
// Deflates the content streams of a whole print run through one zlib stream.
// Setting a stream up allocates about 300 KB, which the C library hands back
// to the kernel when it is freed: done per page, that cost more than drawing
// and writing the page. The compressed bytes go into one buffer that only
// ever grows, so a page costs no large allocation either.
#include <string_view>
#include <vector>
#include <zlib.h>

namespace zlt::pdf {

class StreamCompressor {
public:
    StreamCompressor() = default;
    ~StreamCompressor();
    StreamCompressor(const StreamCompressor&) = delete;
    StreamCompressor& operator=(const StreamCompressor&) = delete;

    // The content in zlib format (FlateDecode), valid until the next call.
    // Throws RunTimeError PrinterError when zlib has no memory.
    std::string_view compress(std::string_view content);

private:
    z_stream stream_{};
    bool ready_ = false;  // set up at the first page, so a run that prints nothing allocates nothing
    std::vector<Bytef> packed_;
};

}  // namespace zlt::pdf
