#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/CRegistry.h"
#include "platform/CRegistryOwner.h"
#include "tests/support/TempDir.h"

namespace {

const std::string Root = "Software\\Kavlo\\Zarnwell";

class CRegistryTest : public ::testing::Test {
protected:
    CTempDir temp;
};

TEST_F(CRegistryTest, CreateKeyMakesParentsAndComparesWithoutCase)
{
    CRegistry registry(temp.Path());
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, "Software"));
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, Root + "\\Profile"));
    for (const char* path : {"Software", "SOFTWARE\\kavlo", "software\\KAVLO\\zarnwell\\profile", ""})
        EXPECT_TRUE(registry.KeyExists(HiveLocalMachine, path)) << path;
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, "Software\\Kav"));
    EXPECT_FALSE(registry.KeyExists(HiveClassesRoot, "Software"));

    // An existing key keeps the case it was made with.
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "SOFTWARE\\KAVLO\\Other"));
    std::string name;
    ASSERT_TRUE(registry.EnumKey(HiveLocalMachine, "", 0, name));
    EXPECT_EQ(name, "Software");
    ASSERT_TRUE(registry.EnumKey(HiveLocalMachine, "software\\kavlo", 1, name));
    EXPECT_EQ(name, "Other");
}

TEST_F(CRegistryTest, MalformedPathsFail)
{
    CRegistry registry(temp.Path());
    uint32_t number;
    for (const char* path : {"\\Software", "Software\\", "Software\\\\Kavlo", "\\"}) {
        EXPECT_FALSE(registry.CreateKey(HiveLocalMachine, path)) << path;
        EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, path)) << path;
        EXPECT_FALSE(registry.SetNumber(HiveLocalMachine, path, "n", 1)) << path;
        EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, path, "n", number)) << path;
    }
    EXPECT_FALSE(registry.DeleteKey(HiveLocalMachine, ""));
}

TEST_F(CRegistryTest, ValuesRoundTripByKind)
{
    CRegistry registry(temp.Path());
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, Root));
    std::vector<uint8_t> blob = {'M', 'e', 'r', 'q', 0x04, 0x01, 0x00, 0xFF};
    EXPECT_TRUE(registry.SetNumber(HiveLocalMachine, Root, "NetworkMode", 0xDEADBEEF));
    EXPECT_TRUE(registry.SetBinary(HiveLocalMachine, Root, "Profile", blob));
    EXPECT_TRUE(registry.SetBinary(HiveLocalMachine, Root, "Empty", {}));
    EXPECT_TRUE(registry.SetString(HiveLocalMachine, Root, "\xE4\xB8\xAD\xE6\x96\x87 ssid", "caf\xC3\xA9"));
    EXPECT_TRUE(registry.SetString(HiveLocalMachine, Root, "", "default"));

    uint32_t number = 0;
    std::vector<uint8_t> bytes;
    std::string text;
    EXPECT_TRUE(registry.QueryNumber(HiveLocalMachine, "software\\kavlo\\zarnwell", "networkmode", number));
    EXPECT_EQ(number, 0xDEADBEEF);
    EXPECT_TRUE(registry.QueryBinary(HiveLocalMachine, Root, "PROFILE", bytes));
    EXPECT_EQ(bytes, blob);
    EXPECT_TRUE(registry.QueryBinary(HiveLocalMachine, Root, "Empty", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(registry.QueryString(HiveLocalMachine, Root, "\xE4\xB8\xAD\xE6\x96\x87 SSID", text));
    EXPECT_EQ(text, "caf\xC3\xA9");
    EXPECT_TRUE(registry.QueryString(HiveLocalMachine, Root, "", text));
    EXPECT_EQ(text, "default");

    // A value of another kind is not there for the query.
    EXPECT_FALSE(registry.QueryString(HiveLocalMachine, Root, "NetworkMode", text));
    EXPECT_FALSE(registry.QueryBinary(HiveLocalMachine, Root, "NetworkMode", bytes));
    EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, Root, "Profile", number));
    EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, Root, "Missing", number));
    EXPECT_FALSE(registry.QueryNumber(HiveClassesRoot, Root, "NetworkMode", number));

    // Setting a value again may change its kind.
    EXPECT_TRUE(registry.SetString(HiveLocalMachine, Root, "networkMODE", "1"));
    EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, Root, "NetworkMode", number));
    EXPECT_TRUE(registry.QueryString(HiveLocalMachine, Root, "NetworkMode", text));
    EXPECT_EQ(text, "1");
}

