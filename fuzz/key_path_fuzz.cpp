// Any text as a registry key path (a .reg file's key line, a lookup): a
// path that splits joins back into one that splits the same way, within
// the registry's depth, its root in full.
#include "common/registry/key_path.h"
#include "fuzz/fuzz_input.h"

using namespace zlt::registry;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view path = zlt::fuzz::textOf(data, size);
    const auto names = splitKeyPath(path);
    if (!names)
        return 0;
    FUZZ_CHECK(!names->empty() && names->size() <= MaxKeyDepth);
    FUZZ_CHECK(names->front().starts_with("HKEY_"));
    for (const std::string& name : *names)
        FUZZ_CHECK(!name.empty() && name.find('\\') == std::string::npos && foldName(foldName(name)) == foldName(name));
    FUZZ_CHECK(splitKeyPath(joinKeyPath(*names)) == names);
    return 0;
}
