// Any text as a ZLT_DRIVES setting (the first line) and a path the host
// gives (the rest), resolved over an in-memory tree as every program
// resolves one: a bad setting or an unmapped drive is refused with its own
// error, and a path resolved once names the same file when resolved again.
#include <stdexcept>

#include "fuzz/fuzz_input.h"
#include "platform/host_files.h"
#include "platform/run_time_error.h"
#include "platform/testing/memory_file_system.h"

namespace {

std::string withoutRepeatedSlashes(std::string path)
{
    for (std::size_t at; (at = path.find("//")) != std::string::npos;)
        path.erase(at, 1);
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// A drive's folder is used as the setting spells it; resolved again as a
// Linux path it is matched case-blind. Only a folder named without "." or
// "..", and as the tree spells it where it is there, reads back the same.
// The in-memory tree knows a folder by one spelling: "/srv//c" is no
// "/srv/c" to it, as it is to the system.
bool isPlainFolder(zlt::HostFiles& files, const std::string& root)
{
    const std::string path = "/" + root + "/";
    return root.starts_with('/') && path.find("/./") == std::string::npos && path.find("/../") == std::string::npos &&
           root.find("//") == std::string::npos && withoutRepeatedSlashes(files.resolve(root)) == withoutRepeatedSlashes(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zlt::CodePage dos(437);
    std::string_view hostPath = zlt::fuzz::textOf(data, size);
    const std::string_view setting = zlt::fuzz::takeLine(hostPath);
    zlt::DriveMap drives;
    try {
        drives = zlt::DriveMap::parse(setting, "/home/shop");
    } catch (const std::invalid_argument&) {
        return 0;
    }
    zlt::testing::MemoryFileSystem tree;
    tree.addFile("/srv/c/ZLT/RPT", "report");
    tree.addFile("/srv/c/ZLT/EMAIL/WEEKLY.TXT", "mail");
    tree.addFile("/srv/c/ZLT/\x8E" "BER.DIC", "fields");  // a name in the host's code page
    tree.addFile("/home/shop/.dosemu/drive_c/ZLT/STOCK.DIC", "fields");
    tree.setCurrentDirectory("/srv/c/ZLT/EMAIL");
    zlt::HostFiles files(tree, drives, &dos);
    std::string resolved;
    try {
        resolved = files.resolve(hostPath);
    } catch (const zlt::RunTimeError& error) {
        FUZZ_CHECK(error.number() == zlt::error_number::DeviceUnavailable);
        return 0;
    }
    for (const auto& [letter, root] : drives.drives())
        if (!isPlainFolder(files, root))
            return 0;
    resolved = withoutRepeatedSlashes(resolved);
    FUZZ_CHECK(resolved.starts_with('/') && withoutRepeatedSlashes(files.resolve(resolved)) == resolved);
    return 0;
}
