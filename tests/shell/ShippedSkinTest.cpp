#include <gtest/gtest.h>

#include "shell/CSkinPaths.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

// The artwork in resources/Skin: every path the program builds, for both menu
// sets and both languages, names a file in the format its extension promises.
namespace {

const std::filesystem::path repository =
    std::filesystem::path(ZARNWELL_SOURCE_DIR);

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

unsigned Byte(const std::string& s, std::size_t at) { return static_cast<uint8_t>(s.at(at)); }
unsigned Word(const std::string& s, std::size_t at) { return Byte(s, at) | Byte(s, at + 1) << 8; }

// Sizes (width) of the images in an icon file.
std::set<unsigned> IconSizes(const std::string& ico)
{
    std::set<unsigned> sizes;
    for (unsigned i = 0; i < Word(ico, 4); ++i)
        sizes.insert(Byte(ico, 6 + 16 * i) == 0 ? 256 : Byte(ico, 6 + 16 * i));
    return sizes;
}

void ExpectFormat(const std::string& path)
{
    SCOPED_TRACE(path);
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    std::string bytes = ReadAll(path);
    ASSERT_GT(bytes.size(), 32u);
    std::string ext = std::filesystem::path(path).extension().string();
    if (ext == ".bmp") {
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        unsigned bits = Word(bytes, 28);
        EXPECT_TRUE(bits == 24 || bits == 8) << bits;
    } else if (ext == ".png") {
        EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1A\n");
        EXPECT_EQ(Byte(bytes, 25), 6u); // RGBA
    } else if (ext == ".gif") {
        EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
        std::size_t delays = 0;
        for (std::size_t at = bytes.find("\x21\xF9\x04"); at != std::string::npos; at = bytes.find("\x21\xF9\x04", at + 1))
            ++delays;
        EXPECT_GE(delays, 4u) << "an animation has several frames";
    } else if (ext == ".ico") {
        EXPECT_EQ(bytes.substr(0, 4), std::string("\0\0\1\0", 4));
        std::set<unsigned> sizes = IconSizes(bytes);
        EXPECT_TRUE(sizes.count(16) && sizes.count(22) && sizes.count(32));
    } else {
        ADD_FAILURE() << "unexpected extension";
    }
}

TEST(ShippedSkinTest, EveryPathNamesAFileInItsFormat)
{
    const std::string exeDir = (repository / "resources").string() + "/";
    std::set<std::string> used;
    for (int osKind : {3, 8}) {
        for (uint32_t languageId : {1033u, 0x0804u}) {
            CSkinPaths skin;
            skin.BuildSkinPaths(exeDir, languageId, osKind);
            for (const std::string* path : skin.Paths())
                used.insert(*path);
        }
    }
    EXPECT_EQ(used.size(), CSkinPaths::count + 6); // the XP menu bitmaps and the Chinese pictures
    for (const std::string& path : used)
        ExpectFormat(path);
}

TEST(ShippedSkinTest, TheSkinHoldsNothingElseAndStaysSmall)
{
    const std::filesystem::path skin = repository / "resources/Skin";
    CSkinPaths paths;
    std::set<std::string> known;
    for (int osKind : {3, 8}) {
        for (uint32_t languageId : {1033u, 0x0804u}) {
            paths.BuildSkinPaths("", languageId, osKind);
            for (const std::string* path : paths.Paths())
                known.insert(path->substr(5)); // after "Skin/"
        }
    }
    std::uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(skin)) {
        EXPECT_TRUE(known.count(entry.path().filename().string())) << entry.path();
        total += entry.file_size();
    }
    EXPECT_LT(total, 2u * 1024 * 1024);
}

} // namespace
