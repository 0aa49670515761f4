#pragma once
// Every setting of the Linux side, read once by a program's main (from the
// settings files and the environment) and handed to the backends that need
// it. Program code never reads either itself, so a test states its settings
// in one place.
#include <span>
#include <string>
#include <string_view>

namespace zlt {

struct Settings {
    std::string home;            // HOME: "~/" in ZLT_DRIVES, the default folders, ~/.netrc
    std::string path;            // PATH: where the desktop opener is looked for
    std::string drives;          // ZLT_DRIVES: "C=/srv/zlt-c;F=/mnt/f"; empty: "C=~/.dosemu/drive_c"
    std::string codePage;        // ZLT_CODEPAGE: "1252" (empty), "437", "850" ...
    std::string registry;        // ZLT_REGISTRY: the .reg file; empty: ~/.config/zlt/user.reg
    std::string printer;         // REPVIEW_PRINTER: a CUPS printer or "pdf:<folder>"; empty: the default
    std::string paperSize;       // PAPERSIZE: a4, letter, legal, a5; empty: the machine's paper (see readSystemSettings)
    std::string workbooks;       // TABULO_WORKBOOKS: empty: ~/Documents/Workbooks
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string qtPlatform;      // QT_QPA_PLATFORM: offscreen is chosen when no display answers
    std::string mailCaFile;      // ZLT_MAIL_CAFILE: certificates to check the SMTP server by; empty: the system's
    std::string configHome;      // XDG_CONFIG_HOME: where the user's zlt/zlt.conf is; empty: ~/.config
    std::string allLocale;       // LC_ALL
    std::string timeLocale;      // LC_TIME
    std::string language;        // LANG
};

// Each setting's variable name and field. `inFiles`: a settings file may set
// it too; the home, search path, display and configuration folder belong to
// the login session and come from the environment alone.
struct SettingName {
    std::string_view name;
    std::string Settings::*field;
    bool inFiles;
};
std::span<const SettingName> settingNames();

// The locale dates and times are written in, and the variable that names
// it: LC_ALL, else LC_TIME, else LANG, as the C library chooses; both
// empty when none is set.
struct NamedLocale {
    std::string variable;
    std::string name;
};
NamedLocale timeLocaleOf(const Settings& settings);

// The settings in an environment block ("NAME=value" strings, ending in a
// null pointer, as main is given) over `base` (what the settings files say):
// a variable that is set replaces the base's value. Unset and empty are the same.
Settings settingsFromEnvironment(const char* const* environment, Settings base = {});

// "~" or "~/..." in a setting means the home folder.
std::string expandHome(const std::string& value, const std::string& home);

}  // namespace zlt
