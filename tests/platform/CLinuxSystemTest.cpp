#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CLinuxSystem.h"
#include "tests/support/SavedEnvironment.h"
#include "tests/support/TempDir.h"

namespace {

class CLinuxSystemTest : public ::testing::Test {
protected:
    CSavedEnvironment environment{"LC_ALL", "LC_MESSAGES", "LANG", "PATH"};
    CTempDir temp;
    CLinuxSystem system;
};

TEST_F(CLinuxSystemTest, LocaleIdFromTheEnvironment)
{
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        uint32_t id;
    } cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", 2052},
        {nullptr, nullptr, "zh_TW.Big5", 1028},
        {nullptr, nullptr, "zh_HK", 3076},
        {nullptr, nullptr, "en_US.UTF-8", 1033},
        {nullptr, nullptr, "en_GB.ISO-8859-1", 2057},
        {nullptr, nullptr, "de_DE.UTF-8@euro", 1031},
        {nullptr, nullptr, "fr_FR", 1036},
        {nullptr, nullptr, "ja_JP.eucJP", 1041},
        {nullptr, nullptr, "ko_KR.UTF-8", 1042},
        {nullptr, nullptr, "es_ES.UTF-8", 3082},
        {nullptr, nullptr, "it_IT", 1040},
        {nullptr, nullptr, "pt_BR.UTF-8", 1046},
        {nullptr, nullptr, "ru_RU.KOI8-R", 1049},
        {nullptr, nullptr, "de_LU.UTF-8", 1031}, // the language's main locale
        {nullptr, nullptr, "zh", 2052},
        {nullptr, nullptr, "xx_YY", 1033},
        {nullptr, nullptr, "C", 1033},
        {nullptr, nullptr, "POSIX", 1033},
        {nullptr, nullptr, "C.UTF-8", 1033},
        {nullptr, nullptr, nullptr, 1033},
        {"ja_JP", "de_DE", "fr_FR", 1041},
        {"", "de_DE", "fr_FR", 1031},
        {nullptr, "", "fr_FR", 1036},
    };
    for (const Case& c : cases) {
        auto set = [](const char* name, const char* value) {
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        };
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_EQ(system.DefaultLocaleId(), c.id)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST_F(CLinuxSystemTest, RelaunchGoesThroughPkexecWithoutShell)
{
    // A stand-in pkexec reports its folder and arguments, one a line, into a
    // pipe the test reads.
    std::string report = temp.File("report");
    ASSERT_EQ(mkfifo(report.c_str(), 0600), 0);
    std::filesystem::create_directories(temp.File("bin"));
    std::filesystem::create_directories(temp.File("work dir"));
    std::string script = temp.File("bin/pkexec");
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > '" << report << "'\n";
    chmod(script.c_str(), 0755);
    setenv("PATH", temp.File("bin").c_str(), 1);

    system.RelaunchElevated("/opt/zarnwell/Zarnwell", {"hide", "a b", "$(touch x);`id`"}, temp.File("work dir"));

    int fd = open(report.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::string lines;
    char buffer[256];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        lines.append(buffer, got);
    close(fd);
    EXPECT_EQ(lines, temp.File("work dir") + "\n/opt/zarnwell/Zarnwell\nhide\na b\n$(touch x);`id`\n");
    EXPECT_FALSE(std::filesystem::exists(temp.File("work dir/x")));
}

} // namespace
