#include "support/readers.hpp"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace tova::test {
namespace {

std::string checker() { return shell_quote(std::string(TOVA_SOURCE_DIR) + "/tests/tools/check_xlsx.py"); }

std::string joined(const std::vector<std::string>& books) {
    std::string out;
    for (const auto& book : books) out += " " + shell_quote(book);
    return out;
}

}  // namespace

std::string shell_quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

CommandResult run_command(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandResult check_schemas(const std::vector<std::string>& books) {
    return run_command("/usr/bin/python3 " + checker() + " verify " + shell_quote(TOVA_SCHEMA_DIR) + joined(books));
}

CommandResult openpyxl_cells(const std::string& book) {
    CommandResult probe = run_command("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null");
    if (probe.status != 0) return {77, {}};
    return run_command("/usr/bin/python3 " + checker() + " cells " + shell_quote(book));
}

CommandResult openpyxl_formats(const std::string& book) {
    CommandResult probe = run_command("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null");
    if (probe.status != 0) return {77, {}};
    return run_command("/usr/bin/python3 " + checker() + " formats " + shell_quote(book));
}

CommandResult office_to_csv(const std::string& outdir, const std::vector<std::string>& books) {
    return run_command("/usr/bin/python3 " + checker() + " office " + shell_quote(outdir) + joined(books));
}

CommandResult office_recalc(const std::string& outdir, const std::string& book) {
    return run_command("/usr/bin/python3 " + checker() + " recalc " + shell_quote(outdir) + " " + shell_quote(book));
}

CommandResult openpyxl_properties(const std::string& book) {
    CommandResult probe = run_command("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null");
    if (probe.status != 0) return {77, {}};
    return run_command("/usr/bin/python3 " + checker() + " props " + shell_quote(book));
}

CommandResult office_to_pdf(const std::string& outdir, const std::string& book) {
    return run_command("/usr/bin/python3 " + checker() + " pdf " + shell_quote(outdir) + " " + shell_quote(book));
}

std::map<std::string, std::string> key_values(const std::string& output) {
    std::map<std::string, std::string> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        size_t tab = line.find('\t');
        if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return values;
}

}  // namespace tova::test
