#pragma once
// DOS drive letters mapped to Linux folders (the ZLT_DRIVES setting).
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zlt {

class DriveMap {
public:
    // "C=/srv/dos/c;F=/mnt/shop": letter=directory pairs separated by ';';
    // empty: "C=~/.dosemu/drive_c". "~/" means the home folder. Throws
    // std::invalid_argument naming ZLT_DRIVES on a bad value.
    static DriveMap parse(std::string_view setting, const std::string& home);

    std::optional<std::string> root(char letter) const;
    const std::map<char, std::string>& drives() const { return drives_; }

private:
    std::map<char, std::string> drives_;
};

}  // namespace zlt
