#include "platform/zip_package.hpp"

#include <gtest/gtest.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/mfile.hpp"
#include "platform/platform_fixture.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using namespace zip;
using test::read_disk_file;
using test::write_disk_file;

struct Entry {
    std::string name;
    std::string content;
};

void put_memory_file(const std::string& name, const std::string& content) {
    mem::MFILE* file = mem::mopen(name, "wb");
    ASSERT_NE(file, nullptr) << name;
    ASSERT_EQ(mem::mwrite(content.data(), 1, content.size(), file), content.size());
    mem::mclose(file);
}

// The content of a memory file, or nullopt when there is none of that name.
std::optional<std::string> memory_content(const std::string& name) {
    const mem::MFILE* file = mem::mfind(name);
    if (file == nullptr) return std::nullopt;
    return std::string(file->data.data(), file->size);
}

std::string random_bytes(size_t count) {
    std::mt19937 generator(20240611);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

std::vector<std::string> names_of(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    for (const Entry& entry : entries) names.push_back(entry.name);
    return names;
}

uint16_t u16_at(const std::string& bytes, size_t offset) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) | static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

uint32_t u32_at(const std::string& bytes, size_t offset) {
    return u16_at(bytes, offset) | static_cast<uint32_t>(u16_at(bytes, offset + 2)) << 16;
}

void put_u32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// Writes entries with exactly the given names through minizip's own disk
// functions, for names this library's packer would never store.
void write_raw_archive(const std::string& path, const std::vector<Entry>& entries) {
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    for (const Entry& entry : entries) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(archive, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(archive, entry.content.data(), static_cast<unsigned>(entry.content.size())),
                  ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(archive), ZIP_OK);
    }
    ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);
}

// The DOS date and time minizip reports for the first entry of a disk archive.
uint32_t first_entry_dos_date(const std::string& path) {
    unzFile archive = unzOpen64(path.c_str());
    EXPECT_NE(archive, nullptr);
    if (archive == nullptr) return 0;
    unz_file_info64 info{};
    EXPECT_EQ(unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0), UNZ_OK);
    unzClose(archive);
    return static_cast<uint32_t>(info.dosDate);
}

// The switch is left alone on entry, so the first test sees its initial value.
class ZipPackage : public test::PlatformTest {
protected:
    void TearDown() override {
        set_archive_switch(-1);
        PlatformTest::TearDown();
    }

    // Packs `entries` as memory files into the archive at `archive`, then
    // leaves only the archive behind (a memory archive stays in the table).
    void pack_memory_entries(const std::string& archive, const std::vector<Entry>& entries) {
        for (const Entry& entry : entries) put_memory_file(entry.name, entry.content);
        ASSERT_EQ(pack(kEntriesInMemory, archive, "", names_of(entries)), 0);
        for (const Entry& entry : entries) mem::mremove(entry.name);
    }

    // The bytes of a small package, packed into memory.
    std::string small_package_bytes() {
        set_archive_switch(0);
        pack_memory_entries("pkg.zip", {{"[Content_Types].xml", std::string(300, 'x') + "<Types/>"},
                                        {"xl/workbook.xml", "<workbook><sheets/></workbook>"},
                                        {"xl/media/image1.bin", random_bytes(200)}});
        std::string bytes = *memory_content("pkg.zip");
        mem::mfreeall();
        return bytes;
    }

    // Unpacks `bytes` as a memory archive into memory files, everything else cleared first.
    int unpack_bytes(const std::string& bytes, std::vector<std::string>& names) {
        mem::mfreeall();
        set_archive_switch(0);
        put_memory_file("bad.zip", bytes);
        return unpack(kEntriesInMemory, "bad.zip", "", 1000, names);
    }
};

