#include "load/load_nesting.hpp"

#include <string>

#include "api/call_frame.hpp"
#include "platform/encoding.hpp"

namespace tova::load {
namespace {

// Books are used by one thread at a time, but a thread may drive several books;
// the depth is the thread's, as the nested calls are.
thread_local int depth = 0;

}  // namespace

LoadNesting::LoadNesting() : too_deep_(depth >= kMaxDepth) { ++depth; }

LoadNesting::~LoadNesting() { --depth; }

int fail_too_deep(XLS_BOOK& book, std::string_view path) {
    std::string what = quoted(enc::kUtf8, path) + ": nested loads";
    return fail(book, kFailed, Msg::CountLimit, {std::string_view(what), static_cast<long long>(LoadNesting::kMaxDepth)});
}

}  // namespace tova::load
