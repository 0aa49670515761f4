#include "platform/file_system.h"

#include "platform/run_time_error.h"
#include "platform/linux_path.h"

namespace zlt {

std::string readAll(InputFile& file)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    char chunk[65536];
    for (std::size_t got; (got = file.read(chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, got);
    return bytes;
}

void refuseNulInPath(const std::string& path)
{
    const std::size_t nul = path.find('\0');
    if (nul != std::string::npos)
        throw RunTimeError(error_number::BadFileName,
                           "Bad file name or number (a NUL byte after " + path.substr(0, nul) + ")");
}

void FileSystem::replaceContent(const std::string& path, std::string_view bytes)
{
    if (status(path).kind == EntryKind::File && !mayWrite(path))
        throw RunTimeError(error_number::PermissionDenied, "Permission denied (" + path + ")");
    // A name of its own beside the file: a name another writer took is
    // skipped, never overwritten.
    const std::string folder = parentFolder(path), name = fileNameOf(path);
    std::unique_ptr<OutputFile> out;
    std::string temporary;
    for (int attempt = 1; !out; ++attempt) {
        temporary = joinPath(folder, "." + name + "~" + std::to_string(attempt) + ".tmp");
        try {
            out = openWrite(temporary, WriteMode::CreateNew);
        } catch (const RunTimeError& error) {
            if (error.number() != error_number::FileAlreadyExists || attempt == 100)
                throw;
        }
    }
    try {
        out->write(bytes);
        out->commit();
        out.reset();
        move(temporary, path);
    } catch (...) {
        out.reset();
        try {
            remove(temporary);
        } catch (const RunTimeError&) {
        }
        throw;
    }
}

}  // namespace zlt