TEST_F(ZipPackage, MemoryFilesRoundTripWithNamesInOrder) {
    const std::vector<Entry> entries = {
        {"[Content_Types].xml", "<Types xmlns=\"urn:x\"/>"},
        {"xl/worksheets/sheet1.xml", std::string(100000, 'a') + "<sheetData/>"},
        {"xl/media/image1.bin", random_bytes(5 * 1024 * 1024)},
        {"docProps/empty.xml", ""},
        {"a.txt", "last"},
    };
    for (int archive_switch : {-1, 0}) {
        SCOPED_TRACE(archive_switch);
        set_archive_switch(archive_switch);
        const std::string archive = path("round.xlsx");
        pack_memory_entries(archive, entries);
        std::vector<std::string> names;
        ASSERT_EQ(unpack(kEntriesInMemory, archive, "", 1000, names), 0);
        EXPECT_EQ(names, names_of(entries));
        for (const Entry& entry : entries) {
            EXPECT_EQ(memory_content(entry.name), entry.content) << entry.name;
        }
        mem::mfreeall();
    }
}

TEST_F(ZipPackage, SwitchDecidesWhereTheArchiveLives) {
    put_memory_file("xl/workbook.xml", "<workbook/>");
    const std::vector<std::string> names = {"xl/workbook.xml"};

    ASSERT_TRUE(archive_on_disk());
    ASSERT_EQ(pack(kEntriesInMemory, path("disk.xlsx"), "", names), 0);
    EXPECT_TRUE(std::filesystem::exists(path("disk.xlsx")));
    EXPECT_EQ(mem::mfind(path("disk.xlsx")), nullptr);

    EXPECT_EQ(pel_zip_on_memory(0), 0);
    ASSERT_EQ(pack(kEntriesInMemory, path("memory.xlsx"), "", names), 0);
    EXPECT_FALSE(std::filesystem::exists(path("memory.xlsx")));
    std::optional<std::string> archive = memory_content(path("memory.xlsx"));
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(*archive, read_disk_file(path("disk.xlsx")));  // undated entries: the same bytes

    EXPECT_EQ(pel_zip_on_memory(-1), 0);
    EXPECT_TRUE(archive_on_disk());
}

TEST_F(ZipPackage, PackingOnDiskReplacesAnExistingArchive) {
    write_disk_file(path("old.xlsx"), std::string(100000, 'z'));
    ASSERT_EQ(pack(kEntriesInMemory, path("old.xlsx"), "", {}), 0);
    const std::string bytes = read_disk_file(path("old.xlsx"));
    ASSERT_EQ(bytes.size(), 22u);  // an end record alone: no entries
    EXPECT_EQ(u32_at(bytes, 0), 0x06054b50u);
}

TEST_F(ZipPackage, EntriesBeyondTheSlotsFailBeforeAnythingIsExtracted) {
    std::vector<Entry> entries;
    for (int i = 0; i < 1500; ++i) entries.push_back({"xl/part" + std::to_string(i) + ".xml", "<p/>"});
    pack_memory_entries(path("many.xlsx"), entries);
    struct Case {
        size_t slots;
        int rc;
    };
    constexpr Case kCases[] = {{1000, -9}, {1500, -9}, {1501, 0}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.slots);
        mem::mfreeall();
        std::vector<std::string> names;
        EXPECT_EQ(unpack(kEntriesInMemory, path("many.xlsx"), "", c.slots, names), c.rc);
        EXPECT_EQ(names.size(), c.rc == 0 ? 1500u : 0u);
        EXPECT_EQ(mem::mcount(), c.rc == 0 ? 1500u : 0u);
    }
}

TEST_F(ZipPackage, DirectoryEntriesYieldNoFileAndNoName) {
    write_raw_archive(path("dirs.zip"), {{"xl/", ""}, {"xl/workbook.xml", "<w/>"}, {"xl\\media\\", ""}});
    std::vector<std::string> names;
    ASSERT_EQ(unpack(kEntriesInMemory, path("dirs.zip"), "", 10, names), 0);
    EXPECT_EQ(names, std::vector<std::string>{"xl/workbook.xml"});
    EXPECT_EQ(mem::mfind("xl/"), nullptr);
    EXPECT_EQ(mem::mfind("xl\\media\\"), nullptr);
    EXPECT_EQ(mem::mcount(), 1u);
}

