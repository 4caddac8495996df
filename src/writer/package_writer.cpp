// The package writer: every part, in package order, streamed into the archive.
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
#include "platform/qfs.hpp"
#include "platform/zip_package.hpp"
#include "writer/package_parts.hpp"
#include "writer/printer_settings_part.hpp"
#include "writer/shared_strings_part.hpp"
#include "writer/sheet_order.hpp"
#include "writer/sheet_relationships.hpp"
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

int part_result(int rc) { return rc == kPartShortWrite ? -103 : rc > 0 ? kFailed : rc; }

class Package {
public:
    Package(XLS_BOOK& book, zip::ArchiveWriter& archive) : book_(book), target_{&archive} {}

    // Writes every part in the order the package lists them; 0 or the first failure.
    int write_parts() {
        const PackageContents contents = contents_of(book_);
        const model::Workbook& wb = work_area(book_)->book;
        const int sheets = static_cast<int>(wb.sheets.size());
        if (int rc = part("[Content_Types].xml", content_types_part(book_, contents))) return rc;
        if (int rc = part("_rels/.rels", package_rels_part(contents))) return rc;
        if (int rc = part("docProps/app.xml", app_part(book_))) return rc;
        if (int rc = part("docProps/core.xml", core_part(book_, std::time(nullptr)))) return rc;
        if (contents.final)
            if (int rc = part("docProps/custom.xml", custom_part())) return rc;
        if (int rc = part("xl/_rels/workbook.xml.rels", workbook_rels_part(sheets))) return rc;
        if (int rc = part("xl/theme/theme1.xml", theme_part())) return rc;
        if (int rc = tob_xml_styles(target_, book_)) return part_result(rc);
        if (int rc = part("xl/workbook.xml", workbook_part(book_))) return rc;
        SharedStringIndex strings;
        if (int rc = tob_xml_sst(target_, book_, strings)) return part_result(rc);
        if (int rc = tob_xml_worksheet(target_, book_, strings)) return part_result(rc);

        std::vector<int32_t> order = sheet_order(book_);
        for (int i = 1; i <= sheets; ++i) {
            const model::Sheet& sheet = wb.sheets[order[i - 1]];
            const std::string number = std::to_string(i);
            if (int rc = part("xl/worksheets/_rels/sheet" + number + ".xml.rels",
                              sheet_relationships_part(sheet, plan_sheet_relationships(sheet), i)))
                return rc;
            if (int rc = part("xl/printerSettings/printerSettings" + number + ".bin",
                              printer_settings(sheet.properties.page.landscape, sheet.properties.page.paper)))
                return rc;
        }
        if (contents.thumbnail) return thumbnail();
        return 0;
    }

private:
    int part(const std::string& name, std::string_view content) { return part_result(write_part(target_, name, content)); }

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
};

// Where the package goes: an absolute path as it is, a relative one below the current directory.
std::string absolute_output(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    std::array<char, PATH_MAX> cwd{};
    if (::getcwd(cwd.data(), cwd.size()) == nullptr) return path;
    return std::string(cwd.data()) + "/" + path;
}

int write_package(XLS_BOOK& book, const std::string& archive_path) {
    zip::ArchiveWriter archive;
    if (archive.open(archive_path) != 0) return -103;
    Package package(book, archive);
    if (int rc = package.write_parts()) return rc;
    return archive.close() == 0 ? 0 : -103;
}

}  // namespace

int tob_create_excel2007(XLS_BOOK& book, const std::string& output_path) {
    add_default_sheets(book);
    if (calc::tob_recalculate(book) != 0) return kFailed;
    const std::string output = absolute_output(output_path);
    if (!zip::archive_on_disk()) return write_package(book, output);

    // A package on disk grows under a temporary name beside the output and replaces it
    // only once whole, so a failed save leaves an existing file as it was.
    const std::string partial = output + ".tova-" + std::to_string(::getpid()) + ".part";
    int rc = write_package(book, partial);
    if (rc == 0 && std::rename(partial.c_str(), output.c_str()) != 0) rc = -103;
    if (rc != 0) std::remove(partial.c_str());
    return rc;
}

}  // namespace tova::writer
