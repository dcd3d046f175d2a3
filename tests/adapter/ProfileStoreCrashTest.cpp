#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/adapter/AdapterFixture.h"

namespace {

// Every byte of the payload says which save it came from, so a torn value shows.
VuvProfile Generation(uint8_t n)
{
    VuvProfile p{};
    strcpy(p.ssid, "Home");
    memset(p.passphrase, 'a' + n % 26, 63);
    memset(p.pmk, n, sizeof p.pmk);
    memset(p.reserved, n, sizeof p.reserved);
    p.mixedPreference = n;
    return p;
}

bool Consistent(const VuvProfile& p)
{
    uint8_t n = p.pmk[0];
    VuvProfile expected = Generation(n);
    return memcmp(&p, &expected, sizeof p) == 0;
}

using ProfileStoreCrashTest = AdapterFixture;

TEST_F(ProfileStoreCrashTest, WriterKilledMidStreamLeavesAWholeProfile)
{
    adapter->SaveProfile("Profile", Generation(0));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        // Only the registry in the child: no threads of the parent exist here.
        close(ready[0]);
        CRegistry own(state.Path());
        CScriptedLibrary silent;
        CFixedSystemAdapters none;
        CMockClock childClock;
        CAdapterWirelessZadidar store(silent, childClock, own, none);
        for (int i = 1;; ++i) {
            store.SaveProfile("Profile", Generation(static_cast<uint8_t>(i)));
            if (i == 20 && write(ready[1], "x", 1) != 1)
                _exit(2);
        }
    }
    close(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1); // twenty saves done, more under way
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    VuvProfile loaded{};
    ASSERT_TRUE(adapter->LoadProfile("Profile", loaded));
    EXPECT_TRUE(Consistent(loaded));
    EXPECT_GE(loaded.pmk[0], 20);
}

} // namespace