TEST_F(ZipPackage, LeadingSlashesAreNotStored) {
    struct Case {
        const char* listed;
        const char* stored;
    };
    constexpr Case kCases[] = {
        {"/xl/workbook.xml", "xl/workbook.xml"},
        {"\\docProps\\app.xml", "docProps\\app.xml"},
        {"/\\//mixed.xml", "mixed.xml"},
        {"plain.xml", "plain.xml"},
    };
    std::vector<std::string> listed, stored;
    for (const Case& c : kCases) {
        put_memory_file(c.listed, c.listed);
        listed.push_back(c.listed);
        stored.push_back(c.stored);
    }
    ASSERT_EQ(pack(kEntriesInMemory, path("slash.zip"), "", listed), 0);
    mem::mfreeall();
    std::vector<std::string> names;
    ASSERT_EQ(unpack(kEntriesInMemory, path("slash.zip"), "", 10, names), 0);
    EXPECT_EQ(names, stored);
    for (const Case& c : kCases) EXPECT_EQ(memory_content(c.stored), c.listed);
}

// minizip turns the all-zero date fields into day 0 of January 1980 at
// midnight: DOS time 0, date 0x0020, which no real file time has.
TEST_F(ZipPackage, MemoryFileEntriesCarryTheZeroDate) {
    constexpr uint16_t kZeroDosDate = 0x0020;
    put_memory_file("xl/styles.xml", "<styleSheet/>");
    ASSERT_EQ(pack(kEntriesInMemory, path("undated.zip"), "", {"xl/styles.xml"}), 0);
    const std::string bytes = read_disk_file(path("undated.zip"));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(u16_at(bytes, 10), 0u);  // local header: time, then date
    EXPECT_EQ(u16_at(bytes, 12), kZeroDosDate);
    EXPECT_EQ(first_entry_dos_date(path("undated.zip")), uint32_t{kZeroDosDate} << 16);
}

TEST_F(ZipPackage, PythonZipfileAcceptsThePackage) {
    constexpr const char* kPython = "/usr/bin/python3";
    if (!std::filesystem::exists(kPython)) GTEST_SKIP() << "no " << kPython;
    const std::vector<Entry> entries = {
        {"[Content_Types].xml", "<Types/>"},
        {"xl/media/image1.bin", random_bytes(300000)},
        {"xl/empty.xml", ""},
    };
    pack_memory_entries(path("python.xlsx"), entries);
    pack_memory_entries(path("empty.xlsx"), {});
    for (const char* archive : {"python.xlsx", "empty.xlsx"}) {
        const bool full = std::strcmp(archive, "python.xlsx") == 0;
        std::string command = std::string(kPython) +
                              " -c 'import sys, zipfile\n"
                              "z = zipfile.ZipFile(sys.argv[1])\n"
                              "sys.exit(0 if z.testzip() is None and z.namelist() == sys.argv[2:] else 1)' '" +
                              path(archive) + "'";
        if (full) {
            for (const Entry& entry : entries) command += " '" + entry.name + "'";
        }
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << archive;
        EXPECT_EQ(WEXITSTATUS(status), 0) << archive;
    }
}

TEST_F(ZipPackage, ArgumentsAndMissingFiles) {
    write_raw_archive(path("one.zip"), {{"a.xml", "a"}});
    struct Case {
        int mode;
        const char* archive;
        const char* dest;
        size_t slots;
        int rc;
    };
    const Case kCases[] = {
        {kEntriesInMemory, "one.zip", "", 0, -3},
        {1, "one.zip", "", 10, -3},
        {kEntriesInMemory, "missing.zip", "", 10, -101},
        {kEntriesInMemory, "one.zip", "", 1, -9},
        {kEntriesInMemory, "one.zip", "", 2, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.archive << " slots " << c.slots);
        std::vector<std::string> names = {"stale"};
        EXPECT_EQ(unpack(c.mode, path(c.archive), c.dest, c.slots, names), c.rc);
        EXPECT_EQ(names.size(), c.rc == 0 ? 1u : 0u);
    }
    std::vector<std::string> names;
    EXPECT_EQ(unpack(kEntriesInMemory, path("one.zip") + std::string(1, '\0') + "x", "", 10, names), -101);

    EXPECT_EQ(pack(kEntriesInMemory, path("p.zip"), "", {"not-in-memory-or-on-disk"}), -101);
    EXPECT_EQ(pack(1, path("p.zip"), scratch_, {"no-such-file"}), -101);
    EXPECT_EQ(pack(kEntriesInMemory, path("no-such-dir/p.zip"), "", {}), -101);
}

