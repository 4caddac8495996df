// CSV and TSV: data files loaded into the sheet from the statement's target.
#include "api/call_frame.hpp"
#include "load/data_source.hpp"
#include "platform/encoding.hpp"
#include "property/appliers.hpp"

namespace tova::property {
namespace {

constexpr size_t kMaxPathBytes = 256;

int load_data_file(StatementContext& s) {
    std::string path = s.value.utf8();
    if (path.size() > kMaxPathBytes) return fail(s.book, -9, Msg::FileNameTooLong);
    load::DataSourceRequest request;
    request.path = path;
    request.separator = s.code == stmt::kTsv ? load::kTab : load::kComma;
    // A data file is read in the character set the caller works in (a UTF-8 byte order mark wins).
    request.charset = s.value.charset();
    return load::tob_load_datasource(s.book, s.sheet, request, load::datasource_target(s.rect));
}

constexpr ApplierEntry kLoadAppliers[] = {
    {stmt::kCsv, stmt::kTsv, load_data_file},
};

}  // namespace

std::span<const ApplierEntry> load_appliers() { return kLoadAppliers; }

}  // namespace tova::property
