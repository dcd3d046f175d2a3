#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/adapter/AdapterFixture.h"

namespace {

// Every part of the payload says which save it came from, so a torn value shows.
VuvProfile Generation(uint32_t n)
{
    VuvProfile p{};
    strcpy(p.ssid, "Home");
    memset(p.passphrase, 'a' + n % 26, 63);
    memset(p.pmk, static_cast<uint8_t>(n), sizeof p.pmk);
    memset(p.reserved, static_cast<uint8_t>(n >> 8), sizeof p.reserved);
    p.mixedPreference = n;
    return p;
}

bool Consistent(const VuvProfile& p)
{
    VuvProfile expected = Generation(p.mixedPreference);
    return memcmp(&p, &expected, sizeof p) == 0;
}

// Ends the writer whatever the test's outcome.
struct CKillOnExit {
    pid_t pid;
    ~CKillOnExit()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

using ProfileStoreCrashTest = AdapterFixture;

// The store is opened in the child only: a database connection must never
// cross a fork. The parent opens it once the writer is gone.
TEST_F(ProfileStoreCrashTest, WriterKilledMidStreamLeavesAWholeProfile)
{
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
        CNoSharingService noSharing;
        CAdapterWirelessZadidar store(silent, {childClock, system, own, none, launcher, noSharing});
        for (uint32_t i = 1;; ++i) {
            store.SaveProfile("Profile", Generation(i));
            if (i == 20 && write(ready[1], "x", 1) != 1)
                _exit(2);
        }
    }
    CKillOnExit guard{writer};
    close(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1); // twenty saves done, more under way
    close(ready[0]);
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    guard.pid = -1;
    ASSERT_TRUE(WIFSIGNALED(status));

    VuvProfile loaded{};
    ASSERT_TRUE(adapter->LoadProfile("Profile", loaded));
    EXPECT_TRUE(Consistent(loaded));
    EXPECT_GE(loaded.mixedPreference, 20u);
}

} // namespace
