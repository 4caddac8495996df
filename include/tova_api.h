/*
 * tova_api: spreadsheet workbooks from C.
 *
 * A caller zero-fills an XLS_BOOK, opens it with TOVA_open_book, fills sheets
 * through property statements and saves it with TOVA_close_book. Every export
 * returns 0 on success and a negative code on failure; the code stays in
 * log.error_code and TOVA_error_mesg hands back the message in the book's
 * character set.
 *
 * This header compiles as C99 and as C++.
 */
#ifndef TOVA_API_H
#define TOVA_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  define TOVA_API __declspec(dllexport)
#else
#  define TOVA_API __attribute__((visibility("default")))
#endif

/* The size a caller may pass as XLS_BOOK= to TOVA_open_book, and the version text. */
#define XLS_BOOK_SIZE 108824
#define TOVA_VERSION_TEXT "2.1.0.0"

/* Option bytes of XLS_BOOK.flags: 0 means on, 0xFF means off. */
#define XLS_ON  0x00
#define XLS_OFF 0xFF
enum {
    XLS_FLAG_RESERVED = 0,
    XLS_FLAG_TEMPLATE_MODE = 1,    /* saving updates the package the book came from */
    XLS_FLAG_READ_MEMORY = 2,
    XLS_FLAG_WRITE_MEMORY = 3,
    XLS_FLAG_FILE_FALLBACK = 4,    /* writers fall back to temporary files when memory runs out */
    XLS_FLAG_AUTO_WIDTH = 5,
    XLS_FLAG_RECALC = 6,
    XLS_FLAG_UNLOAD = 7,
    XLS_FLAG_VARIABLES = 8,        /* TOVA_put_values accepts NAME=value variable definitions */
    XLS_FLAG_DESCENDING_SHEETS = 9,
    XLS_FLAG_BACKUP = 10,
    XLS_FLAG_MACRO_ENABLED = 11,
    XLS_FLAG_FINAL = 12,
    XLS_FLAG_LOAD = 13,
    XLS_FLAG_UNLOAD_NAMES = 14,
    XLS_FLAG_SHARED_FORMULAS = 15,
    XLS_FLAG_INITIALISED = 16,
    XLS_FLAG_ROWS_STREAMED = 17,
    XLS_FLAG_STRINGS_STREAMED = 18,
    XLS_FLAG_COUNT = 19
};

/* One rectangle of cells; zero-based rows and columns, corners as written. */
typedef struct XLS_RANGE {
    int32_t sheet;
    int32_t first_row;
    int32_t first_column;
    int32_t last_row;
    int32_t last_column;
} XLS_RANGE;

#define XLS_RANGE_LIST_MAX 255

typedef struct XLS_RECT {
    int32_t first_row;
    int32_t first_column;
    int32_t last_row;
    int32_t last_column;
} XLS_RECT;

/* A parsed statement target: up to 255 rectangles, or a single row/column (-1 when unset). */
typedef struct XLS_RANGE_LIST {
    int32_t sheet;
    int32_t row;
    int32_t column;
    XLS_RECT ranges[XLS_RANGE_LIST_MAX];
    int32_t count;
} XLS_RANGE_LIST;

/* A pointer, the number of elements in use and the number allocated. */
typedef struct XLS_ARRAY {
    void* items;
    int32_t count;
    int32_t allocated;
} XLS_ARRAY;

typedef struct XLS_LOG {
    char error_info[6001];   /* message of the last failure, Shift-JIS */
    char error_mesg[6001];   /* the same, converted by TOVA_error_mesg */
    int32_t error_code;      /* code of the last call, 0 after success */
    int32_t reserved;
    int32_t debug;           /* >= 1: recalculation reports unsupported functions on stderr */
} XLS_LOG;

/*
 * The library keeps the book's tables in its private work area (handle); this
 * block keeps the layout of the registry members that callers compiled against.
 * The library leaves it zero.
 */
