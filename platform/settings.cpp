#include "platform/settings.h"

#include <string_view>
#include <utility>

namespace zlt {

Settings settingsFromEnvironment(const char* const* environment)
{
    Settings s;
    const std::pair<std::string_view, std::string*> names[] = {
        {"HOME", &s.home},
        {"PATH", &s.path},
        {"ZLT_DRIVES", &s.drives},
        {"ZLT_CODEPAGE", &s.codePage},
        {"ZLT_REGISTRY", &s.registry},
        {"REPVIEW_PRINTER", &s.printer},
        {"PAPERSIZE", &s.paperSize},
        {"TABULO_WORKBOOKS", &s.workbooks},
        {"DISPLAY", &s.display},
        {"WAYLAND_DISPLAY", &s.waylandDisplay},
        {"QT_QPA_PLATFORM", &s.qtPlatform},
        {"ZLT_MAIL_CAFILE", &s.mailCaFile},
        {"LC_ALL", &s.allLocale},
        {"LC_TIME", &s.timeLocale},
        {"LANG", &s.language},
    };
    for (const char* const* entry = environment; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        for (const auto& [name, field] : names)
            if (text.substr(0, equals) == name)
                *field = std::string(text.substr(equals + 1));
    }
    return s;
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
