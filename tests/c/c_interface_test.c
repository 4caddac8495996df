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