typedef struct XLS_REGISTRIES {
    XLS_ARRAY sheets;
    XLS_ARRAY shared_strings;
    void* shared_strings_file;
    XLS_ARRAY xfs;
    XLS_ARRAY fonts;
    XLS_ARRAY fills;
    XLS_ARRAY borders;
    XLS_ARRAY merged_ranges;
    XLS_ARRAY comments;
    XLS_ARRAY tables;
    XLS_ARRAY sheet_items;
    XLS_ARRAY form_controls;
    void* number_formats;
    int32_t number_format_count;
    XLS_ARRAY draw;
    void* parts;
    int32_t part_count;
    XLS_ARRAY resources;
    int32_t xls_state[6];
    void* continuation;
    int32_t continuation_fill;
    int32_t xls_state_more;
    int32_t reserved_zero;
    char writer_state[20];
    XLS_ARRAY spare;
} XLS_REGISTRIES;

#define XLS_PROPERTY_STATE_SIZE 89472
#if UINTPTR_MAX > 0xFFFFFFFFu
#  define XLS_RESERVED_TAIL_SIZE 4172
#else
#  define XLS_RESERVED_TAIL_SIZE 4268
#endif

typedef struct XLS_BOOK {
    int32_t reserved0;
    void* handle;                      /* private work area */
    char file_name[260];
    int32_t window_x;
    int32_t window_y;
    int32_t window_height;
    int32_t window_width;
    unsigned char flags[XLS_FLAG_COUNT];
    int32_t streamed_row;              /* TOVA_write_row streams rows above this one-based number */
    int32_t sst_in_memory;
    char temp_dir[257];
    char temp_workbook_path[259];
    int32_t max_rows;
    int32_t max_columns;
    int32_t max_cell_chars;
    int32_t max_string_bytes;
    int32_t file_type;
    int32_t target_version;
    int32_t reserved1;
    char company[151];
    char creator[151];
    char manager[151];
    char title[301];
    char subject[301];
    char keywords[301];
    char description[301];
    char thumbnail_path[259];
    int32_t builtin_font;
    int32_t builtin_xf[7];
    XLS_LOG log;
    int32_t cur_sheet;
    int32_t cur_row;
    int32_t cur_column;
    unsigned char property_state[XLS_PROPERTY_STATE_SIZE];
    XLS_REGISTRIES registries;
    void* name_list;
    /* Absorbs the wider pointers of 64-bit builds so the record stays 108824 bytes. */
    unsigned char reserved_tail[XLS_RESERVED_TAIL_SIZE];
} XLS_BOOK;

/*
 * Opening and closing. TOVA_open_book takes an argument list such as
 *   MODE=CREATE BOOK="report.xlsx" CHARSET=UTF8
 * (keywords BOOK/EXCEL, MODE, LIST, TEMPLATE, CHARSET, VERSION, XLS_BOOK,
 * READ_MEMORY, WRITE_MEMORY, TEMP_WORKBOOK_PATH; each also in Japanese where
 * it has a Japanese form). TOVA_close_book takes SAVE (保存) or DESTROY (破棄);
 * a null list releases the book. After a SAVE into a memory archive
 * (pel_zip_on_memory(0)) the package stays as the memory file named by the
 * book's file name; every other memory file is discarded.
 */
