#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "platform/ProcessInfo.h"
#include "tests/support/TempDir.h"

namespace {

using Version = std::array<uint16_t, 4>;
using Bytes = std::vector<uint8_t>;

std::optional<Version> VersionOf(const std::string& path)
{
    Version version = {};
    if (!ReadFileVersion(path, version.data()))
        return std::nullopt;
    return version;
}

// A small ELF file: header, section names, the version record, and the
// section header table last (so that any cut loses part of it).
struct ElfLayout {
    bool wide = true;
    bool bigEndian = false;
    Version version = {1, 2, 3, 4};
    std::string sectionName = ".zarnwell_version";
    std::string magic = "ZRNVERS1";
};

class CElfWriter {
public:
    explicit CElfWriter(const ElfLayout& layout) : layout(layout) {}

    void Put(size_t offset, uint64_t value, unsigned width)
    {
        if (bytes.size() < offset + width)
            bytes.resize(offset + width);
        for (unsigned i = 0; i < width; ++i)
            bytes[offset + i] = static_cast<uint8_t>(value >> 8 * (layout.bigEndian ? width - 1 - i : i));
    }

    Bytes Build()
    {
        const bool wide = layout.wide;
        const size_t headerSize = wide ? 64 : 52;
        const size_t entrySize = wide ? 64 : 40;
        const unsigned word = wide ? 8 : 4;
        std::string names = std::string("\0.shstrtab\0", 11) + layout.sectionName + '\0';
        const size_t namesOffset = headerSize;
        const size_t recordOffset = namesOffset + names.size();
        const size_t tableOffset = recordOffset + 16;

        bytes.assign(headerSize, 0);
        std::memcpy(bytes.data(), "\x7F" "ELF", 4);
        bytes[4] = wide ? 2 : 1;
        bytes[5] = layout.bigEndian ? 2 : 1;
        bytes[6] = 1;
        Put(16, 2, 2); // executable
        Put(wide ? 40 : 32, tableOffset, word);
        Put(wide ? 52 : 40, headerSize, 2);
        Put(wide ? 58 : 46, entrySize, 2);
        Put(wide ? 60 : 48, 3, 2);
        Put(wide ? 62 : 50, 1, 2);

        bytes.insert(bytes.end(), names.begin(), names.end());
        bytes.insert(bytes.end(), layout.magic.begin(), layout.magic.end());
        bytes.resize(recordOffset + 16);
        for (unsigned i = 0; i < 4; ++i)
            Put(recordOffset + 8 + 2 * i, layout.version[i], 2);

        bytes.resize(tableOffset + 3 * entrySize, 0);
        auto section = [&](size_t index, uint64_t name, uint64_t type, uint64_t offset, uint64_t size) {
            size_t base = tableOffset + index * entrySize;
            Put(base, name, 4);
            Put(base + 4, type, 4);
            Put(base + (wide ? 24 : 16), offset, word);
            Put(base + (wide ? 32 : 20), size, word);
        };
        section(1, 1, 3, namesOffset, names.size());    // .shstrtab, SHT_STRTAB
        section(2, 11, 1, recordOffset, 16);            // the record, SHT_PROGBITS
        return bytes;
    }

    Bytes bytes;

private:
    ElfLayout layout;
};

class ProcessInfoTest : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    CTempDir temp;
    std::string path = temp.File("file");
};

TEST_F(ProcessInfoTest, ModulePathIsThisExecutable)
{
    std::string module = ModulePath();
    EXPECT_TRUE(module.starts_with("/"));
    EXPECT_EQ(std::filesystem::path(module).filename(), "platform_ProcessInfoTest");
    EXPECT_TRUE(std::filesystem::equivalent(module, "/proc/self/exe"));
}

TEST_F(ProcessInfoTest, ReadsTheRecordOfThisExecutable)
{
    std::optional<Version> version = VersionOf(ModulePath());
    ASSERT_TRUE(version);
    std::string text = std::to_string((*version)[0]) + "." + std::to_string((*version)[1]) + "."
                     + std::to_string((*version)[2]) + "." + std::to_string((*version)[3]);
    EXPECT_TRUE(text.starts_with(ZARNWELL_TEST_VERSION)) << text;
}

TEST_F(ProcessInfoTest, ExecutableWithoutRecordHasNoVersion)
{
    EXPECT_EQ(VersionOf("/bin/sh"), std::nullopt);
}

TEST_F(ProcessInfoTest, ReadsEveryClassAndByteOrder)
{
    for (bool wide : {true, false}) {
        for (bool bigEndian : {false, true}) {
            ElfLayout layout;
            layout.wide = wide;
            layout.bigEndian = bigEndian;
            layout.version = {7, 0, 513, 65535};
            EXPECT_EQ(VersionOf(Write(CElfWriter(layout).Build())), layout.version)
                << "wide " << wide << " big-endian " << bigEndian;
        }
    }
}

