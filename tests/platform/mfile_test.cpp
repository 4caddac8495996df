#include "platform/mfile.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/encoding.hpp"
#include "platform/platform_fixture.hpp"
#include "tova_api.h"

namespace tova {
namespace {

using namespace mem;
using test::read_disk_file;
using test::write_disk_file;

class MemFile : public test::PlatformTest {};

MFILE* file_with(const std::string& name, const std::string& content) {
    MFILE* file = mopen(name, "wb");
    EXPECT_NE(file, nullptr) << name;
    if (file != nullptr) {
        EXPECT_EQ(mwrite(content.data(), 1, content.size(), file), content.size());
    }
    mclose(file);
    return file;
}

std::string content_of(const MFILE* file) { return std::string(file->data.data(), file->size); }

TEST_F(MemFile, RefusesBadModesAndNamesWithoutMessage) {
    struct Case {
        std::string name;
        const char* mode;
    };
    const Case cases[] = {
        {"", "wb"}, {std::string(257, 'n'), "wb"}, {"a", "w"},  {"a", "rb+"},
        {"a", "r"}, {"a", "WB"},                   {"a", ""},   {std::string("a\0b", 3), "wb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mopen(c.name, c.mode), nullptr) << c.name.size() << " " << c.mode;
        EXPECT_EQ(merror_text(), "");
    }
    EXPECT_EQ(mcount(), 0u);
    EXPECT_NE(mopen(std::string(256, 'n'), "wb"), nullptr);
}

TEST_F(MemFile, ReadOfANameNeitherInTableNorOnDiskFails) {
    EXPECT_EQ(mopen(path("missing.xml"), "rb"), nullptr);
    EXPECT_EQ(merror_text(), "mopen() qfs_fsze() rc=-101");
    EXPECT_EQ(mcount(), 0u);
    // A directory has no size to load.
    EXPECT_EQ(mopen(scratch_, "ab"), nullptr);
    EXPECT_EQ(merror_text(), "mopen() qfs_fsze() rc=-1");
    EXPECT_EQ(mcount(), 0u);
    // The next call starts with a clean message.
    file_with("ok", "x");
    EXPECT_EQ(merror_text(), "");
}

TEST_F(MemFile, ReadLoadsTheDiskFileWithCapacityEqualToItsSize) {
    std::string content(3000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    write_disk_file(path("part.bin"), content);
    MFILE* file = mopen(path("part.bin"), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(content_of(file), content);
    EXPECT_EQ(file->data.size(), content.size());
    EXPECT_EQ(mcount(), 1u);
    // Reopening finds the record, not the disk file.
    write_disk_file(path("part.bin"), "changed");
    EXPECT_EQ(mopen(path("part.bin"), "rb"), file);
    EXPECT_EQ(content_of(file), content);
}

TEST_F(MemFile, WriteModeReusesTheRecordOfItsName) {
    MFILE* first = file_with("xl/workbook.xml", "old content");
    file_with("other", "o");
    first->saved_position = 5;
    MFILE* again = mopen("xl/workbook.xml", "wb");
    EXPECT_EQ(again, first);
    EXPECT_EQ(mcount(), 2u);
    EXPECT_EQ(again->size, 0u);
    EXPECT_EQ(again->position, 0);
    EXPECT_EQ(again->state, kOpen);
    EXPECT_EQ(again->data.size(), 1024u);
    EXPECT_EQ(again->saved_position, 5);
}

TEST_F(MemFile, ReadAndAppendModesRewindAndKeepTheContent) {
    MFILE* file = file_with("a", "abcdef");
    for (const char* mode : {"rb", "ab"}) {
        mseek(file, 3, 0);
        EXPECT_EQ(mopen("a", mode), file) << mode;
        EXPECT_EQ(file->position, 0) << mode;
        EXPECT_EQ(file->state, kOpen) << mode;
        EXPECT_EQ(content_of(file), "abcdef") << mode;
        mclose(file);
        EXPECT_EQ(file->state, kClosed);
    }
}

TEST_F(MemFile, RemovedNameIsLookedForOnDiskAndKeepsItsSlot) {
    const std::string name = path("part.xml");
    write_disk_file(name, "from disk");
    MFILE* memory = file_with(name, "from memory");
    file_with("b", "b");
    EXPECT_EQ(mremove(name), 0);
    EXPECT_EQ(memory->state, kRemoved);
    EXPECT_EQ(memory->name, "");
    EXPECT_EQ(mcount(), 2u);
    EXPECT_EQ(mlist(), std::vector<std::string>{"b"});
    EXPECT_EQ(msize(name), 0u);

    MFILE* loaded = mopen(name, "rb");
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded, memory);
    EXPECT_EQ(content_of(loaded), "from disk");
    EXPECT_EQ(loaded->index, 2u);
    EXPECT_EQ(mcount(), 3u);
    EXPECT_EQ(mlist(), (std::vector<std::string>{"b", name}));
}

TEST_F(MemFile, EmptyKeepsNameAndState) {
    MFILE* file = file_with("a", "abc");
    EXPECT_EQ(mempty("a"), 0);
    EXPECT_EQ(file->size, 0u);
    EXPECT_EQ(file->data.size(), 0u);
    EXPECT_EQ(file->state, kClosed);
    EXPECT_EQ(mlist(), std::vector<std::string>{"a"});
    // A file without capacity still grows.
    EXPECT_EQ(mwrite("xyz", 3, 1, file), 1u);
    EXPECT_EQ(content_of(file), "xyz");
}

TEST_F(MemFile, ReadCopiesUpToTheEnd) {
    MFILE* file = file_with("a", "abcdefgh");
    char buffer[16] = {};
    ASSERT_EQ(mseek(file, 4, 0), 0);
    EXPECT_EQ(mread(buffer, 1, 10, file), 4u);  // bytes, not items
    EXPECT_EQ(std::string(buffer, 4), "efgh");
    EXPECT_EQ(mread(buffer, 1, 10, file), 0u);
    EXPECT_EQ(meof(file), -1);
    ASSERT_EQ(mseek(file, 0, 0), 0);
    EXPECT_EQ(meof(file), 0);
    EXPECT_EQ(mread(buffer, 3, 2, file), 6u);
    EXPECT_EQ(mtell(file), 6);
    EXPECT_EQ(mread(buffer, SIZE_MAX, 2, file), 2u);  // an overflowing request is just "all"
}

TEST_F(MemFile, SeekStaysWithinTheCapacity) {
    MFILE* file = file_with("a", "12345");  // size 5, capacity 1024
    ASSERT_EQ(file->data.size(), 1024u);
    struct Case {
        int64_t start;
        int64_t offset;
        int origin;
        int rc;
        int64_t position;
    };
    constexpr Case kCases[] = {
        {2, 0, 0, 0, 0},       {2, 1024, 0, 0, 1024}, {2, 1025, 0, -1, 2},      {2, -1, 0, -1, 2},
        {2, 3, 1, 0, 5},       {2, -3, 1, -1, 2},     {2, 1022, 1, 0, 1024},    {2, 2, 2, 0, 7},
        {2, -5, 2, 0, 0},      {2, -6, 2, -1, 2},     {2, 1020, 2, -1, 2},      {2, 0, 3, -1, 2},
        {2, INT64_MAX, 1, -1, 2},
    };
    for (const Case& c : kCases) {
        file->position = c.start;
        EXPECT_EQ(mseek(file, c.offset, c.origin), c.rc) << c.offset << " from " << c.origin;
        EXPECT_EQ(mtell(file), c.position) << c.offset << " from " << c.origin;
    }
    // Between the size and the capacity: nothing to read.
    ASSERT_EQ(mseek(file, 100, 0), 0);
    char byte;
    EXPECT_EQ(mread(&byte, 1, 1, file), 0u);
}

TEST_F(MemFile, SingleByteWritesGrowGeometrically) {
    MFILE* file = mopen("big", "wb");
    ASSERT_NE(file, nullptr);
    std::set<size_t> capacities;
    for (int i = 0; i < 5000; ++i) {
        char byte = static_cast<char>('a' + i % 26);
        ASSERT_EQ(mwrite(&byte, 1, 1, file), 1u);
        capacities.insert(file->data.size());
    }
    EXPECT_EQ(file->size, 5000u);
    EXPECT_GE(capacities.size(), 3u);  // grew at least twice from 1024
    EXPECT_GT(file->data.size(), 5001u);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(file->data[i], static_cast<char>('a' + i % 26)) << i;
}

TEST_F(MemFile, LargeWritesReallocateRarely) {
    MFILE* file = mopen("big", "wb");
    ASSERT_NE(file, nullptr);
    const std::string chunk(1 << 16, 'x');
    std::set<size_t> capacities;
    for (int i = 0; i < 400; ++i) {  // 25 MiB
        ASSERT_EQ(mwrite(chunk.data(), chunk.size(), 1, file), 1u);
        capacities.insert(file->data.size());
    }
    EXPECT_EQ(file->size, 400u << 16);
    EXPECT_LE(capacities.size(), 16u);
}

TEST_F(MemFile, WriteIntoTheMiddleKeepsTheSize) {
    MFILE* file = file_with("a", "abcdef");
    ASSERT_EQ(mseek(file, 2, 0), 0);
    EXPECT_EQ(mwrite("XY", 1, 2, file), 2u);
    EXPECT_EQ(content_of(file), "abXYef");
    EXPECT_EQ(mtell(file), 4);
    // Writing past the end after a seek leaves zero bytes in the gap.
    ASSERT_EQ(mseek(file, 8, 0), 0);
    EXPECT_EQ(mwrite("Z", 1, 1, file), 1u);
    EXPECT_EQ(content_of(file), std::string("abXYef\0\0Z", 9));
}

TEST_F(MemFile, WriteThatCannotBeHeldFailsAndChangesNothing) {
    MFILE* file = file_with("a", "abc");
    struct Case {
        size_t item_size;
        size_t item_count;
    };
    constexpr Case kCases[] = {{SIZE_MAX / 2 + 1, 2}, {1, SIZE_MAX}, {SIZE_MAX, 1}};
    for (const Case& c : kCases) {
        file->state = kOpen;
        ASSERT_EQ(mseek(file, 3, 0), 0);
        EXPECT_EQ(mwrite("q", c.item_size, c.item_count, file), 0u);
        EXPECT_EQ(file->state, kWriteFailed);
        EXPECT_EQ(merror_text(), "mwrite() malloc()");
        EXPECT_EQ(content_of(file), "abc");
        EXPECT_EQ(file->data.size(), 1024u);
        EXPECT_EQ(mtell(file), 3);
    }
}

TEST_F(MemFile, ListSizeAndFindFollowTheTable) {
    file_with("c", "ccc");
    file_with("a", "a");
    file_with("b", "bb");
    mremove("a");
    EXPECT_EQ(mlist(), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(msize("b"), 2u);
    EXPECT_EQ(msize("a"), 0u);
    EXPECT_EQ(msize("B"), 0u);  // names compare byte for byte
    ASSERT_NE(mfind("c"), nullptr);
    EXPECT_EQ(content_of(mfind("c")), "ccc");
    EXPECT_EQ(mfind("a"), nullptr);
    EXPECT_EQ(mfreeall(), 0);
    EXPECT_EQ(mcount(), 0u);
    EXPECT_EQ(mfind("c"), nullptr);
}

TEST_F(MemFile, CopyMovesTheTableAsideAndBack) {
    MFILE* a = file_with("xl/a.xml", "A");
    file_with("xl/b.xml", "BB");
    file_with("gone", "");
    mremove("gone");
    a->saved_position = 42;

    EXPECT_EQ(mcopy(0), 0);
    EXPECT_EQ(mcount(), 0u);
    EXPECT_EQ(mfind("xl/a.xml"), nullptr);
    // The other book's files, discarded when the saved ones come back.
    file_with("xl/a.xml", "other book");
    file_with("other.xml", "o");

    EXPECT_EQ(mcopy(1), 0);
    EXPECT_EQ(mcount(), 3u);
    EXPECT_EQ(mlist(), (std::vector<std::string>{"xl/a.xml", "xl/b.xml"}));
    EXPECT_EQ(mfind("xl/a.xml"), a);
    EXPECT_EQ(content_of(a), "A");
    EXPECT_EQ(a->saved_position, 42);
    EXPECT_EQ(content_of(mfind("xl/b.xml")), "BB");
    EXPECT_EQ(mfind("other.xml"), nullptr);
    // Nothing is left aside: bringing back again empties the table.
    EXPECT_EQ(mcopy(1), 0);
    EXPECT_EQ(mcount(), 0u);
}

TEST_F(MemFile, SwapBookExportMovesTheTable) {
    file_with("a", "1");
    EXPECT_EQ(TOVA_swap_book(0), 0);
    EXPECT_EQ(mcount(), 0u);
    file_with("b", "2");
    EXPECT_EQ(TOVA_swap_book(0), 0);  // sets "b" aside, in place of "a"
    EXPECT_EQ(TOVA_swap_book(7), 0);
    EXPECT_EQ(mlist(), std::vector<std::string>{"b"});
}

TEST_F(MemFile, TableHoldsAtMostTheLimit) {
    for (size_t i = 0; i < MFILE_MAX_OPEN_FILES; ++i) {
        std::string name = "f" + std::to_string(i);
        ASSERT_NE(mopen(name, "wb"), nullptr) << i;
        mempty(name);  // keeps the test's memory small
    }
    EXPECT_EQ(mopen("one more", "wb"), nullptr);
    EXPECT_EQ(merror_text(), "mopen() Mfile_ct >= MFILE_MAX_OPEN_FILES");
    write_disk_file(path("disk"), "d");
    EXPECT_EQ(mopen(path("disk"), "rb"), nullptr);
    EXPECT_EQ(merror_text(), "mopen() Mfile_ct >= MFILE_MAX_OPEN_FILES");
    EXPECT_EQ(mcount(), MFILE_MAX_OPEN_FILES);
    // Names already in the table still open.
    EXPECT_NE(mopen("f5", "wb"), nullptr);
    EXPECT_NE(mopen("f6", "rb"), nullptr);
}

class Unload : public test::PlatformTest {
protected:
    std::string out_dir() const { return path("out"); }
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(::mkdir(out_dir().c_str(), 0700), 0);
    }
};

TEST_F(Unload, WritesEveryFileAsARelativePath) {
    file_with("[Content_Types].xml", "<Types/>");
    file_with("xl/workbook.xml", "<workbook/>");
    file_with("xl/worksheets/sheet1.xml", "<worksheet/>");
    file_with("docProps\\app.xml", "<Properties/>");
    file_with("empty.bin", "");
    file_with("removed.xml", "r");
    mremove("removed.xml");

    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, out_dir()), 0);
    struct Expected {
        const char* relative;
        const char* content;
    };
    constexpr Expected kFiles[] = {
        {"[Content_Types].xml", "<Types/>"},        {"xl/workbook.xml", "<workbook/>"},
        {"xl/worksheets/sheet1.xml", "<worksheet/>"}, {"docProps/app.xml", "<Properties/>"},
        {"empty.bin", ""},
    };
    for (const Expected& e : kFiles) {
        std::string file = out_dir() + "/" + e.relative;
        EXPECT_EQ(read_disk_file(file), e.content) << e.relative;
        struct stat status {};
        ASSERT_EQ(::lstat(file.c_str(), &status), 0) << e.relative;
        EXPECT_TRUE(S_ISREG(status.st_mode)) << e.relative;
        EXPECT_EQ(status.st_mode & 077, 0u) << e.relative;
    }
    EXPECT_FALSE(std::filesystem::exists(out_dir() + "/removed.xml"));
    // Unloading leaves the files in the table.
    EXPECT_EQ(mlist().size(), 5u);
}

TEST_F(Unload, RefusesNamesThatLeaveTheDirectory) {
    const char* kNames[] = {"../x", "/etc/x", "a/../../x", "C:x", "c:/x", "a//x", "a/", "\\x", "a\\..\\x", ".."};
    for (const char* name : kNames) {
        mfreeall();
        file_with(name, "payload");
        EXPECT_EQ(tob_unload_mfile(enc::kShiftJis, out_dir()), -1) << name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(out_dir()));
    EXPECT_FALSE(std::filesystem::exists(path("x")));
}

TEST_F(Unload, StopsAtTheFirstRefusedName) {
    file_with("first.xml", "1");
    file_with("../escape.xml", "2");
    file_with("last.xml", "3");
    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, out_dir()), -1);
    EXPECT_EQ(read_disk_file(out_dir() + "/first.xml"), "1");
    EXPECT_FALSE(std::filesystem::exists(out_dir() + "/last.xml"));
    EXPECT_FALSE(std::filesystem::exists(path("escape.xml")));
}

