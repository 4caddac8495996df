// tova: the command-line face of the library.
#include <iconv.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tova_api.h"

namespace {

struct BookRecord {
    XLS_BOOK* book = static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)));
    ~BookRecord() {
        if (book != nullptr) TOVA_free_book(book);
        std::free(book);
    }
};

int usage(std::FILE* out) {
    std::fputs(
        "usage: tova <command> [arguments]\n"
        "\n"
        "commands:\n"
        "  version                         print the library version\n"
        "  help                            print the keyword overview of the property language\n"
        "  new -o OUT [--sheet NAME] [STATEMENTS...]\n"
        "                                  create a workbook from statement lists and save it;\n"
        "                                  without STATEMENTS, one list per line is read from\n"
        "                                  standard input, a line [NAME] opening sheet NAME and\n"
        "                                  lines starting with # being comments\n"
        "  run FILE [-o OUT] [--charset SJIS|EUC|UTF8]\n"
        "                                  run the statement file FILE (one statement list per\n"
        "                                  line, lines starting with ! being comments) into a new\n"
        "                                  workbook and save it as OUT, by default the file's\n"
        "                                  name with .xlsx in the current directory; a file whose\n"
        "                                  first statement is not SHEET= starts on a sheet Sheet1;\n"
        "                                  --charset names the file's\n"
        "                                  character set (default UTF8, a UTF-8 byte order mark\n"
        "                                  always wins)\n",
        out);
    return out == stderr ? 2 : 0;
}

int print_version() {
    BookRecord record;
    char version[16];
    TOVA_version(record.book, version);
    std::printf("tova %s\n", version);
    return 0;
}

// The overview is Shift-JIS; a terminal here reads UTF-8.
int print_help() {
    std::fflush(stdout);
    std::FILE* captured = std::tmpfile();
    if (captured == nullptr) return TOVA_help();
    int saved = dup(fileno(stdout));
    dup2(fileno(captured), fileno(stdout));
    TOVA_help();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);

    std::string sjis;
    std::rewind(captured);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, captured)) > 0;) sjis.append(buffer, n);
    std::fclose(captured);

    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::fwrite(sjis.data(), 1, sjis.size(), stdout);
        return 0;
    }
    std::string utf8(sjis.size() * 3 + 16, '\0');
    char* in = sjis.data();
    size_t in_left = sjis.size();
    char* out = utf8.data();
    size_t out_left = utf8.size();
    while (in_left > 0 && iconv(cd, &in, &in_left, &out, &out_left) == static_cast<size_t>(-1)) {
        ++in;  // a byte the converter does not know: skip it
        --in_left;
    }
    iconv_close(cd);
    std::fwrite(utf8.data(), 1, utf8.size() - out_left, stdout);
    return 0;
}

bool report_failure(XLS_BOOK* book, int rc, const std::string& what) {
    if (rc == 0) return false;
    std::fprintf(stderr, "tova: %s: %d %s\n", what.c_str(), rc, TOVA_error_mesg(book));
    return true;
}

bool open_sheet(XLS_BOOK* book, const std::string& name) {
    std::string select = "MODE=READ SHEET_NAME=\"" + name + "\"";
    if (TOVA_open_sheet(book, select.c_str()) == 0) return true;
    std::string create = "SHEET_NAME=\"" + name + "\"";
    return !report_failure(book, TOVA_open_sheet(book, create.c_str()), "sheet " + name);
}

bool ensure_sheet(XLS_BOOK* book) {
    return TOVA_sheet_num(book) > 0 || !report_failure(book, TOVA_open_sheet(book, ""), "sheet");
}

bool run_statements(XLS_BOOK* book, const std::string& statements) {
    return ensure_sheet(book) && !report_failure(book, TOVA_put_values(book, statements.c_str()), statements);
}

// A new book saved as `output`. The book always works in UTF-8, as file names and
// this terminal do; texts in other character sets are converted on the way in.
bool open_new_book(XLS_BOOK* book, const std::string& output) {
    std::string open = "CHARSET=UTF8 BOOK=\"" + output + "\"";
    return !report_failure(book, TOVA_open_book(book, open.c_str()), "open " + output);
}

