// What the bytes of a command line mean: well-formed UTF-8 as a whole is
// UTF-8, anything else the host's code page, for the two pages shops use.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zlt;

TEST(CommandLine, WellFormedUtf8IsUtf8AndAnythingElseTheHostsCodePage)
{
    const struct {
        std::vector<const char*> arguments;
        std::string in1252, in850;
    } cases[] = {
        {{}, "", ""},
        {{"C:\\ZLT\\,STOCK.DIC,STOCK"}, "C:\\ZLT\\,STOCK.DIC,STOCK", "C:\\ZLT\\,STOCK.DIC,STOCK"},
        {{"Jane", "Citizen"}, "Jane Citizen", "Jane Citizen"},
        {{"\xC2\xA3 Caf\xC3\xA9"}, "£ Café", "£ Café"},      // UTF-8 from a Linux shell
        {{"Caf\xE9"}, "Café", "CafÚ"},                       // the host's bytes in 1252
        {{"Caf\x82 \x9C"}, "Caf‚ œ", "Café £"},               // and in 850
        {{"Caf\xC3\xA9", "Caf\xE9"}, "CafÃ© Café", "Caf├® CafÚ"},  // one rule for the whole line
        {{"\xC0\xAF"}, "À¯", "└»"},                          // an overlong form is no UTF-8
    };
    const CodePage windows(1252), dos(850);
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"program"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const int argc = static_cast<int>(argv.size());
        EXPECT_EQ(argumentText(argc, argv.data(), windows), c.in1252);
        EXPECT_EQ(argumentText(argc, argv.data(), dos), c.in850);
    }
}