TEST_F(ZipPackage, EntryNamesUpTo256BytesAreAccepted) {
    struct Case {
        size_t length;
        int rc;
    };
    constexpr Case kCases[] = {{1, 0}, {256, 0}, {257, -9}, {1000, -9}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.length);
        mem::mfreeall();
        const std::string name(c.length, 'n');
        write_raw_archive(path("long.zip"), {{"first.xml", "1"}, {name, "x"}});
        std::vector<std::string> names;
        EXPECT_EQ(unpack(kEntriesInMemory, path("long.zip"), "", 10, names), c.rc);
        if (c.rc == 0) EXPECT_EQ(memory_content(name), "x");
    }
}

TEST_F(ZipPackage, UnpackedBytesAreBounded) {
    const std::string zeros(1 << 20, '\0');
    pack_memory_entries(path("bomb.zip"), {{"a.xml", zeros}, {"b.xml", zeros}});
    ASSERT_LT(std::filesystem::file_size(path("bomb.zip")), 10000u);
    struct Case {
        uint64_t limit;
        int rc;
    };
    constexpr Case kCases[] = {{2u << 20, 0}, {(2u << 20) - 1, -2}, {1u << 20, -2}, {1000, -2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.limit);
        mem::mfreeall();
        std::vector<std::string> names;
        EXPECT_EQ(unpack(kEntriesInMemory, path("bomb.zip"), "", 10, names, c.limit), c.rc);
    }
    std::vector<std::string> names;
    EXPECT_EQ(unpack(1, path("bomb.zip"), path("out"), 10, names, 1000), -2);
}

// Not the last bytes of the end record: they are zeros here (the high bytes of
// an offset and the empty comment's length), which reading past the end yields too.
TEST_F(ZipPackage, TruncatedArchivesFail) {
    const std::string bytes = small_package_bytes();
    for (size_t length : {size_t{0}, size_t{1}, size_t{4}, size_t{30}, bytes.size() / 2, bytes.size() - 22,
                          bytes.size() - 10}) {
        SCOPED_TRACE(length);
        std::vector<std::string> names;
        EXPECT_LT(unpack_bytes(bytes.substr(0, length), names), 0);
    }
}

TEST_F(ZipPackage, DamagedStructuresFail) {
    const std::string good = small_package_bytes();
    const size_t end_record = good.size() - 22;
    ASSERT_EQ(u32_at(good, end_record), 0x06054b50u);
    const size_t central = u32_at(good, end_record + 16);
    const size_t first_data = 30 + u16_at(good, 26) + u16_at(good, 28);
    struct Case {
        const char* what;
        size_t offset;
    };
    const Case kCases[] = {
        {"local header signature", 0},
        {"first compressed byte", first_data},
        {"middle of the first entry's data", first_data + 10},
        {"central directory signature", central},
        {"central directory CRC", central + 16},
        {"end record signature", end_record},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        bytes[c.offset] = static_cast<char>(bytes[c.offset] ^ 0x5A);
        std::vector<std::string> names;
        EXPECT_LT(unpack_bytes(bytes, names), 0);
    }

    // Both headers claim one byte more than the data hold: the data end early.
    std::string longer = good;
    put_u32(longer, 22, u32_at(good, 22) + 1);
    put_u32(longer, central + 24, u32_at(good, central + 24) + 1);
    std::vector<std::string> names;
    EXPECT_EQ(unpack_bytes(longer, names), UNZ_CRCERROR);
}

// Under the sanitizers this shows that no single damaged byte makes the
// unpacker read or write out of bounds.
TEST_F(ZipPackage, EveryFlippedByteIsSurvived) {
    const std::string good = small_package_bytes();
    for (size_t offset = 0; offset < good.size(); ++offset) {
        for (uint8_t mask : {uint8_t{0xFF}, uint8_t{0x01}}) {
            std::string bytes = good;
            bytes[offset] = static_cast<char>(bytes[offset] ^ mask);
            std::vector<std::string> names;
            int rc = unpack_bytes(bytes, names);
            EXPECT_LE(rc, 0) << offset;
            EXPECT_LE(names.size(), 3u) << offset;
        }
    }
}

