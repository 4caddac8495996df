/* The C interface from C99: the record, the version and the reference exports. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tova_api.h"

static int failures = 0;

#define CHECK(cond)                                                      \
    do {                                                                 \
        if (!(cond)) {                                                   \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                  \
        }                                                                \
    } while (0)

int main(void) {
    XLS_BOOK* book = (XLS_BOOK*)calloc(1, sizeof(XLS_BOOK));
    char text[32];

    CHECK(sizeof(XLS_BOOK) == 108824);
    CHECK(book != NULL);

    CHECK(TOVA_version(book, text) == 0);
    CHECK(strcmp(text, "2.1.0.0") == 0);

    /* A zero-filled record: an empty message, code 0. */
    CHECK(TOVA_error_code(book) == 0);
    CHECK(TOVA_error_mesg(book) != NULL && TOVA_error_mesg(book)[0] == '\0');

    CHECK(TOVA_cell_name(1048576, 16384, text) == 0 && strcmp(text, "XFD1048576") == 0);
    CHECK(TOVA_cell_name(1048577, 1, text) == -3 && text[0] == '\0');
    CHECK(TOVA_cell_name(1, 16385, text) == -3 && text[0] == '\0');
    CHECK(TOVA_cell_name(0, 1, text) == -3);
    CHECK(TOVA_cell_range(1, 1, 2, 2, text) == 0 && strcmp(text, "A1:B2") == 0);
    CHECK(TOVA_cell_range(1, 1, 1048577, 2, text) == -3 && text[0] == '\0');

    /* Through an opened book: references at their bounds, a message in UTF-8. */
    {
        int row = 0, column = 0, r2 = 0, c2 = 0;
        CHECK(TOVA_open_book(book, "CHARSET=UTF8") == 0);
        CHECK(TOVA_open_sheet(book, "SHEET_NAME=S") == 0);
        CHECK(TOVA_is_cell(book, "XFD1048576", &row, &column) == 0 && row == 1048576 && column == 16384);
        CHECK(TOVA_is_cell(book, "A1048577", &row, &column) == -801 && row == 0 && column == 0);
        CHECK(TOVA_is_cell(book, "XFE1", &row, &column) == -801);
        CHECK(TOVA_is_range(book, "B2:A1", &row, &column, &r2, &c2) == 0 && row == 2 && column == 2 && r2 == 1 && c2 == 1);
        CHECK(TOVA_put_values(book, "A1=10 A2=20") == 0);
        CHECK(TOVA_row_num(book) == 2);
        CHECK(TOVA_column_num(book, 0) == 1);
        CHECK(TOVA_put_cell(book, "A0", "1", 0) == -3);
        CHECK(TOVA_error_code(book) == -3);
        CHECK(strcmp(TOVA_error_mesg(book), "TOVA-02300 \xE3\x82\xBB\xE3\x83\xAB\xE6\x8C\x87\xE5\xAE\x9A"
                                            "\xE5\x80\xA4\xE3\x81\x8C\xE4\xB8\x8D\xE6\xAD\xA3\xE3\x81\xA7"
                                            "\xE3\x81\x99(\"A0\")\xE3\x80\x82") == 0);
        CHECK(TOVA_close_book(book, "DESTROY") == 0);
    }

    CHECK(TOVA_set_property(book, "x") == 0);
    CHECK(TOVA_free_book(book) == 0);
    CHECK(TOVA_free_book(book) == 0);
    free(book);

    if (failures) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    puts("C interface: all checks passed");
    return 0;
}
