// Times of range statements: one statement over 100,000 and 1,000,000 cells,
// on blank cells (all sharing one format) and on cells whose formats alternate
// from cell to cell (every cell needs its own look-up). The time per cell should stay
// flat as the range grows.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "api/work_area.hpp"
#include "model/styles.hpp"
#include "tova_api.h"

namespace {

struct Scenario {
    const char* title;
    const char* statement;  // after the range
    int rows;               // of ten columns
    bool alternating;       // cells hold integers and dates in turn, so neighbours differ in format
};

constexpr Scenario kScenarios[] = {
    {"FONT.SIZE on 10,000 blank cells", "FONT.SIZE=14", 1000, false},
    {"FONT.SIZE on 100,000 blank cells", "FONT.SIZE=14", 10000, false},
    {"FONT.SIZE on 1,000,000 blank cells", "FONT.SIZE=14", 100000, false},
    {"BORDER on 100,000 blank cells", "BORDER=thin", 10000, false},
    {"BORDER on 1,000,000 blank cells", "BORDER=thin", 100000, false},
    {"FILL.COLOR on 10,000 cells of alternating formats", "FILL.COLOR=YELLOW", 1000, true},
    {"FILL.COLOR on 100,000 cells of alternating formats", "FILL.COLOR=YELLOW", 10000, true},
    {"FILL.COLOR on 1,000,000 cells of alternating formats", "FILL.COLOR=YELLOW", 100000, true},
};

int run(const Scenario& s) {
    XLS_BOOK* book = static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)));
    if (book == nullptr || TOVA_open_book(book, "CHARSET=UTF8") != 0 || TOVA_open_sheet(book, "SHEET_NAME=Bench") != 0)
        return 1;
    if (s.alternating) {
        for (int r = 1; r <= s.rows; ++r)
            for (char column = 'A'; column <= 'J'; ++column) {
                const std::string reference = column + std::to_string(r);
                if (TOVA_put_cell(book, reference.c_str(), (r + column) % 2 ? "12" : "2024/02/29", 0) != 0) return 1;
            }
    }
    const std::string statement = "A1:J" + std::to_string(s.rows) + "." + s.statement;
    const auto start = std::chrono::steady_clock::now();
    const int rc = TOVA_put_values(book, statement.c_str());
    const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);

    const double cells = s.rows * 10.0;
    std::printf("%-56s %10.3f ms %8.1f ns/cell %5d cell formats%s\n", s.title, elapsed.count(),
                elapsed.count() * 1e6 / cells, tova::model::styles_of(*book).xfs.size(), rc == 0 ? "" : " FAILED");
    TOVA_free_book(book);
    std::free(book);
    return rc == 0 ? 0 : 1;
}

}  // namespace

int main() {
    int failures = 0;
    for (const Scenario& s : kScenarios) failures += run(s);
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
