// What a program reads from outside: the environment, the drive map and the code page settings.
#include "platform/code_page.h"
#include "platform/drive_map.h"
#include "platform/settings.h"
#include <gtest/gtest.h>

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