int save_book(XLS_BOOK* book) {
    std::string file = book->file_name;
    int sheets = TOVA_sheet_num(book);
    if (report_failure(book, TOVA_close_book(book, "SAVE"), "save " + file)) return 1;
    std::printf("wrote %s (%d sheet%s)\n", file.c_str(), sheets == 0 ? 3 : sheets, sheets == 1 ? "" : "s");
    return 0;
}

int create_workbook(int argc, char** argv) {
    std::string output;
    std::vector<std::string> steps;  // "\x01NAME" opens a sheet, anything else is a statement list
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "-o" || arg == "--output") && i + 1 < argc) output = argv[++i];
        else if (arg == "--sheet" && i + 1 < argc) steps.push_back(std::string("\x01") + argv[++i]);
        else steps.push_back(arg);
    }
    if (output.empty()) return usage(stderr);

    BookRecord record;
    XLS_BOOK* book = record.book;
    if (!open_new_book(book, output)) return 1;

    bool from_stdin = true;
    for (const std::string& step : steps) {
        if (step.rfind('\x01', 0) == 0) {
            if (!open_sheet(book, step.substr(1))) return 1;
            continue;
        }
        from_stdin = false;
        if (!run_statements(book, step)) return 1;
    }
    if (from_stdin) {
        std::string line;
        for (int number = 1; std::getline(std::cin, line); ++number) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            if (line.front() == '[' && line.back() == ']') {
                if (!open_sheet(book, line.substr(1, line.size() - 2))) return 1;
                continue;
            }
            if (!run_statements(book, line)) {
                std::fprintf(stderr, "tova: at line %d\n", number);
                return 1;
            }
        }
    }
    return save_book(book);
}

// Whether the file's first statement names its sheet (SHEET= or シート= in any of
// the character sets), so that no Sheet1 of our own needs to stand before it.
bool starts_by_naming_a_sheet(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '!') continue;
        std::string_view first = std::string_view(line).substr(start);
        for (std::string_view word : {"\xE3\x82\xB7\xE3\x83\xBC\xE3\x83\x88", "\x83\x56\x81\x5B\x83\x67",
                                      "\xA5\xB7\xA1\xBC\xA5\xC8"})
            if (first.rfind(word, 0) == 0) return true;
        std::string upper;
        for (char c : first.substr(0, 5)) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper == "SHEET" && first.size() > 5 && (first[5] == '=' || first[5] == ' ' || first[5] == '.');
    }
    return false;
}

int run_statement_file(int argc, char** argv) {
    std::string file, output, charset = "UTF8";
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "-o" || arg == "--output") && i + 1 < argc) output = argv[++i];
        else if (arg == "--charset" && i + 1 < argc) charset = argv[++i];
        else if (file.empty()) file = arg;
        else return usage(stderr);
    }
    if (file.empty()) return usage(stderr);
    // Argument lists quote names with double quotes, which a name then cannot hold.
    if (file.find('"') != std::string::npos || charset.find('"') != std::string::npos) {
        std::fprintf(stderr, "tova: run: a file name or character set must not hold a double quote\n");
        return 2;
    }
    if (output.empty()) output = std::filesystem::path(file).stem().string() + ".xlsx";

    BookRecord record;
    XLS_BOOK* book = record.book;
    // Statements need a current sheet: a file that does not name one first starts on Sheet1.
    if (!open_new_book(book, output)) return 1;
    if (!starts_by_naming_a_sheet(file) && !open_sheet(book, "Sheet1")) return 1;
    std::string run = "FILE=\"" + file + "\" CHARSET=\"" + charset + "\"";
    if (report_failure(book, TOVA_read_file(book, run.c_str()), "run " + file)) return 1;
    return save_book(book);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(stderr);
    std::string command = argv[1];
    if (command == "version" || command == "--version") return print_version();
    if (command == "help" || command == "--help") return print_help();
    if (command == "new") return create_workbook(argc, argv);
    if (command == "run") return run_statement_file(argc, argv);
    std::fprintf(stderr, "tova: unknown command '%s'\n", argv[1]);
    return usage(stderr);
}
