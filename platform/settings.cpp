#include "platform/settings.h"

namespace zlt {

std::span<const SettingName> settingNames()
{
    static const SettingName names[] = {
        {"HOME", &Settings::home, false},
        {"PATH", &Settings::path, false},
        {"ZLT_DRIVES", &Settings::drives, true},
        {"ZLT_CODEPAGE", &Settings::codePage, true},
        {"ZLT_REGISTRY", &Settings::registry, true},
        {"REPVIEW_PRINTER", &Settings::printer, true},
        {"PAPERSIZE", &Settings::paperSize, true},
        {"TABULO_WORKBOOKS", &Settings::workbooks, true},
        {"DISPLAY", &Settings::display, false},
        {"WAYLAND_DISPLAY", &Settings::waylandDisplay, false},
        {"QT_QPA_PLATFORM", &Settings::qtPlatform, false},
        {"ZLT_MAIL_CAFILE", &Settings::mailCaFile, true},
        {"XDG_CONFIG_HOME", &Settings::configHome, false},
        {"LC_ALL", &Settings::allLocale, false},
        {"LC_TIME", &Settings::timeLocale, false},
        {"LANG", &Settings::language, false},
    };
    return names;
}

Settings settingsFromEnvironment(const char* const* environment, Settings base)
{
    for (const char* const* entry = environment; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos || equals + 1 == text.size())
            continue;
        for (const SettingName& setting : settingNames())
            if (text.substr(0, equals) == setting.name)
                base.*setting.field = std::string(text.substr(equals + 1));
    }
    return base;
}

NamedLocale timeLocaleOf(const Settings& settings)
{
    if (!settings.allLocale.empty())
        return {"LC_ALL", settings.allLocale};
    if (!settings.timeLocale.empty())
        return {"LC_TIME", settings.timeLocale};
    if (!settings.language.empty())
        return {"LANG", settings.language};
    return {};
}

std::string expandHome(const std::string& value, const std::string& home)
{
    if (value == "~" || value.rfind("~/", 0) == 0) {
        const std::string base = home.empty() ? std::string("/") : home;
        const std::string rest = value.size() > 2 ? value.substr(2) : std::string();
        return rest.empty() ? base : (base.back() == '/' ? base : base + "/") + rest;
    }
    return value;
}

}  // namespace zlt
