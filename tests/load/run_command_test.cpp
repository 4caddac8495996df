// The tova command's run: a statement file into a saved workbook.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "load_fixture.hpp"
#include "platform/encoding.hpp"
#include "support/readers.hpp"

namespace tova {
namespace {

// The command beside the test program's directory (build/tests/tova_tests, build/tova).
std::string tova_command() {
    if (const char* build = std::getenv("TOVA_BUILD_DIR")) return std::string(build) + "/tova";
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tova").string();
}

class RunCommand : public test::LoadTest {
protected:
    void SetUp() override {
        LoadTest::SetUp();
        if (::access(tova_command().c_str(), X_OK) != 0) GTEST_SKIP() << "the tova command is not built";
    }
    test::CommandResult tova(const std::string& arguments) {
        return test::run_command("cd " + test::shell_quote(dir_) + " && " + test::shell_quote(tova_command()) + " " +
                                 arguments + " 2>&1");
    }
};

TEST_F(RunCommand, RunsAStatementFileAndSaves) {
    const std::string statements = enc::conv_charset(enc::kUtf8, enc::kShiftJis,
                                                     "! 見出しの行\r\nA1=見出し B1=123\r\nA2=\"二行の\r\n値\"\r\n");
    write_file("report.txt", statements);
    test::CommandResult run = tova("run report.txt -o out.xlsx --charset SJIS");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "wrote " + dir_ + "/out.xlsx (1 sheet)\n");

    test::CommandResult cells = test::openpyxl_cells(dir_ + "/out.xlsx");
    if (cells.status == 77) GTEST_SKIP() << "openpyxl is missing";
    ASSERT_EQ(cells.status, 0) << cells.output;
    EXPECT_NE(cells.output.find("#sheet\tSheet1\t"), std::string::npos) << cells.output;
    EXPECT_NE(cells.output.find("A1\ts\t見出し\t"), std::string::npos) << cells.output;
    EXPECT_NE(cells.output.find("B1\tn\t123\t"), std::string::npos) << cells.output;
    EXPECT_NE(cells.output.find("A2\ts\t二行の\\n値\t"), std::string::npos) << cells.output;
}

TEST_F(RunCommand, NamesTheBookAfterTheFile) {
    write_file("monthly.stmt", "A1=1\n");
    test::CommandResult run = tova("run monthly.stmt");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "wrote " + dir_ + "/monthly.xlsx (1 sheet)\n");
    EXPECT_TRUE(std::filesystem::exists(dir_ + "/monthly.xlsx"));
}

TEST_F(RunCommand, AFailingStatementSavesNothing) {
    write_file("bad.txt", "A1=1\nA1.NO_SUCH_WORD=2\n");
    test::CommandResult run = tova("run bad.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("TOVA-02200"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/bad.xlsx"));
    EXPECT_EQ(tova("run").status, 2);
}

}  // namespace
}  // namespace tova
