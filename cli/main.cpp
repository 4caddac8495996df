// tova: the command-line face of the library.
#include <cstdio>
#include <cstring>
#include <string>

#include "tova_api.h"

namespace {

int usage(std::FILE* out) {
    std::fputs(
        "usage: tova <command> [arguments]\n"
        "\n"
        "commands:\n"
        "  version        print the library version\n"
        "  help           print the keyword overview of the property language\n",
        out);
    return out == stderr ? 2 : 0;
}

int print_version() {
    XLS_BOOK* book = static_cast<XLS_BOOK*>(std::calloc(1, sizeof(XLS_BOOK)));
    if (book == nullptr) return 1;
    char version[16];
    TOVA_version(book, version);
    std::printf("tova %s\n", version);
    std::free(book);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(stderr);
    std::string command = argv[1];
    if (command == "version" || command == "--version") return print_version();
    if (command == "help" || command == "--help") {
        TOVA_help();
        return 0;
    }
    std::fprintf(stderr, "tova: unknown command '%s'\n", argv[1]);
    return usage(stderr);
}