TOVA_API int TOVA_open_book(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_close_book(XLS_BOOK* book, const char* list);

/* Sheets: SHEET_NAME=, MODE=CREATE|READ|UPDATE|TEMPLATE, TEMPLATE= (the template sheet). */
TOVA_API int TOVA_open_sheet(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_open_sheet2(XLS_BOOK* book, int index);
TOVA_API int TOVA_sheet_num(XLS_BOOK* book);
TOVA_API int TOVA_sheet_name(XLS_BOOK* book, int index, char* name); /* name holds 94 bytes */

/* Values and statements: A1=123 B2="text" C3="=SUM(A1:A2)", one after another. */
TOVA_API int TOVA_put_cell(XLS_BOOK* book, const char* reference, const char* value, int unused);
TOVA_API int TOVA_put_values(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_put_variable(XLS_BOOK* book, const char* name, const char* value);
/* Moves row `row` (one-based) of the current sheet to its rows file when it is above book->streamed_row. */
TOVA_API int TOVA_write_row(XLS_BOOK* book, int row);

/*
 * Statement files: runs every line of a file through TOVA_put_values; lines that
 * begin with "!" are comments. FILE= (ファイル) the path, CHARSET= (文字コード)
 * SJIS, EUC or UTF8, the file's character set (default SJIS; a file that starts
 * with a UTF-8 byte order mark is read as UTF-8). A quoted value may span lines.
 */
TOVA_API int TOVA_read_file(XLS_BOOK* book, const char* list);

/* Hyperlinks on cells that hold a value, and pictures handed over in memory. */
TOVA_API int TOVA_sheet_hyperlink(XLS_BOOK* book, const char* cell, const char* sheet_name, const char* target_cell);
TOVA_API int TOVA_external_hyperlink(XLS_BOOK* book, const char* cell, const char* address);
TOVA_API int TOVA_put_image_memory(XLS_BOOK* book, const char* cell, int type, const void* bytes, int count,
                                   int width, int height, double scale, double offset_x, double offset_y,
                                   const char* address);

/* The call frame and small exports. */
TOVA_API int TOVA_error_code(XLS_BOOK* book);
TOVA_API char* TOVA_error_mesg(XLS_BOOK* book);
TOVA_API int TOVA_version(XLS_BOOK* book, char* version);
TOVA_API int TOVA_help(void);
TOVA_API int TOVA_debug(const char* text);
TOVA_API int TOVA_free_book(XLS_BOOK* book);

/* Kept so that programs written against them still link; they do nothing and return 0. */
TOVA_API int TOVA_set_property(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_open_datasource(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_paste_datasource(XLS_BOOK* book, const char* list);
TOVA_API int TOVA_close_datasource(XLS_BOOK* book, const char* list);

/* Memory files: 0 sets the process's memory files aside, any other value brings them back. */
TOVA_API int TOVA_swap_book(int direction);

/*
 * The kind of a file: mode 0 a memory file, 9999 sixteen header bytes at `name`,
 * any other value a disk file. *type receives the code (11 .xls, 20 .xlsx,
 * 25 .xlsm, 201-207 pictures, 0 CSV, ...) or -1; the result is 0 when the
 * detection ran, -101 when the file cannot be opened.
 */
TOVA_API int pel_file_type(int mode, const char* name, int* type);

/* Where packed and unpacked archives live: 0 in memory files of their names,
 * any other value (initially -1) on disk. Returns 0. */
TOVA_API int pel_zip_on_memory(int flag);

/* Cell references; rows and columns are one-based here. */
TOVA_API int TOVA_cell_name(int row, int column, char* name);
TOVA_API int TOVA_cell_range(int first_row, int first_column, int last_row, int last_column, char* range);
TOVA_API int TOVA_is_cell(XLS_BOOK* book, const char* reference, int* row, int* column);
TOVA_API int TOVA_is_range(XLS_BOOK* book, const char* reference, int* first_row, int* first_column,
                           int* last_row, int* last_column);
TOVA_API int TOVA_row_num(XLS_BOOK* book);
TOVA_API int TOVA_column_num(XLS_BOOK* book, int row);

/*
 * The statement code of a property key such as A1.FONT.SIZE, シート.ズーム or
 * 5.HEIGHT: 0 with the code in *code (-1 when the words name no statement),
 * or -3 with *code -1 and the reason in the book's message.
 */
TOVA_API int TOVA_is_property(XLS_BOOK* book, const char* key, int* code);

#ifdef __cplusplus
}
#endif

#endif /* TOVA_API_H */
