#include "platform/linux_path.h"

namespace zlt {

std::string parentFolder(std::string_view path)
{
    std::string folder(path);
    cutToParentFolder(folder);
    return folder;
}

void cutToParentFolder(std::string& path)
{
    const std::size_t slash = path.rfind('/');
    path.resize(slash == std::string::npos ? 0 : slash == 0 ? 1 : slash);
}

std::string fileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    appendName(path, name);
    return path;
}

void appendName(std::string& folder, std::string_view name)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    folder += name;
}

}  // namespace zlt
