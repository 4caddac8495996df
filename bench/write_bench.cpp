// Writing 1,000,000 rows x 10 columns (half integers, half short texts):
// through this library with rows streamed, through libxlsxwriter in
// constant-memory mode, and zlib alone deflating our worksheet XML.
// Each writer runs in a child process so its peak memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tova_api.h"
#ifdef TOVA_HAVE_XLSXWRITER
#include <xlsxwriter.h>
#endif

namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 10;

struct Run {
    double seconds = 0;
    long peak_kib = 0;
    bool ok = false;
};

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void write_with_tova(const std::string& path) {
    XLS_BOOK* book = static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)));
    std::string open = "BOOK=\"" + path + "\"";
    if (TOVA_open_book(book, open.c_str()) != 0 || TOVA_open_sheet(book, "SHEET_NAME=Data") != 0) std::exit(1);
    book->streamed_row = 1;
    std::string list;
    for (int r = 1; r <= kRows; ++r) {
        list.clear();
        for (int c = 0; c < kColumns; ++c) {
            list += static_cast<char>('A' + c);
            list += std::to_string(r);
            list += '=';
            if (c % 2 == 0) list += std::to_string(r * 10 + c);
            else list += "name" + std::to_string(r % 1000);
            list += ' ';
        }
        if (TOVA_put_values(book, list.c_str()) != 0 || TOVA_write_row(book, r) != 0) std::exit(2);
    }
    if (TOVA_close_book(book, "SAVE") != 0) std::exit(3);
    std::free(book);
}

#ifdef TOVA_HAVE_XLSXWRITER
void write_with_xlsxwriter(const std::string& path) {
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Data");
    std::string text;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (c % 2 == 0) {
                worksheet_write_number(sheet, r, c, (r + 1) * 10 + c, nullptr);
            } else {
                text = "name" + std::to_string((r + 1) % 1000);
                worksheet_write_string(sheet, r, c, text.c_str(), nullptr);
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) std::exit(4);
}
#endif

template <class Writer>
Run measure(Writer writer, const std::string& path) {
    double start = now();
    pid_t child = fork();
    if (child == 0) {
        writer(path);
        std::_Exit(0);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    return {now() - start, usage.ru_maxrss, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

// The time zlib needs to deflate the worksheet XML of our package at the default level.
double deflate_floor(const std::string& path) {
    std::string command = "unzip -p '" + path + "' xl/worksheets/sheet1.xml";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::vector<unsigned char> xml;
    unsigned char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) xml.insert(xml.end(), buffer, buffer + n);
    pclose(pipe);
    if (xml.empty()) return -1;
    std::vector<unsigned char> out(compressBound(xml.size()));
    uLongf out_size = out.size();
    double start = now();
    compress2(out.data(), &out_size, xml.data(), xml.size(), Z_DEFAULT_COMPRESSION);
    double seconds = now() - start;
    std::printf("worksheet XML: %.1f MiB, deflated to %.1f MiB\n", xml.size() / 1048576.0, out_size / 1048576.0);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "/tmp";
    std::printf("%d rows x %d columns\n", kRows, kColumns);
    Run tova = measure(write_with_tova, dir + "/bench_tova.xlsx");
    std::printf("tova_api:      %6.2f s  peak %6.1f MiB  %s\n", tova.seconds, tova.peak_kib / 1024.0, tova.ok ? "" : "FAILED");
#ifdef TOVA_HAVE_XLSXWRITER
    Run peer = measure(write_with_xlsxwriter, dir + "/bench_lxw.xlsx");
    std::printf("libxlsxwriter: %6.2f s  peak %6.1f MiB  %s\n", peer.seconds, peer.peak_kib / 1024.0, peer.ok ? "" : "FAILED");
    std::printf("ratio tova/libxlsxwriter: time %.2f  memory %.2f\n", tova.seconds / peer.seconds,
                static_cast<double>(tova.peak_kib) / peer.peak_kib);
#else
    std::printf("libxlsxwriter: not available\n");
#endif
    double floor = deflate_floor(dir + "/bench_tova.xlsx");
    if (floor >= 0) std::printf("zlib alone deflating our worksheet XML: %.2f s\n", floor);
    return tova.ok ? 0 : 1;
}
