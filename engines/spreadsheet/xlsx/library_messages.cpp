#include "engines/spreadsheet/xlsx/library_messages.h"

#include <cstdlib>
#include <exception>

#include "platform/run_time_error.h"

namespace zlt::xlsx {

LibraryMessages::LibraryMessages() : stream_(open_memstream(&text_, &length_))
{
    if (stream_ == nullptr)
        throw RunTimeError(error_number::OutOfMemory);
}

LibraryMessages::~LibraryMessages()
{
    std::fclose(stream_);
    std::free(text_);
}

LibraryMessages::Scope::Scope(LibraryMessages& messages)
    : messages_(messages), standardError_(stderr), exceptions_(std::uncaught_exceptions())
{
    stderr = messages_.stream_;
}

LibraryMessages::Scope::~Scope()
{
    std::fflush(messages_.stream_);
    stderr = standardError_;
    if (messages_.length_ == 0)
        return;
    if (std::uncaught_exceptions() == exceptions_)
        std::fwrite(messages_.text_, 1, messages_.length_, stderr);
    std::fseek(messages_.stream_, 0, SEEK_SET);
    std::fflush(messages_.stream_);
}

}  // namespace zlt::xlsx
