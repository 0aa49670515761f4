// What a program reads from outside: the settings files, the environment, the drive map and the code page settings.
#include "platform/code_page.h"
#include "platform/drive_map.h"
#include "platform/posix/system_settings.h"
#include "platform/settings.h"
#include "platform/settings_file.h"
#include "tests/support/temp_dir.h"
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
#include <sstream>

using namespace zlt;

TEST(Settings, EachVariableHasItsField)
{
    const char* environment[] = {"HOME=/h", "PATH=/p", "ZLT_DRIVES=C=/c", "ZLT_CODEPAGE=437", "ZLT_REGISTRY=/r",
                                 "REPVIEW_PRINTER=pdf:/o", "PAPERSIZE=a5", "TABULO_WORKBOOKS=/w", "DISPLAY=:1",
                                 "WAYLAND_DISPLAY=w", "QT_QPA_PLATFORM=q", "DISPLAY", "HOMEDIR=/x", "XPATH=/x", nullptr};
    const Settings s = settingsFromEnvironment(environment);
    EXPECT_EQ((std::vector<std::string>{s.home, s.path, s.drives, s.codePage, s.registry, s.printer, s.paperSize,
                                        s.workbooks, s.display, s.waylandDisplay, s.qtPlatform}),
              (std::vector<std::string>{"/h", "/p", "C=/c", "437", "/r", "pdf:/o", "a5", "/w", ":1", "w", "q"}));
}

TEST(SettingsFile, EachLineIsTakenOrToldAndSkipped)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"ZLT_DRIVES=C=/c;F=/f\nREPVIEW_PRINTER=pdf:/o\n", {}},
        {"# a comment\n\n  \t\r\n  # indented\r\n ZLT_DRIVES = C=/c;F=/f \r\nREPVIEW_PRINTER='pdf:/o'", {}},
        {"ZLT_DRIVES=\"C=/c;F=/f\"\nPRINTER=lp\nREPVIEW_PRINTER pdf:/x\n=x\n1X=y\nHOME=/h\nREPVIEW_PRINTER=pdf:/o",
         {"/etc/zlt/zlt.conf:2: unknown setting PRINTER; the line is ignored",
          "/etc/zlt/zlt.conf:3: not a NAME=value line; the line is ignored",
          "/etc/zlt/zlt.conf:4: not a NAME=value line; the line is ignored",
          "/etc/zlt/zlt.conf:5: not a NAME=value line; the line is ignored",
          "/etc/zlt/zlt.conf:6: HOME is taken from the environment only; the line is ignored"}},
    };
    for (const auto& [text, problems] : cases) {
        Settings settings;
        settings.home = "/home/u";
        std::vector<std::string> told;
        readSettingsFile(text, "/etc/zlt/zlt.conf", settings, told);
        EXPECT_EQ(told, problems) << text;
        EXPECT_EQ((std::vector<std::string>{settings.drives, settings.printer, settings.home}),
                  (std::vector<std::string>{"C=/c;F=/f", "pdf:/o", "/home/u"})) << text;  // the rest of the file counts
    }
}

// The environment overrides the user's file, which overrides the machine's.
TEST(SettingsFile, EnvironmentOverUserOverMachine)
{
    zlt::testing::TempDir folder;
    const std::string machine = folder.write("etc/zlt.conf", "ZLT_DRIVES=C=/m\nZLT_CODEPAGE=850\nPAPERSIZE=a5\nBAD\n");
    const std::string xdgHome = "XDG_CONFIG_HOME=" + (folder / "xdg");
    struct Case {
        std::vector<const char*> environment;
        std::string user;
        std::vector<std::string> drivesCodePagePaper;
    };
    const Case cases[] = {
        {{}, "", {"C=/m", "850", "a5"}},
        {{}, "ZLT_CODEPAGE=437\nZLT_DRIVES=", {"", "437", "a5"}},  // empty: back to the default
        {{"ZLT_CODEPAGE=1252", "ZLT_DRIVES="}, "ZLT_CODEPAGE=437\n", {"C=/m", "1252", "a5"}},  // unset in the environment
    };
    for (const Case& c : cases) {
        folder.write("xdg/zlt/zlt.conf", c.user);
        std::vector<const char*> environment = c.environment;
        environment.insert(environment.end(), {xdgHome.c_str(), nullptr});
        std::ostringstream warnings;
        const Settings s = readSystemSettings("repview", environment.data(), machine, warnings);
        EXPECT_EQ((std::vector<std::string>{s.drives, s.codePage, s.paperSize}), c.drivesCodePagePaper) << c.user;
        EXPECT_EQ(warnings.str(), "repview: setting: " + machine + ":4: not a NAME=value line; the line is ignored\n");
    }
}

