// Recalculation times of long chains and deep diamonds of formulas, in both
// orders: formulas reading cells above them (evaluated as the pass meets them)
// and formulas reading cells below them (each one waiting on the next).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "api/work_area.hpp"
#include "calc/recalc.hpp"
#include "model/cell_store.hpp"
#include "tova_api.h"

namespace {

struct Scenario {
    const char* title;
    int cells;
    bool reads_below;
    bool twice;  // each formula adds the cell it reads to itself (a diamond)
    const char* expected;
};

constexpr Scenario kScenarios[] = {
    {"chain of 100000 formulas, each reading the one above", 100000, false, false, "100000"},
    {"chain of 100000 formulas, each reading the one below", 100000, true, false, "100000"},
    {"diamond of 30 levels, each summing the one above twice", 31, false, true, "1073741824"},
    {"diamond of 30 levels, each summing the one below twice", 31, true, true, "1073741824"},
};

std::string formula_reading(int row_one_based, bool twice) {
    const std::string cell = "A" + std::to_string(row_one_based);
    return "=" + cell + "+" + (twice ? cell : "1");
}

int run(const Scenario& s) {
    XLS_BOOK* book = static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)));
    if (book == nullptr || TOVA_open_book(book, "CHARSET=UTF8") != 0 || TOVA_open_sheet(book, "SHEET_NAME=Bench") != 0)
        return 1;
    const int seed_row = s.reads_below ? s.cells : 1;
    for (int r = 1; r <= s.cells; ++r) {
        const std::string reference = "A" + std::to_string(r);
        const std::string value = r == seed_row ? "1" : formula_reading(s.reads_below ? r + 1 : r - 1, s.twice);
        if (TOVA_put_cell(book, reference.c_str(), value.c_str(), 0) != 0) return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const int rc = tova::calc::tob_recalculate(*book);
    const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);

    const int last_row = s.reads_below ? 0 : s.cells - 1;
    const tova::model::Cell& last = tova::work_area(*book)->book.sheets[0].rows[last_row].cells[0];
    const bool right = rc == 0 && last.kind == tova::model::kFormulaResult && last.formula->result == s.expected;
    std::printf("%-58s %9.3f ms %s\n", s.title, elapsed.count(), right ? "" : "WRONG RESULT");
    TOVA_free_book(book);
    std::free(book);
    return right ? 0 : 1;
}

}  // namespace

int main() {
    int failures = 0;
    for (const Scenario& s : kScenarios) failures += run(s);
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
