#include "platform/qfs.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/encoding.hpp"
#include "platform/mfile.hpp"
#include "platform/platform_fixture.hpp"

namespace tova {
namespace {

using namespace qfs;
using test::read_disk_file;
using test::ScopedEnv;
using test::write_disk_file;

class Qfs : public test::PlatformTest {
protected:
    // Opens `name` in `mode`, writes `text` and closes; false when it cannot be opened.
    bool write_with_mode(const std::string& name, int mode, const std::string& text) {
        QfsFile* file = qfs_open(path(name), mode);
        if (file == nullptr) return false;
        EXPECT_EQ(qfs_write(text.data(), text.size(), file), text.size());
        qfs_close(file);
        return true;
    }
};

mode_t mode_of(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST_F(Qfs, OpenModesCreateTruncateAppendAndKeep) {
    struct Case {
        int mode;
        const char* before;  // null: no file beforehand
        bool opens;
        const char* after;
    };
    constexpr Case kCases[] = {
        {kRead, nullptr, false, nullptr},  {kRead, "abc", true, "abc"},
        {kWrite, nullptr, true, "XY"},     {kWrite, "abcdef", true, "XY"},
        {kAppend, nullptr, true, "XY"},    {kAppend, "abc", true, "abcXY"},
        {kReadWrite, nullptr, true, "XY"}, {kReadWrite, "abcdef", true, "XYcdef"},
        {0, "abc", false, "abc"},          {5, nullptr, false, nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " before " << (c.before ? c.before : "-"));
        const std::string name = "f" + std::to_string(&c - kCases);
        if (c.before) write_disk_file(path(name), c.before);
        bool opened = write_with_mode(name, c.mode, c.mode == kRead ? "" : "XY");
        EXPECT_EQ(opened, c.opens);
        if (c.after) {
            EXPECT_EQ(read_disk_file(path(name)), c.after);
        } else {
            EXPECT_FALSE(std::filesystem::exists(path(name)));
        }
    }
}

TEST_F(Qfs, ReadReturnsWhatTheFileHolds) {
    write_disk_file(path("r"), "0123456789");
    QfsFile* file = qfs_open(path("r"), kRead);
    ASSERT_NE(file, nullptr);
    char buffer[32];
    EXPECT_EQ(qfs_read(buffer, 4, file), 4u);
    EXPECT_EQ(qfs_read(buffer, sizeof buffer, file), 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_EQ(qfs_read(buffer, sizeof buffer, file), 0u);
    EXPECT_EQ(qfs_write("x", 1, file), 0u);  // opened for reading only
    qfs_close(file);
    EXPECT_EQ(qfs_read(buffer, 1, nullptr), 0u);
}

TEST_F(Qfs, SeekOriginsAreStartEndCurrent) {
    write_disk_file(path("s"), "0123456789");
    QfsFile* file = qfs_open(path("s"), kRead);
    ASSERT_NE(file, nullptr);
    struct Case {
        int64_t offset;
        int origin;
        int rc;
        char next;  // the byte read afterwards
    };
    constexpr Case kCases[] = {
        {3, kFromStart, 0, '3'}, {-2, kFromEnd, 0, '8'},  {-5, kFromCurrent, 0, '4'},
        {2, kFromCurrent, 0, '7'}, {-1, kFromStart, -104, '8'}, {0, 0, -3, '9'},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(qfs_seek(file, c.offset, c.origin), c.rc) << c.offset << " from " << c.origin;
        char byte = 0;
        EXPECT_EQ(qfs_read(&byte, 1, file), 1u);
        EXPECT_EQ(byte, c.next) << c.offset << " from " << c.origin;
    }
    EXPECT_EQ(qfs_seek(file, 0, 4), -3);
    qfs_close(file);
}

TEST_F(Qfs, SizeOfRegularFilesOnly) {
    write_disk_file(path("sized"), std::string(1234, 'z'));
    int64_t size = -7;
    EXPECT_EQ(qfs_fsze(path("sized"), size), 0);
    EXPECT_EQ(size, 1234);
    EXPECT_EQ(qfs_fsze(path("missing"), size), -101);
    EXPECT_EQ(qfs_fsze(scratch_, size), -1);
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(qfs_fsze(path("fifo"), size), -1);  // and does not block
    EXPECT_EQ(size, 1234);
}

TEST_F(Qfs, LoadReadsTheWholeFileFromDiskOrMemory) {
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i);
    write_disk_file(path("disk.bin"), content);
    std::vector<char> out{'o', 'l', 'd'};
    EXPECT_EQ(qfs_load(1, path("disk.bin"), out), 0);
    EXPECT_EQ(std::string(out.begin(), out.end()), content);

    mem::MFILE* file = mem::mopen("memory.xml", "wb");
    ASSERT_NE(file, nullptr);
    mem::mwrite("<x/>", 1, 4, file);
    EXPECT_EQ(qfs_load(0, "memory.xml", out), 0);
    EXPECT_EQ(std::string(out.begin(), out.end()), "<x/>");
    EXPECT_EQ(file->state, mem::kClosed);

    EXPECT_EQ(qfs_load(1, path("missing"), out), -101);
    EXPECT_EQ(qfs_load(0, path("missing"), out), -101);
    EXPECT_EQ(qfs_load(1, scratch_, out), -101);
    EXPECT_EQ(std::string(out.begin(), out.end()), "<x/>");  // untouched by failures
}

TEST_F(Qfs, CopyBetweenDiskFiles) {
    std::string content(70000, 'c');
    content[69999] = 'E';
    write_disk_file(path("src"), content);
    write_disk_file(path("dst"), std::string(100000, 'o'));
    EXPECT_EQ(qfs_copy(1, path("dst"), path("src")), 0);
    EXPECT_EQ(read_disk_file(path("dst")), content);
    // Onto itself (also through a second name): the content survives.
    ASSERT_EQ(::link(path("src").c_str(), path("alias").c_str()), 0);
    EXPECT_EQ(qfs_copy(1, path("alias"), path("src")), 0);
    EXPECT_EQ(read_disk_file(path("src")), content);

    EXPECT_EQ(qfs_copy(1, path("dst"), path("missing")), -101);
    EXPECT_EQ(qfs_copy(1, path("no/such/dir/dst"), path("src")), -101);
}

TEST_F(Qfs, CopyBetweenMemoryFiles) {
    mem::MFILE* source = mem::mopen("a.xml", "wb");
    ASSERT_NE(source, nullptr);
    mem::mwrite("content", 1, 7, source);
    EXPECT_EQ(qfs_copy(0, "b.xml", "a.xml"), 0);
    ASSERT_NE(mem::mfind("b.xml"), nullptr);
    EXPECT_EQ(mem::msize("b.xml"), 7u);
    EXPECT_EQ(std::string(mem::mfind("b.xml")->data.data(), 7), "content");
    EXPECT_EQ(qfs_copy(0, "a.xml", "a.xml"), 0);
    EXPECT_EQ(mem::msize("a.xml"), 7u);
    EXPECT_EQ(qfs_copy(0, "c.xml", path("missing")), -101);
    EXPECT_EQ(mem::mfind("c.xml"), nullptr);
}

TEST_F(Qfs, MkdirAcceptsAnExistingDirectory) {
    EXPECT_EQ(qfs_mkdir(path("d")), 0);
    EXPECT_EQ(qfs_mkdir(path("d")), 0);
    EXPECT_EQ(qfs_mkdir(path("x/y")), -1);
    write_disk_file(path("file"), "");
    EXPECT_EQ(qfs_mkdir(path("file")), -1);
    EXPECT_EQ(qfs_mkdir(""), -1);
}

TEST_F(Qfs, MkdirsCreatesTheDirectoriesAndLeavesTheFileName) {
    struct Case {
        const char* relative;
        int rc;
        const char* file;
        const char* directory;  // made below the base
    };
    constexpr Case kCases[] = {
        {"xl/worksheets/sheet1.xml", 0, "sheet1.xml", "xl/worksheets"},
        {"docProps\\app.xml", 0, "app.xml", "docProps"},
        {"plain.xml", 0, "plain.xml", nullptr},
        {"xl/worksheets/sheet2.xml", 0, "sheet2.xml", "xl/worksheets"},  // already there
        {"../up.xml", -1, "../up.xml", nullptr},
        {"/abs/x.xml", -1, "/abs/x.xml", nullptr},
        {"a//x.xml", -1, "a//x.xml", nullptr},
        {"D:x.xml", -1, "D:x.xml", nullptr},
    };
    for (const Case& c : kCases) {
        std::string relative = c.relative;
        EXPECT_EQ(qfs_mkdirs(enc::kShiftJis, scratch_, relative), c.rc) << c.relative;
        EXPECT_EQ(relative, c.file) << c.relative;
        if (c.directory) {
            EXPECT_TRUE(std::filesystem::is_directory(path(c.directory))) << c.relative;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path("../up.xml")));
    EXPECT_FALSE(std::filesystem::exists("/abs"));
}

TEST_F(Qfs, MkdirsAllowsThirtyLevels) {
    std::string thirty, thirty_one;
    for (int i = 0; i < 30; ++i) thirty += "d/";
    thirty_one = thirty + "e/";
    std::string relative = thirty + "f";
    EXPECT_EQ(qfs_mkdirs(enc::kUtf8, scratch_, relative), 0);
    EXPECT_EQ(relative, "f");
    EXPECT_TRUE(std::filesystem::is_directory(path(thirty)));
    relative = thirty_one + "f";
    EXPECT_EQ(qfs_mkdirs(enc::kUtf8, scratch_, relative), -9);
    EXPECT_FALSE(std::filesystem::exists(path(thirty_one)));
}

TEST_F(Qfs, MkdirsDoesNotEnterASymbolicLink) {
    ASSERT_EQ(::mkdir(path("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(path("base").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(path("elsewhere").c_str(), path("base/xl").c_str()), 0);
    std::string relative = "xl/media/image1.png";
    EXPECT_EQ(qfs_mkdirs(enc::kUtf8, path("base"), relative), -1);
    EXPECT_FALSE(std::filesystem::exists(path("elsewhere/media")));
}

TEST_F(Qfs, MkdirsWithoutBaseWorksInTheCurrentDirectory) {
    std::string before = std::filesystem::current_path();
    std::filesystem::current_path(scratch_);
    std::string relative = "sub/file.txt";
    int rc = qfs_mkdirs(enc::kUtf8, "", relative);
    std::filesystem::current_path(before);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(std::filesystem::is_directory(path("sub")));
}

TEST_F(Qfs, RmtreeRemovesATreeWithoutFollowingLinks) {
    ASSERT_EQ(::mkdir(path("keep").c_str(), 0700), 0);
    write_disk_file(path("keep/precious"), "p");
    const std::string tree = path("tree");
    std::filesystem::create_directories(tree + "/a/b/c");
    write_disk_file(tree + "/top.txt", "t");
    write_disk_file(tree + "/a/b/c/deep.txt", "d");
    ASSERT_EQ(::mkfifo((tree + "/a/fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(path("keep").c_str(), (tree + "/a/dirlink").c_str()), 0);
    ASSERT_EQ(::symlink(path("keep/precious").c_str(), (tree + "/filelink").c_str()), 0);

    std::string cwd = std::filesystem::current_path();
    EXPECT_EQ(qfs_rmtree(tree), 0);
    EXPECT_EQ(std::filesystem::current_path(), cwd);
    EXPECT_FALSE(std::filesystem::exists(tree));
    EXPECT_EQ(read_disk_file(path("keep/precious")), "p");
}

TEST_F(Qfs, RmtreeOfALinkRemovesOnlyTheLink) {
    ASSERT_EQ(::mkdir(path("target").c_str(), 0700), 0);
    write_disk_file(path("target/inside"), "i");
    ASSERT_EQ(::symlink(path("target").c_str(), path("link").c_str()), 0);
    EXPECT_EQ(qfs_rmtree(path("link")), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(path("link")));
    EXPECT_EQ(read_disk_file(path("target/inside")), "i");
    EXPECT_EQ(qfs_rmtree(path("never-there")), 0);
}

TEST_F(Qfs, CreateBelowMakesAnOwnerOnlyFile) {
    QfsFile* file = nullptr;
    ASSERT_EQ(qfs_create_below(enc::kUtf8, scratch_, "xl/_rels/workbook.xml.rels", file), 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(qfs_write("rels", 4, file), 4u);
    qfs_close(file);
    EXPECT_EQ(read_disk_file(path("xl/_rels/workbook.xml.rels")), "rels");
    EXPECT_EQ(mode_of(path("xl/_rels/workbook.xml.rels")), 0600u);

    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(qfs_create_below(enc::kUtf8, scratch_, "fifo", file), -101);  // and does not block
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(qfs_create_below(enc::kUtf8, scratch_, "../x", file), -1);
}

size_t open_descriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST_F(Qfs, NoDescriptorIsLeftOpen) {
    write_disk_file(path("file"), "content");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(path("dir").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(path("dir").c_str(), path("link").c_str()), 0);
    const size_t before = open_descriptors();
    int64_t size;
    std::vector<char> out;
    std::string relative;
    QfsFile* file = nullptr;
    qfs_fsze(path("file"), size);
    qfs_fsze(path("fifo"), size);
    qfs_fsze(scratch_, size);
    qfs_load(1, path("file"), out);
    qfs_load(1, path("fifo"), out);
    qfs_copy(1, path("copy"), path("file"));
    qfs_copy(1, path("file"), path("file"));
    qfs_copy(1, path("no/dir"), path("file"));
    relative = "link/x/y";
    qfs_mkdirs(enc::kUtf8, scratch_, relative);
    relative = "dir/x/y";
    qfs_mkdirs(enc::kUtf8, scratch_, relative);
    qfs_create_below(enc::kUtf8, scratch_, "fifo", file);
    qfs_create_below(enc::kUtf8, scratch_, "dir/new", file);
    qfs_close(file);
    qfs_close(qfs_open(path("file"), kAppend));
    mem::mopen(path("file"), "rb");
    mem::mopen(scratch_, "rb");
    qfs_rmtree(path("dir"));
    EXPECT_EQ(open_descriptors(), before);
}

class TempDir : public test::PlatformTest {};

TEST_F(TempDir, BaseIsTempThenTmpdirThenSlashTmp) {
    const std::string too_long = "/" + std::string(256, 'l');
    struct Case {
        std::optional<std::string> temp;
        std::optional<std::string> tmpdir;
        const char* base;
    };
    const Case cases[] = {
        {"/t/emp", "/t/mpdir", "/t/emp"},
        {std::nullopt, "/t/mpdir", "/t/mpdir"},
        {std::nullopt, std::nullopt, "/tmp"},
        {too_long, "/t/mpdir", "/t/mpdir"},
        {too_long, too_long, "/tmp"},
        {"", "/t/mpdir", "/t/mpdir"},
        {"relative", std::nullopt, "/tmp"},
        {"/t/slashes//", std::nullopt, "/t/slashes"},
        {"/", std::nullopt, "/"},
        {"/" + std::string(255, 'k'), std::nullopt, nullptr},  // 256 bytes: still taken
    };
    for (const Case& c : cases) {
        ScopedEnv temp("TEMP", c.temp);
        ScopedEnv tmpdir("TMPDIR", c.tmpdir);
        std::string expected = c.base ? c.base : *c.temp;
        EXPECT_EQ(temp_base(), expected) << c.temp.value_or("-") << " " << c.tmpdir.value_or("-");
    }
}

TEST_F(TempDir, PreparedOwnerOnlyAndReused) {
    ScopedEnv temp("TEMP", scratch_);
    std::string out;
    ASSERT_EQ(pel_prepare_tempdir("QVtemp", out), 0);
    EXPECT_EQ(out, path("QVtemp"));
    EXPECT_EQ(mode_of(out), 0700u);
    write_disk_file(out + "/inside", "i");
    std::string again;
    EXPECT_EQ(pel_prepare_tempdir("QVtemp", again), 0);
    EXPECT_EQ(again, out);
    EXPECT_EQ(read_disk_file(out + "/inside"), "i");
}

TEST_F(TempDir, RefusedWhenSomethingElseSitsAtItsPath) {
    ScopedEnv temp("TEMP", scratch_);
    ASSERT_EQ(::mkdir(path("real").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(path("real").c_str(), path("link").c_str()), 0);
    ASSERT_EQ(::mkdir(path("open").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path("open").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(path("group").c_str(), 0700), 0);
    ASSERT_EQ(::chmod(path("group").c_str(), 0710), 0);
    write_disk_file(path("file"), "");
    ASSERT_EQ(::mkdir(path("foreign").c_str(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path("foreign").c_str(), 65534, 65534), 0);
    }
    for (const char* name : {"link", "open", "group", "file", "foreign", "", ".", "..", "a/b"}) {
        if (std::string_view(name) == "foreign" && ::geteuid() != 0) continue;  // cannot give it away
        std::string out = "unchanged";
        EXPECT_EQ(pel_prepare_tempdir(name, out), -1) << name;
        EXPECT_EQ(out, "unchanged") << name;
    }
    std::string out;
    EXPECT_EQ(pel_prepare_tempdir("real", out), 0);
}

TEST_F(TempDir, RefusedWhenThePathIsTooLong) {
    std::filesystem::create_directories(path(std::string(150, 'p')));
    ScopedEnv temp("TEMP", path(std::string(150, 'p')));
    std::string out;
    std::string name(256 - temp_base().size() - 1, 'n');
    EXPECT_EQ(pel_prepare_tempdir(name, out), 0);
    EXPECT_EQ(out.size(), 256u);
    EXPECT_EQ(pel_prepare_tempdir(name + "n", out), -1);
}

}  // namespace
}  // namespace tova
