#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every test executable starts here: before any test runs, the state, runtime
// and home folders point below the build tree, so a test that forgot to make
// its own temporary folder still never touches the user's real state.
int main(int argc, char** argv)
{
    const std::string home = ZARNWELL_TEST_HOME;
    for (const char* folder : {"state", "run", "config"}) {
        std::filesystem::create_directories(home + "/" + folder);
        // A runtime folder others can read is refused (Qt then makes its own in /tmp).
        std::filesystem::permissions(home + "/" + folder, std::filesystem::perms::owner_all);
    }
    setenv("HOME", home.c_str(), 1);
    setenv("ZARNWELL_STATE_DIR", (home + "/state").c_str(), 1);
    setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/run").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ZARNWELL_BIN_DIR", ZARNWELL_BIN_DIR, 1);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
