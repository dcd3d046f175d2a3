#include "platform/ProcessInfo.h"

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char SectionName[] = ".zarnwell_version";
constexpr char Magic[8] = {'Z', 'R', 'N', 'V', 'E', 'R', 'S', '1'};
constexpr size_t RecordSize = sizeof Magic + 4 * sizeof(uint16_t);
constexpr uint64_t MaxTableBytes = 16 * 1024 * 1024; // section headers or names, far beyond any real file

constexpr uint32_t SectionNoBits = 8;       // SHT_NOBITS
constexpr uint16_t ExtendedIndex = 0xFFFF;  // SHN_XINDEX

// A file read by offset, every range checked against its size.
class CElfFile {
public:
    explicit CElfFile(const std::string& path) : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat info;
        if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            size = static_cast<uint64_t>(info.st_size);
    }
    ~CElfFile()
    {
        if (fd >= 0)
            close(fd);
    }
    CElfFile(const CElfFile&) = delete;
    CElfFile& operator=(const CElfFile&) = delete;

    bool Read(uint64_t offset, uint64_t length, std::vector<uint8_t>& out)
    {
        if (offset > size || length > size - offset || length > MaxTableBytes)
            return false;
        out.resize(length);
        uint64_t done = 0;
        while (done < length) {
            ssize_t got = pread(fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
            if (got <= 0)
                return false;
            done += static_cast<uint64_t>(got);
        }
        return true;
    }

private:
    int fd;
    uint64_t size = 0;
};

// Fixed-width fields of a buffer in the file's byte order; out of range
// reads as failure.
class CFields {
public:
    CFields(const std::vector<uint8_t>& bytes, bool bigEndian) : bytes(bytes), bigEndian(bigEndian) {}

    bool Get(uint64_t offset, unsigned width, uint64_t& value) const
    {
        if (offset > bytes.size() || width > bytes.size() - offset)
            return false;
        value = 0;
        for (unsigned i = 0; i < width; ++i) {
            unsigned shift = 8 * (bigEndian ? width - 1 - i : i);
            value |= static_cast<uint64_t>(bytes[offset + i]) << shift;
        }
        return true;
    }

private:
    const std::vector<uint8_t>& bytes;
    bool bigEndian;
};

struct Section {
    uint64_t name = 0;
    uint64_t type = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t link = 0;
};

} // namespace

std::string ModulePath()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof path))
        return "";
    return std::string(path, length);
}

bool ReadFileVersion(const std::string& path, uint16_t out[4])
{
    CElfFile file(path);
    std::vector<uint8_t> header;
    if (!file.Read(0, 16, header) || std::memcmp(header.data(), "\x7F" "ELF", 4) != 0)
        return false;
    uint8_t elfClass = header[4];
    uint8_t encoding = header[5];
    if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2))
        return false;
    bool wide = elfClass == 2;
    bool bigEndian = encoding == 2;
    const unsigned word = wide ? 8 : 4; // addresses, offsets and sizes

    if (!file.Read(0, wide ? 64 : 52, header))
        return false;
    CFields fields(header, bigEndian);
    uint64_t tableOffset, entrySize, count, namesIndex;
    if (!fields.Get(wide ? 40 : 32, word, tableOffset) || !fields.Get(wide ? 58 : 46, 2, entrySize)
        || !fields.Get(wide ? 60 : 48, 2, count) || !fields.Get(wide ? 62 : 50, 2, namesIndex))
        return false;
    const uint64_t minimumEntry = wide ? 64 : 40;
    if (tableOffset == 0 || entrySize < minimumEntry)
        return false;

    auto readSection = [&](const std::vector<uint8_t>& table, uint64_t index, Section& section) {
        CFields entry(table, bigEndian);
        uint64_t base = index * entrySize;
        return entry.Get(base, 4, section.name) && entry.Get(base + 4, 4, section.type)
            && entry.Get(base + (wide ? 24 : 16), word, section.offset)
            && entry.Get(base + (wide ? 32 : 20), word, section.size)
            && entry.Get(base + (wide ? 40 : 24), 4, section.link);
    };

    // Many sections: the count and the names' index live in section 0.
    std::vector<uint8_t> table;
    if (count == 0 || namesIndex == ExtendedIndex) {
        Section first;
        if (!file.Read(tableOffset, entrySize, table) || !readSection(table, 0, first))
            return false;
        if (count == 0)
            count = first.size;
        if (namesIndex == ExtendedIndex)
            namesIndex = first.link;
    }
    if (count == 0 || count > MaxTableBytes / entrySize || namesIndex >= count)
        return false;
    if (!file.Read(tableOffset, count * entrySize, table))
        return false;

    Section names;
    std::vector<uint8_t> nameBytes;
    if (!readSection(table, namesIndex, names) || names.type == SectionNoBits
        || !file.Read(names.offset, names.size, nameBytes))
        return false;

    for (uint64_t index = 0; index < count; ++index) {
        Section section;
        if (!readSection(table, index, section))
            return false;
        if (section.name >= nameBytes.size() || nameBytes.size() - section.name < sizeof SectionName
            || std::memcmp(&nameBytes[section.name], SectionName, sizeof SectionName) != 0)
            continue;
        std::vector<uint8_t> record;
        if (section.type == SectionNoBits || section.size < RecordSize
            || !file.Read(section.offset, RecordSize, record) || std::memcmp(record.data(), Magic, sizeof Magic) != 0)
            return false;
        CFields parts(record, bigEndian);
        for (unsigned i = 0; i < 4; ++i) {
            uint64_t part;
            if (!parts.Get(sizeof Magic + 2 * i, 2, part))
                return false;
            out[i] = static_cast<uint16_t>(part);
        }
        return true;
    }
    return false;
}