TEST(Settings, TheTimeLocaleIsNamedByLcAllElseLcTimeElseLang)
{
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"LANG=en_AU.UTF-8", "LC_TIME=de_DE.UTF-8", "LC_ALL=fr_FR.UTF-8"}, "LC_ALL=fr_FR.UTF-8"},
        {{"LANG=en_AU.UTF-8", "LC_TIME=de_DE.UTF-8", "LC_ALL="}, "LC_TIME=de_DE.UTF-8"},
        {{"LANG=en_AU.UTF-8"}, "LANG=en_AU.UTF-8"}, {{}, "="},
    };
    for (auto [environment, named] : cases) {
        environment.push_back(nullptr);
        const NamedLocale locale = timeLocaleOf(settingsFromEnvironment(environment.data()));
        EXPECT_EQ(locale.variable + "=" + locale.name, named);
    }
}

TEST(Settings, DriveMapAndCodePage)
{
    const DriveMap map = DriveMap::parse(" c = /srv/c ;F:=~/shop;G=~;", "/home/u");
    EXPECT_EQ(map.drives(), (std::map<char, std::string>{{'C', "/srv/c"}, {'F', "/home/u/shop"}, {'G', "/home/u"}}));
    EXPECT_EQ(DriveMap::parse(" ", "/home/u").drives(), (std::map<char, std::string>{{'C', "/home/u/.dosemu/drive_c"}}));
    EXPECT_EQ(CodePage::fromSetting("").number(), 1252);
    EXPECT_EQ(CodePage::fromSetting("cp850").number(), 850);
    const std::pair<std::string, const char*> bad[] = {
        {"ZLT_DRIVES", "C"}, {"ZLT_DRIVES", "CC=/x"}, {"ZLT_DRIVES", "1=/x"}, {"ZLT_DRIVES", "C="}, {"ZLT_DRIVES", "=/x"},
        {"ZLT_DRIVES", "C=/x;D"}, {"ZLT_CODEPAGE", "latin"}, {"ZLT_CODEPAGE", "99999"}, {"ZLT_CODEPAGE", "12a"},
        {"ZLT_CODEPAGE", "cp"}, {"ZLT_CODEPAGE", "123456"},
    };
    for (const auto& [variable, value] : bad) {
        try {
            variable == "ZLT_DRIVES" ? (void)DriveMap::parse(value, "/h") : (void)CodePage::fromSetting(value);
            ADD_FAILURE() << variable << "=" << value << " accepted";
        } catch (const std::invalid_argument& e) {  // stops the program with a line that names the variable
            EXPECT_NE(std::string(e.what()).find(variable), std::string::npos) << e.what();
        }
    }
    const std::tuple<int, unsigned char, char32_t> characters[] = {
        {1252, 0x80, U'€'}, {1252, 0x81, 0x81}, {437, 0x82, U'é'}, {437, 0xC4, U'─'}, {850, 0x9C, U'£'}, {850, 0xD5, U'ı'},
        {437, 0x0C, 0x0C}, {437, 0x7F, 0x7F},  // controls stay controls; undefined bytes are kept
    };
    for (const auto& [page, byte, expected] : characters)
        EXPECT_EQ(CodePage(page).toUnicode(byte), expected) << page << " byte " << int(byte);
    EXPECT_EQ(CodePage(1252).fromUtf8("Café € 日本 A\xFF" "B\xE2\x82"), "Caf\xE9 \x80 ?? A?B??");  // malformed: '?' a byte
}

// Started with no HOME (an emulator's bare shell, a service), a program still
// finds the user's files: under the home the password database gives.
TEST(SettingsFile, NoHomeInTheEnvironmentIsTheUsersHome)
{
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    const char* bare[] = {nullptr};
    std::ostringstream warnings;
    EXPECT_EQ(readSystemSettings("repview", bare, "/nonexistent/zlt.conf", warnings).home, user->pw_dir);
    const char* withHome[] = {"HOME=/elsewhere", nullptr};
    EXPECT_EQ(readSystemSettings("repview", withHome, "/nonexistent/zlt.conf", warnings).home, "/elsewhere");
}
