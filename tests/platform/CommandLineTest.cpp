#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsByTheWindowsRules)
{
    struct Case {
        const char* line;
        Args args;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"ipconfig", {"ipconfig"}},
        {"  ipconfig   /renew  ", {"ipconfig", "/renew"}},
        {"ipconfig /release \"Wi-Fi 2\"", {"ipconfig", "/release", "Wi-Fi 2"}},
        {"ipconfig /release \"\"", {"ipconfig", "/release", ""}},
        {"p a\tb", {"p", "a", "b"}},
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"p \"unterminated arg", {"p", "unterminated arg"}},
        // Backslashes before a quote.
        {"p a\\\"b", {"p", "a\"b"}},             // 1 -> literal quote
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},       // 2 -> one backslash, quote groups
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},        // 3 -> one backslash and a quote
        {"p \"a\\\\\\\\\"", {"p", "a\\\\"}},      // 4 -> two, quote closes
        {"p a\\\\b\\", {"p", "a\\\\b\\"}},        // not before a quote: literal
        {"p \"C:\\Program Files\\\\\" next", {"p", "C:\\Program Files\\", "next"}},
        // The program: quotes group, backslashes are literal.
        {"\"C:\\Program Files\\Zarnwell\\DORAVEZ\" -q", {"C:\\Program Files\\Zarnwell\\DORAVEZ", "-q"}},
        {"C:\\dir\\DORAVEZ -v -ip 192.168.159.1 -range 192.168.159.2-192.168.159.254",
         {"C:\\dir\\DORAVEZ", "-v", "-ip", "192.168.159.1", "-range", "192.168.159.2-192.168.159.254"}},
        {"\"C:\\a b\\\"x y", {"C:\\a b\\x", "y"}},
        {"a\\\"b c", {"a\\b c"}},
        // Nothing a shell would act on.
        {"p $(id) `id` a;b |c >d", {"p", "$(id)", "`id`", "a;b", "|c", ">d"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLineTest, AQuotedArgumentComesBackWhole)
{
    const std::string arguments[] = {
        "Wireless Network Connection 2", "Wi-Fi \"Home\"", "a;b $(reboot) `id` | x", "ends in \\",
        "\\\\server\\share", "back\\\"slash", "", "\"", "\\\\\"",
    };
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        std::vector<std::string> split = SplitCommandLine("ipconfig /release " + QuoteArgument(argument));
        EXPECT_EQ(split, (std::vector<std::string>{"ipconfig", "/release", argument}));
    }
}

} // namespace
