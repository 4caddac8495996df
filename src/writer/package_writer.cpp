// The package writer: package-level parts, then the part writers, then the zip.
#include "writer/package_writer.hpp"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <ctime>
#include <vector>

#include "api/call_frame.hpp"
#include "api/flags.hpp"
#include "api/work_area.hpp"
#include "calc/recalc.hpp"
#include "model/cell_store.hpp"
#include "platform/mfile.hpp"
#include "platform/qfs.hpp"
#include "platform/temp_paths.hpp"
#include "platform/zip_package.hpp"
#include "writer/package_parts.hpp"
#include "writer/printer_settings_part.hpp"
#include "writer/shared_strings_part.hpp"
#include "writer/sheet_order.hpp"
#include "writer/styles_part.hpp"
#include "writer/worksheet_part.hpp"
#include "writer/xml_out.hpp"

namespace tova::writer {
namespace {

// A book saved without sheets gets the three a new workbook has.
void add_default_sheets(XLS_BOOK& book) {
    model::Workbook& wb = work_area(book)->book;
    if (!wb.sheets.empty()) return;
    for (int i = 0; i < 3; ++i) model::ensure_sheet(wb, i).name = "Sheet" + std::to_string(i + 1);
}

PackageContents contents_of(const XLS_BOOK& book) {
    PackageContents contents;
    contents.thumbnail = book.thumbnail_path[0] != '\0';
    contents.final = flag_on(book, XLS_FLAG_FINAL);
    return contents;
}

class Package {
public:
    Package(XLS_BOOK& book, PartTarget target) : book_(book), target_(std::move(target)) {}

    // Writes every part and lists its name; 0 or the first failure.
    int write_parts() {
        const PackageContents contents = contents_of(book_);
        const int sheets = static_cast<int>(work_area(book_)->book.sheets.size());
        if (int rc = part("[Content_Types].xml", content_types_part(book_, contents))) return rc;
        if (int rc = part("_rels/.rels", package_rels_part(contents))) return rc;
        if (int rc = part("docProps/app.xml", app_part(book_))) return rc;
        if (int rc = part("docProps/core.xml", core_part(book_, std::time(nullptr)))) return rc;
        if (contents.final)
            if (int rc = part("docProps/custom.xml", custom_part())) return rc;
        if (int rc = part("xl/_rels/workbook.xml.rels", workbook_rels_part(sheets))) return rc;
        if (int rc = part("xl/theme/theme1.xml", theme_part())) return rc;
        names_.push_back("xl/styles.xml");
        if (int rc = part("xl/workbook.xml", workbook_part(book_))) return rc;
        names_.push_back("xl/sharedStrings.xml");

        if (int rc = tob_xml_sst(target_, book_)) return rc;
        if (int rc = tob_xml_styles(target_, book_)) return rc;
        if (int rc = tob_xml_worksheet(target_, book_)) return rc;

        for (int i = 1; i <= sheets; ++i) names_.push_back("xl/worksheets/sheet" + std::to_string(i) + ".xml");
        std::vector<int32_t> order = sheet_order(book_);
        for (int i = 1; i <= sheets; ++i) {
            names_.push_back("xl/worksheets/_rels/sheet" + std::to_string(i) + ".xml.rels");
            const model::PageSetup& page = work_area(book_)->book.sheets[order[i - 1]].properties.page;
            if (int rc = part("xl/printerSettings/printerSettings" + std::to_string(i) + ".bin",
                              printer_settings(page.landscape, page.paper)))
                return rc;
        }
        if (contents.thumbnail) return thumbnail();
        return 0;
    }

    const std::vector<std::string>& names() const { return names_; }

private:
    int part(const std::string& name, std::string_view content) {
        names_.push_back(name);
        int rc = write_part(target_, name, content);
        if (rc == kPartCannotOpen && !target_.to_files) set_error_info(book_, mem::merror_text());
        return rc;
    }

    int thumbnail() {
        std::vector<char> bytes;
        const std::string path = book_.thumbnail_path;
        int rc = qfs::qfs_read_file(path, bytes);
        if (rc == -101 || rc == -1)
            return fail(book_, kCannotOpen, Msg::ImageFileOpen, {std::string_view(quoted(enc::kUtf8, path))});
        if (rc == -2) return fail(book_, kNoMemory, Msg::OutOfMemory);
        if (rc != 0) return -102;
        return part("docProps/thumbnail.jpeg", std::string_view(bytes.data(), bytes.size()));
    }

    XLS_BOOK& book_;
    PartTarget target_;
    std::vector<std::string> names_;
};

// Where the package goes: an absolute path as it is, a relative one below the current directory.
std::string absolute_output(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    std::array<char, PATH_MAX> cwd{};
    if (::getcwd(cwd.data(), cwd.size()) == nullptr) return path;
    return std::string(cwd.data()) + "/" + path;
}

size_t memory_parts_limit = size_t{256} << 20;

int zip_result(int rc) {
    if (rc == 0) return 0;
    if (rc == -101 || rc == -103 || rc == -105) return -103;
    return rc == -2 ? -2 : -1;
}

// Packs the parts; a package on disk is written under a temporary name and
// renamed over the output only once it is whole, so a failed save leaves an
// existing file as it was.
int pack_package(int mode, const std::string& output_path, const std::string& directory,
                 const std::vector<std::string>& names) {
    const std::string output = absolute_output(output_path);
    if (!zip::archive_on_disk()) return zip_result(zip::pack(mode, output, directory, names, zip::EntryDates::Zero));
    const std::string partial = output + ".tova-" + std::to_string(::getpid()) + ".part";
    int rc = zip_result(zip::pack(mode, partial, directory, names, zip::EntryDates::Zero));
    if (rc == 0 && std::rename(partial.c_str(), output.c_str()) != 0) rc = -103;
    if (rc != 0) std::remove(partial.c_str());
    return rc;
}

int part_failure(int rc) { return rc == kPartShortWrite ? -103 : rc > 0 ? kFailed : rc; }

}  // namespace

void set_memory_parts_limit(size_t bytes) { memory_parts_limit = bytes; }

int tob_create_excel2007(XLS_BOOK& book, const std::string& output_path) {
    add_default_sheets(book);
    if (calc::tob_recalculate(book) != 0) return kFailed;

    MemoryBudget budget{memory_parts_limit};
    Package memory_package(book, PartTarget{false, {}, &budget});
    int rc = memory_package.write_parts();
    if (rc == 0) return pack_package(0, output_path, "", memory_package.names());
    if (rc != kPartOutOfMemory) return part_failure(rc);
    if (!flag_on(book, XLS_FLAG_FILE_FALLBACK)) return kNoMemory;

    // The parts do not fit in memory: write them as files in the book's temporary directory instead.
    mem::mfreeall();
    std::string directory;
    if (tob_tempfile_path(book, kTempDirectory, directory) != 0) return kFailed;
    directory += "/package";
    qfs::qfs_rmtree(directory);
    Package file_package(book, PartTarget{true, directory});
    rc = file_package.write_parts();
    rc = rc == 0 ? pack_package(1, output_path, directory, file_package.names()) : part_failure(rc);
    qfs::qfs_rmtree(directory);
    return rc;
}

}  // namespace tova::writer