TEST_F(CRegistryTest, SettingNeedsAnExistingKey)
{
    CRegistry registry(temp.Path());
    EXPECT_FALSE(registry.SetNumber(HiveLocalMachine, Root, "NetworkMode", 1));
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, Root));
    EXPECT_TRUE(registry.SetNumber(HiveLocalMachine, "", "AtTheTop", 1));
}

TEST_F(CRegistryTest, EnumerationKeepsInsertionOrder)
{
    CRegistry registry(temp.Path());
    const std::string key = Root + "\\Profile\\AutoSave\\ProfileInfo";
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, key));
    for (const char* name : {"zeta", "Alpha", "mid"})
        ASSERT_TRUE(registry.SetBinary(HiveLocalMachine, key, name, {1}));
    ASSERT_TRUE(registry.SetBinary(HiveLocalMachine, key, "ZETA", {2})); // keeps its first place and name
    ASSERT_TRUE(registry.DeleteValue(HiveLocalMachine, key, "alpha"));
    ASSERT_TRUE(registry.SetBinary(HiveLocalMachine, key, "Alpha", {3})); // now the last

    std::vector<std::string> names;
    std::string name;
    for (uint32_t i = 0; registry.EnumValue(HiveLocalMachine, key, i, name); ++i)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"zeta", "mid", "Alpha"}));
    EXPECT_FALSE(registry.DeleteValue(HiveLocalMachine, key, "alpha-missing"));
    EXPECT_FALSE(registry.EnumValue(HiveLocalMachine, key + "\\Nope", 0, name));

    for (const char* sub : {"b", "C", "a"})
        ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, key + "\\" + sub));
    names.clear();
    for (uint32_t i = 0; registry.EnumKey(HiveLocalMachine, key, i, name); ++i)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"b", "C", "a"}));
}

TEST_F(CRegistryTest, DeleteKeyRemovesItsSubtreeOnly)
{
    CRegistry registry(temp.Path());
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "A\\B\\C"));
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "A\\B2"));
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "A\\B]"));
    ASSERT_TRUE(registry.SetNumber(HiveLocalMachine, "A\\B\\C", "n", 1));
    ASSERT_TRUE(registry.SetNumber(HiveLocalMachine, "A\\B2", "n", 2));

    EXPECT_TRUE(registry.DeleteKey(HiveLocalMachine, "a\\b"));
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, "A\\B"));
    EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, "A\\B\\C"));
    EXPECT_TRUE(registry.KeyExists(HiveLocalMachine, "A\\B2"));
    EXPECT_TRUE(registry.KeyExists(HiveLocalMachine, "A\\B]"));
    uint32_t number = 0;
    EXPECT_TRUE(registry.QueryNumber(HiveLocalMachine, "A\\B2", "n", number));
    EXPECT_EQ(number, 2u);
    EXPECT_FALSE(registry.DeleteKey(HiveLocalMachine, "A\\B"));

    // Its values are gone with it, also when the key is made again.
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, "A\\B\\C"));
    EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, "A\\B\\C", "n", number));
}

