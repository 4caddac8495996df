// Running the real readers (openpyxl, LibreOffice, the schemas) on saved workbooks.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tova::test {

struct CommandResult {
    int status = -1;     // exit status; 77 means a tool is missing
    std::string output;  // standard output
};

CommandResult run_command(const std::string& command);

// The checker script's verdicts; status 0 passes, 77 when the tool is missing. check_schemas
// also checks the package's structure (content types, relationships, indexes).
CommandResult check_schemas(const std::vector<std::string>& books);
CommandResult openpyxl_cells(const std::string& book);  // JSON of every sheet's cells
CommandResult openpyxl_formats(const std::string& book);  // formats of every cell and sheet settings
CommandResult office_to_csv(const std::string& outdir, const std::vector<std::string>& books);
// Every formula cell of the book beside what LibreOffice computes for it (see the script).
CommandResult office_recalc(const std::string& outdir, const std::string& book);
// The book's and its sheets' settings as openpyxl reads them, and the book printed to PDF by
// LibreOffice (page count, sizes, texts): "KEY<tab>VALUE" lines, see the script.
CommandResult openpyxl_properties(const std::string& book);
CommandResult office_to_pdf(const std::string& outdir, const std::string& book);

// The "KEY<tab>VALUE" lines of an output.
std::map<std::string, std::string> key_values(const std::string& output);

// Quotes a text for the shell.
std::string shell_quote(const std::string& text);

}  // namespace tova::test