TEST_F(Unload, NeverWritesThroughASymbolicLink) {
    ASSERT_EQ(::mkdir(path("outside").c_str(), 0700), 0);
    write_disk_file(path("outside/target.xml"), "keep");
    ASSERT_EQ(::symlink(path("outside").c_str(), (out_dir() + "/xl").c_str()), 0);
    ASSERT_EQ(::symlink(path("outside/target.xml").c_str(), (out_dir() + "/link.xml").c_str()), 0);

    file_with("xl/sheet.xml", "s");
    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, out_dir()), -1);
    mfreeall();
    file_with("link.xml", "overwritten");
    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, out_dir()), -101);

    EXPECT_FALSE(std::filesystem::exists(path("outside/sheet.xml")));
    EXPECT_EQ(read_disk_file(path("outside/target.xml")), "keep");
}

TEST_F(Unload, RefusesPathsDeeperThanThirtyDirectories) {
    std::string name;
    for (int i = 0; i < 31; ++i) name += "d/";
    file_with(name + "f.xml", "deep");
    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, out_dir()), -1);
    EXPECT_TRUE(std::filesystem::is_empty(out_dir()));
}

TEST_F(Unload, MissingDirectoryFails) {
    file_with("a.xml", "a");
    EXPECT_EQ(tob_unload_mfile(enc::kUtf8, path("no-such-dir")), -1);
}

}  // namespace
}  // namespace tova
