#pragma once
// The library prints [ERROR] and [WARNING] lines of its own on standard
// error, beside the one line a program writes for a failure, and offers no
// switch to stop it. It prints through the C library's stderr stream, which
// glibc lets a program point elsewhere for a while: during each call the
// lines go to memory, and are dropped when the call fails (the program's
// own error tells it) or passed on to standard error when it does not.
#include <cstddef>
#include <cstdio>

namespace zlt::xlsx {

class LibraryMessages {
public:
    LibraryMessages();  // throws RunTimeError (OutOfMemory)
    ~LibraryMessages();
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

    // The library's lines are held back while a Scope lives; an exception
    // leaving the scope drops them.
    class Scope {
    public:
        explicit Scope(LibraryMessages& messages);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        LibraryMessages& messages_;
        std::FILE* standardError_;
        int exceptions_;
    };

private:
    std::FILE* stream_;
    char* text_ = nullptr;
    std::size_t length_ = 0;
};

}  // namespace zlt::xlsx
