#pragma once
// Linux paths cut and joined at '/', the one rule for every place that needs
// a file's folder or name.
#include <string>
#include <string_view>

namespace zlt {

// "/a/b/c" gives "/a/b", "/c" gives "/", "c" gives "" (no folder named).
std::string parentFolder(std::string_view path);

// "/a/b/c" gives "c", "c" gives "c".
std::string fileNameOf(std::string_view path);

// "a" and "b" give "a/b", as do "a/" and "b"; "" and "b" give "b".
std::string joinPath(std::string_view folder, std::string_view name);

// The same two in place, for a path built up name by name.
void cutToParentFolder(std::string& path);
void appendName(std::string& folder, std::string_view name);

}  // namespace zlt