TEST_F(ProcessInfoTest, WrongNameOrMagicIsNoRecord)
{
    for (const char* name : {".zarnwell_versio", ".zarnwell_version2", ".data"}) {
        ElfLayout layout;
        layout.sectionName = name;
        EXPECT_EQ(VersionOf(Write(CElfWriter(layout).Build())), std::nullopt) << name;
    }
    ElfLayout layout;
    layout.magic = "ZRNVERS2";
    EXPECT_EQ(VersionOf(Write(CElfWriter(layout).Build())), std::nullopt);
}

TEST_F(ProcessInfoTest, EveryCutOfTheFileFails)
{
    for (bool wide : {true, false}) {
        ElfLayout layout;
        layout.wide = wide;
        Bytes whole = CElfWriter(layout).Build();
        Write(whole);
        for (size_t length = whole.size(); length-- > 0;) {
            ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(length)), 0);
            EXPECT_EQ(VersionOf(path), std::nullopt) << "cut at " << length;
        }
    }
}

TEST_F(ProcessInfoTest, ForgedFieldsFail)
{
    // Each case forges one field of the 64-bit little-endian file.
    struct Case {
        const char* what;
        size_t offset;
        uint64_t value;
        unsigned width;
    } cases[] = {
        {"class", 4, 3, 1},
        {"byte order", 5, 0, 1},
        {"table beyond the file", 40, 0xFFFFFFFFFFFFFFF0ull, 8},
        {"table offset zero", 40, 0, 8},
        {"entries too small", 58, 8, 2},
        {"entries of size zero", 58, 0, 2},
        {"too many sections", 60, 0xFFFE, 2},
        {"names index out of range", 62, 3, 2},
        {"names index extended, section 0 says 9", 62, 0xFFFF, 2},
    };
    ElfLayout layout;
    for (const Case& c : cases) {
        CElfWriter writer(layout);
        writer.Build();
        writer.Put(c.offset, c.value, c.width);
        if (c.value == 0xFFFF) // section 0's link field
            writer.Put(64 + 11 + 18 + 16 + 40, 9, 4);
        EXPECT_EQ(VersionOf(Write(writer.bytes)), std::nullopt) << c.what;
    }

    // Forged section headers: the record's (index 2) and the names' (1).
    const size_t table = 64 + 11 + 18 + 16;
    struct SectionCase {
        const char* what;
        size_t section;
        size_t field;
        uint64_t value;
        unsigned width;
    } sectionCases[] = {
        {"record beyond the file", 2, 24, 0x7FFFFFFFFFFFFFFFull, 8},
        {"record offset wrapping around", 2, 24, 0xFFFFFFFFFFFFFFF8ull, 8},
        {"record too short", 2, 32, 15, 8},
        {"record without bits", 2, 4, 8, 4},
        {"name beyond the names", 2, 0, 0xFFFFFFFF, 4},
        {"name at the names' last byte", 2, 0, 11 + 18 - 1, 4},
        {"names beyond the file", 1, 24, 0xFFFFFFFFFFFFFF00ull, 8},
        {"names of huge size", 1, 32, 0xFFFFFFFFFFFFFFFFull, 8},
        {"names without bits", 1, 4, 8, 4},
    };
    for (const SectionCase& c : sectionCases) {
        CElfWriter writer(layout);
        writer.Build();
        writer.Put(table + c.section * 64 + c.field, c.value, c.width);
        EXPECT_EQ(VersionOf(Write(writer.bytes)), std::nullopt) << c.what;
    }
}

TEST_F(ProcessInfoTest, ManySectionsCountFromSectionZero)
{
    // e_shnum 0: the count is section 0's size.
    ElfLayout layout;
    CElfWriter writer(layout);
    writer.Build();
    const size_t table = 64 + 11 + 18 + 16;
    writer.Put(60, 0, 2);
    writer.Put(table + 32, 3, 8);
    EXPECT_EQ(VersionOf(Write(writer.bytes)), layout.version);
    writer.Put(table + 32, 0x7FFFFFFF, 8);
    EXPECT_EQ(VersionOf(Write(writer.bytes)), std::nullopt);
}

TEST_F(ProcessInfoTest, OtherFilesFail)
{
    EXPECT_EQ(VersionOf(Write({})), std::nullopt);
    EXPECT_EQ(VersionOf(Write({'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'})), std::nullopt);
    EXPECT_EQ(VersionOf(temp.File("missing")), std::nullopt);
    EXPECT_EQ(VersionOf(temp.Path()), std::nullopt);
    EXPECT_EQ(VersionOf("/dev/zero"), std::nullopt);
}

TEST_F(ProcessInfoTest, NoByteValueAnywhereCrashesTheReader)
{
    Bytes whole = CElfWriter(ElfLayout{}).Build();
    Write(whole);
    int fd = open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (size_t offset = 0; offset < whole.size(); ++offset) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0x7F), uint8_t(0x80), uint8_t(0xFF)}) {
            ASSERT_EQ(pwrite(fd, &value, 1, static_cast<off_t>(offset)), 1);
            VersionOf(path); // any answer, but an answer
        }
        ASSERT_EQ(pwrite(fd, &whole[offset], 1, static_cast<off_t>(offset)), 1);
    }
    close(fd);
    EXPECT_EQ(VersionOf(path), ElfLayout{}.version);
}

} // namespace
