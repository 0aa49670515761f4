#include "platform/print/pdf/stream_compressor.h"

#include "platform/run_time_error.h"

namespace zlt::pdf {

namespace {

[[noreturn]] void outOfMemory()
{
    throw RunTimeError(error_number::PrinterError, "Printer error: out of memory compressing a page");
}

}  // namespace

StreamCompressor::~StreamCompressor()
{
    if (ready_)
        deflateEnd(&stream_);
}

std::string_view StreamCompressor::compress(std::string_view content)
{
    if (!ready_) {
        if (deflateInit(&stream_, Z_BEST_SPEED) != Z_OK)
            outOfMemory();
        ready_ = true;
    }
    // Reset before rather than after, so a page left half done by a failure
    // does not spoil the next.
    deflateReset(&stream_);
    const uLong bound = deflateBound(&stream_, static_cast<uLong>(content.size()));
    if (packed_.size() < bound)
        packed_.resize(bound);
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream_.avail_in = static_cast<uInt>(content.size());
    stream_.next_out = packed_.data();
    stream_.avail_out = static_cast<uInt>(packed_.size());
    // The bound holds the whole stream, so one call finishes it.
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END)
        outOfMemory();
    return {reinterpret_cast<const char*>(packed_.data()), static_cast<size_t>(stream_.total_out)};
}

}  // namespace zlt::pdf
