// Data validation: VALIDATION.KIND adds a rule on the rectangle; the other
// statements edit the rule added last, whatever their own target.
#include <string>

#include "api/arglist.hpp"
#include "api/work_area.hpp"
#include "calc/serial_date.hpp"
#include "platform/encoding.hpp"
#include "property/cell_appliers.hpp"
#include "property/value_classifier.hpp"

namespace tova::property {
namespace {

using model::Validation;

constexpr size_t kMaxListCharacters = 255;  // what a list rule's formula may hold

std::vector<Validation>& validations(StatementContext& ctx) { return work_area(ctx.book)->book.validations; }

double day_fraction(const calc::DateTime& t) { return (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0; }

// A bound read as the rule's kind reads it: a number, a date as its serial day,
// a time as a fraction of a day (a duration of 25 hours and more as days).
std::optional<double> bound_of(int32_t kind, std::string_view sjis) {
    if (kind == model::kValidDate || kind == model::kValidTime) {
        Classified value = classify_value(sjis, false, false);
        double serial = 0;
        if (kind == model::kValidDate) {
            if (value.kind != ValueKind::Date || calc::tob_date_to_serial(value.date, serial) != 0) return std::nullopt;
            return serial;
        }
        if (value.kind != ValueKind::Time && value.kind != ValueKind::TimeSeconds) return std::nullopt;
        calc::DateTime days = value.date;
        if (value.duration) {
            days.hour = days.minute = days.second = 0;
            calc::tob_date_to_serial(days, serial);
        }
        return serial + day_fraction(value.date);
    }
    return number_of(sjis);
}

int add_rule(StatementContext& ctx) {
    auto kind = vocab::lookup(vocab::Vocab::ValidationKind, ctx.value.sjis());
    if (!kind) return refuse(ctx, kBadArgument, Msg::BadValidation);
    Validation rule;
    rule.kind = *kind;
    rule.sheet = ctx.sheet;
    rule.area = ctx.rect;
    validations(ctx).push_back(std::move(rule));
    return 0;
}

int set_operator(StatementContext& ctx, Validation& rule) {
    auto op = vocab::lookup(vocab::Vocab::ValidationOperator, ctx.value.sjis());
    if (!op) return refuse(ctx, kBadArgument, Msg::BadValidation);
    rule.op = *op;
    return 0;
}

int set_bound(StatementContext& ctx, Validation& rule) {
    if (rule.kind == model::kValidList) return 0;
    auto bound = bound_of(rule.kind, ctx.value.sjis());
    if (!bound) return refuse(ctx, kBadArgument, Msg::BadValidation);
    (ctx.code == stmt::kValidationMin ? rule.minimum : rule.maximum) = *bound;
    return 0;
}

// The choices as written, kept in the caller's own characters.
int set_list(StatementContext& ctx, Validation& rule) {
    if (rule.kind != model::kValidList) return 0;
    std::string list = ctx.value.utf8();
    args::remove_quotes(list);
    if (enc::utf8_char_count(list) > kMaxListCharacters) return refuse(ctx, kBadArgument, Msg::BadValidation);
    rule.list = std::move(list);
    return 0;
}

}  // namespace

int apply_validation(StatementContext& ctx) {
    if (ctx.code == stmt::kValidationKind) return add_rule(ctx);
    if (validations(ctx).empty()) return 0;
    Validation& last = validations(ctx).back();
    switch (ctx.code) {
        case stmt::kValidationOperator: return set_operator(ctx, last);
        case stmt::kValidationList: return set_list(ctx, last);
        default: return set_bound(ctx, last);
    }
}

}  // namespace tova::property