TEST_F(ZipPackage, DiskTreeRoundTripKeepsContentsAndTimes) {
    const std::string source = path("src");
    const std::vector<Entry> entries = {
        {"a.txt", "alpha"},
        {"sub/b.bin", random_bytes(70000)},
        {"sub/deeper/c.txt", ""},
    };
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 5;
    local.tm_mday = 15;
    local.tm_hour = 12;
    local.tm_min = 34;
    local.tm_sec = 56;
    local.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&local);
    for (const Entry& entry : entries) {
        std::filesystem::create_directories(std::filesystem::path(source + "/" + entry.name).parent_path());
        write_disk_file(source + "/" + entry.name, entry.content);
        const timespec times[2] = {{stamp, 0}, {stamp, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (source + "/" + entry.name).c_str(), times, 0), 0);
    }
    std::vector<std::string> listed = names_of(entries);
    listed[2] = "/" + listed[2];
    ASSERT_EQ(pack(1, path("tree.zip"), source, listed), 0);
    EXPECT_EQ(first_entry_dos_date(path("tree.zip")), dos_date_time(stamp));

    const std::string dest = path("dest");
    std::filesystem::create_directories(dest + "/old");
    write_disk_file(dest + "/old/stale.txt", "stale");
    std::vector<std::string> names;
    ASSERT_EQ(unpack(1, path("tree.zip"), dest, 10, names), 0);
    EXPECT_EQ(names, names_of(entries));
    EXPECT_FALSE(std::filesystem::exists(dest + "/old"));
    EXPECT_EQ(mem::mcount(), 0u);
    for (const Entry& entry : entries) {
        EXPECT_EQ(read_disk_file(dest + "/" + entry.name), entry.content) << entry.name;
        struct stat status {};
        ASSERT_EQ(::stat((dest + "/" + entry.name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mtime, stamp) << entry.name;
    }
}

TEST_F(ZipPackage, DiskUnpackRefusesNamesThatLeaveTheDirectory) {
    struct Case {
        const char* name;
        int rc;
    };
    constexpr Case kCases[] = {
        {"../evil.txt", -1}, {"a/../../evil.txt", -1}, {"/tmp/evil.txt", -1},
        {"..\\evil.txt", -1}, {"a//b.txt", -1},         {"made/dir/", 0},
    };
    std::filesystem::create_directories(path("jail"));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        write_raw_archive(path("hostile.zip"), {{c.name, "x"}});
        std::vector<std::string> names;
        EXPECT_EQ(unpack(1, path("hostile.zip"), path("jail/inner"), 10, names), c.rc);
        EXPECT_TRUE(names.empty());
        EXPECT_FALSE(std::filesystem::exists(path("jail/evil.txt")));
        EXPECT_FALSE(std::filesystem::exists(path("evil.txt")));
    }
    EXPECT_TRUE(std::filesystem::is_directory(path("jail/inner/made/dir")));
}

TEST_F(ZipPackage, DosDatesOfLocalTimes) {
    struct Case {
        int year, month, day, hour, minute, second;
        uint32_t dos;
    };
    constexpr Case kCases[] = {
        {2021, 6, 15, 12, 34, 56, (41u << 25) | (6u << 21) | (15u << 16) | (12u << 11) | (34u << 5) | 28u},
        {1980, 1, 1, 0, 0, 0, (1u << 21) | (1u << 16)},
        {1975, 3, 3, 3, 3, 3, (1u << 21) | (1u << 16)},  // before the format's first day
        {2107, 12, 31, 23, 59, 59, (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.year);
        std::tm local{};
        local.tm_year = c.year - 1900;
        local.tm_mon = c.month - 1;
        local.tm_mday = c.day;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_sec = c.second;
        local.tm_isdst = -1;
        const std::time_t time = std::mktime(&local);
        EXPECT_EQ(dos_date_time(time), c.dos);
        if (c.year >= 1980) EXPECT_EQ(time_of_dos(c.dos), time - c.second % 2);
    }
}

}  // namespace
}  // namespace tova