TEST_F(CRegistryTest, StorePersistsInPrivateFiles)
{
    {
        CRegistry registry(temp.Path());
        ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, Root));
        ASSERT_TRUE(registry.SetNumber(HiveLocalMachine, Root, "NetworkMode", 1));
        ASSERT_TRUE(registry.CreateKey(HiveClassesRoot, "x"));
        // While the connections are open, the journal files are there too.
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
            struct stat info;
            ASSERT_EQ(stat(entry.path().c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0600u) << entry.path();
            ++files;
        }
        EXPECT_GE(files, 6); // two databases, each with its -wal and -shm
    }
    EXPECT_TRUE(std::filesystem::exists(temp.File("local-machine.db")));
    EXPECT_TRUE(std::filesystem::exists(temp.File("classes-root.db")));
    CRegistry again(temp.Path());
    uint32_t number = 0;
    EXPECT_TRUE(again.QueryNumber(HiveLocalMachine, Root, "NetworkMode", number));
    EXPECT_EQ(number, 1u);
}

// A restored backup or a copied home may bring looser files.
TEST_F(CRegistryTest, LooseStoreFilesAreTightenedWhenOpened)
{
    {
        CRegistry registry(temp.Path());
        ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, Root));
    }
    std::ofstream(temp.File("local-machine.db-wal")); // as a crash leaves it
    for (const char* name : {"local-machine.db", "local-machine.db-wal"})
        ASSERT_EQ(chmod(temp.File(name).c_str(), 0644), 0);
    CRegistry registry(temp.Path());
    for (const char* name : {"local-machine.db", "local-machine.db-wal"}) {
        struct stat info;
        ASSERT_EQ(stat(temp.File(name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
    }
    EXPECT_TRUE(registry.KeyExists(HiveLocalMachine, Root));
}

TEST_F(CRegistryTest, StoreFileOfAnotherUserIsNotUsed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    std::ofstream(temp.File("local-machine.db"));
    ASSERT_EQ(chmod(temp.File("local-machine.db").c_str(), 0644), 0);
    ASSERT_EQ(chown(temp.File("local-machine.db").c_str(), 65534, 65534), 0);
    testing::internal::CaptureStderr();
    CRegistry registry(temp.Path());
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(temp.File("local-machine.db") + " belongs to another user"), std::string::npos)
        << message;
    EXPECT_FALSE(registry.CreateKey(HiveLocalMachine, Root));
    EXPECT_TRUE(registry.CreateKey(HiveClassesRoot, "x")); // the other hive's files are this user's
    struct stat info;
    ASSERT_EQ(stat(temp.File("local-machine.db").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(info.st_size, 0);
}

TEST_F(CRegistryTest, UnusableFolderFailsEverything)
{
    for (std::string folder : {std::string(), temp.File("missing")}) {
        CRegistry registry(folder);
        uint32_t number;
        std::string name;
        EXPECT_FALSE(registry.CreateKey(HiveLocalMachine, "A"));
        EXPECT_FALSE(registry.KeyExists(HiveLocalMachine, ""));
        EXPECT_FALSE(registry.SetNumber(HiveLocalMachine, "", "n", 1));
        EXPECT_FALSE(registry.QueryNumber(HiveLocalMachine, "", "n", number));
        EXPECT_FALSE(registry.EnumKey(HiveLocalMachine, "", 0, name));
    }
}

class CFakeOwner : public CRegistryOwner {
public:
    bool Owns(RegistryHive hive, const std::string& key) override
    {
        return hive == HiveClassesRoot && (key == ".htm" || key == ".HTM");
    }
    bool QueryString(RegistryHive, const std::string&, const std::string& name, std::string& out) override
    {
        if (!name.empty())
            return false;
        out = "htmlfile";
        return true;
    }
};

TEST_F(CRegistryTest, OwnedKeysAreReadFromTheOwnerAndNeverWritten)
{
    CFakeOwner owner;
    CRegistry registry(temp.Path());
    registry.AddOwner(&owner);
    std::string text;
    uint32_t number;
    EXPECT_TRUE(registry.QueryString(HiveClassesRoot, ".htm", "", text));
    EXPECT_EQ(text, "htmlfile");
    EXPECT_FALSE(registry.QueryString(HiveClassesRoot, ".htm", "Other", text));
    EXPECT_FALSE(registry.QueryNumber(HiveClassesRoot, ".htm", "", number));
    EXPECT_TRUE(registry.KeyExists(HiveClassesRoot, ".htm"));

    EXPECT_FALSE(registry.CreateKey(HiveClassesRoot, ".htm"));
    EXPECT_FALSE(registry.CreateKey(HiveClassesRoot, ".HTM\\below"));
    EXPECT_FALSE(registry.SetString(HiveClassesRoot, ".htm", "", "evil"));
    EXPECT_FALSE(registry.DeleteValue(HiveClassesRoot, ".htm", ""));
    EXPECT_FALSE(registry.DeleteKey(HiveClassesRoot, ".htm"));
    // The same path in the other hive is the user's.
    EXPECT_TRUE(registry.CreateKey(HiveLocalMachine, ".htm"));

    CRegistry withoutOwner(temp.Path());
    EXPECT_FALSE(withoutOwner.KeyExists(HiveClassesRoot, ".htm"));
    EXPECT_FALSE(withoutOwner.EnumKey(HiveClassesRoot, "", 0, text));
}

TEST_F(CRegistryTest, ThreadsWriteAtOnce)
{
    CRegistry registry(temp.Path());
    ASSERT_TRUE(registry.CreateKey(HiveLocalMachine, Root));
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (uint32_t i = 0; i < 25; ++i) {
                if (!registry.SetNumber(HiveLocalMachine, Root, "t" + std::to_string(t) + "-" + std::to_string(i), i))
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
    std::string name;
    EXPECT_TRUE(registry.EnumValue(HiveLocalMachine, Root, 99, name));
    EXPECT_FALSE(registry.EnumValue(HiveLocalMachine, Root, 100, name));
}

// Processes: the parent holds no open database while its children run, as a
// SQLite connection must not cross a fork.

constexpr int WriterValues = 6;
constexpr size_t WriterValueSize = 12000; // several database pages

std::vector<uint8_t> Generation(uint32_t generation)
{
    std::vector<uint8_t> bytes(WriterValueSize);
    for (size_t i = 0; i < bytes.size(); i += 4)
        std::memcpy(&bytes[i], &generation, 4);
    return bytes;
}

constexpr int64_t Missing = -1; // as if written one generation before the first
constexpr int64_t Torn = -2;

int64_t GenerationOf(CRegistry& registry, int value)
{
    std::vector<uint8_t> bytes;
    if (!registry.QueryBinary(HiveLocalMachine, Root, "v" + std::to_string(value), bytes))
        return Missing;
    uint32_t generation;
    if (bytes.size() != WriterValueSize)
        return Torn;
    std::memcpy(&generation, bytes.data(), 4);
    return bytes == Generation(generation) ? generation : Torn;
}

// A file system that kills the process with SIGKILL right after its n-th
// write, so the writer dies at a chosen point inside a transaction, between
// two page writes or a page write and its sync.
sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs killingVfs;
long writesLeft = 0;

// The database and its journal files have different methods; each gets a
// copy whose xWrite counts.
struct CountedMethods {
    const sqlite3_io_methods* real;
    sqlite3_io_methods counted;
};
CountedMethods methods[4];
int methodCount = 0;

int KillingWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    int result = SQLITE_IOERR_WRITE;
    for (int i = 0; i < methodCount; ++i) {
        if (file->pMethods == &methods[i].counted)
            result = methods[i].real->xWrite(file, data, amount, offset);
    }
    if (--writesLeft == 0)
        raise(SIGKILL);
    return result;
}

int KillingOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    int result = realVfs->xOpen(realVfs, name, file, flags, outFlags);
    if (result != SQLITE_OK || !file->pMethods)
        return result;
    int i = 0;
    while (i < methodCount && methods[i].real != file->pMethods)
        ++i;
    if (i == methodCount) {
        if (methodCount == static_cast<int>(std::size(methods)))
            return result;
        methods[i].real = file->pMethods;
        methods[i].counted = *file->pMethods;
        methods[i].counted.xWrite = KillingWrite;
        ++methodCount;
    }
    file->pMethods = &methods[i].counted;
    return result;
}

void KillAfterWrites(long writes)
{
    realVfs = sqlite3_vfs_find(nullptr);
    killingVfs = *realVfs;
    killingVfs.zName = "killing";
    killingVfs.pNext = nullptr;
    killingVfs.xOpen = KillingOpen;
    writesLeft = writes;
    sqlite3_vfs_register(&killingVfs, 1);
}

// Writes generation after generation of every value, one transaction each,
// until the file system kills it.
[[noreturn]] void RunWriter(const std::string& folder, long killAfter)
{
    KillAfterWrites(killAfter);
    CRegistry registry(folder);
    // Go on where the previous writer was killed.
    int64_t generation = std::max<int64_t>(GenerationOf(registry, 0), 0);
    int value = 0;
    while (value < WriterValues && GenerationOf(registry, value) == generation)
        ++value;
    if (!registry.CreateKey(HiveLocalMachine, Root))
        _exit(3);
    for (; generation < 100000; ++generation, value = 0) {
        for (; value < WriterValues; ++value) {
            if (!registry.SetBinary(HiveLocalMachine, Root, "v" + std::to_string(value),
                                    Generation(static_cast<uint32_t>(generation))))
                _exit(4);
        }
    }
    _exit(5);
}

TEST_F(CRegistryTest, WriterKilledMidStreamLeavesOldOrNewValues)
{
    // Kill points all over the stream: the first transactions, single page
    // writes, and later ones that include checkpoints into the database.
    for (long killAfter : {3L, 8L, 13L, 29L, 57L, 101L, 222L, 467L, 1009L, 2203L, 3001L}) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            RunWriter(temp.Path(), killAfter);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "writer ended with status " << status << " before write " << killAfter;

        // Written in order v0..v5, one generation after another: each value
        // is whole, and none is ahead of the one before it or more than one
        // generation behind v0.
        CRegistry registry(temp.Path());
        std::vector<int64_t> generations;
        for (int value = 0; value < WriterValues; ++value)
            generations.push_back(GenerationOf(registry, value));
        for (int value = 0; value < WriterValues; ++value) {
            ASSERT_NE(generations[value], Torn) << "value " << value << ", kill after " << killAfter;
            EXPECT_GE(generations[value], generations[0] - 1) << "value " << value << ", kill after " << killAfter;
            if (value > 0) {
                EXPECT_LE(generations[value], generations[value - 1]) << "value " << value;
            }
        }
    }
}

TEST_F(CRegistryTest, TwoProcessesWritingAtOnceBothSucceed)
{
    constexpr int Writes = 40;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            close(gate[1]);
            char byte;
            if (read(gate[0], &byte, 1) != 0) // both start when the gate closes
                _exit(6);
            CRegistry registry(temp.Path());
            const std::string key = Root + "\\Writer" + std::to_string(c);
            if (!registry.CreateKey(HiveLocalMachine, key))
                _exit(7);
            for (uint32_t i = 0; i < Writes; ++i) {
                if (!registry.SetNumber(HiveLocalMachine, key, "n" + std::to_string(i), i)
                    || !registry.SetNumber(HiveLocalMachine, Root, "last" + std::to_string(c), i))
                    _exit(8);
            }
            _exit(0);
        }
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    CRegistry registry(temp.Path());
    for (int c = 0; c < 2; ++c) {
        uint32_t number = 0;
        EXPECT_TRUE(registry.QueryNumber(HiveLocalMachine, Root, "last" + std::to_string(c), number));
        EXPECT_EQ(number, Writes - 1u);
        std::string name;
        EXPECT_TRUE(registry.EnumValue(HiveLocalMachine, Root + "\\Writer" + std::to_string(c), Writes - 1, name));
        EXPECT_EQ(name, "n" + std::to_string(Writes - 1));
    }
}

} // namespace
