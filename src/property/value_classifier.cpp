#include "property/value_classifier.hpp"

#include <charconv>

#include "api/arglist.hpp"
#include "model/cell_ref.hpp"

namespace tova::property {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!is_digit(c)) return false;
    return true;
}

std::string without_commas(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ',') out += c;
    return out;
}

// Reads a number that passed is_number_text; false when it does not fit.
bool read_number(std::string_view text, Classified& out) {
    std::string digits = without_commas(text);
    std::string_view view = digits;
    if (!view.empty() && view.front() == '+') view.remove_prefix(1);
    size_t dot = view.find('.');
    if (dot == std::string_view::npos) {
        auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), out.integer);
        if (ec != std::errc() || end != view.data() + view.size()) return false;
        out.kind = ValueKind::Integer;
        return true;
    }
    auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), out.real);
    if (ec != std::errc() || end != view.data() + view.size()) return false;
    out.decimals = static_cast<int>(view.size() - dot - 1);
    out.kind = ValueKind::Decimal;
    return true;
}

// YYYY/MM/DD, YYYY/M/D, YYYY/M/DD or YYYY/MM/D, with "/" or "-"; the length
// of the date at the start of `text`, or 0.
size_t match_date(std::string_view text, calc::DateTime& date) {
    if (text.size() < 8 || !all_digits(text.substr(0, 4))) return 0;
    size_t at = 4;
    auto separator = [&] { return at < text.size() && (text[at] == '/' || text[at] == '-') ? (++at, true) : false; };
    // Two digits whose first is at most `max_tens`, or one digit from 1 to 9.
    auto field = [&](char max_tens, int& value) {
        if (at + 1 < text.size() && text[at] >= '0' && text[at] <= max_tens && is_digit(text[at + 1])) {
            value = (text[at] - '0') * 10 + (text[at + 1] - '0');
            at += 2;
            return true;
        }
        if (at < text.size() && text[at] >= '1' && text[at] <= '9') {
            value = text[at++] - '0';
            return true;
        }
        return false;
    };
    int m = 0, d = 0;
    if (!separator() || !field('1', m) || !separator() || !field('3', d)) return 0;
    if (at < text.size() && is_digit(text[at])) return 0;
    date.year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
    date.month = m;
    date.day = d;
    return at;
}

struct Time {
    int64_t hours = 0;
    int32_t minutes = 0, seconds = 0;
    bool with_seconds = false;
};

// H:MM or H:MM:SS, each field digits only, at most eight of them; minutes and
// seconds at most 60.
bool parse_time(std::string_view text, Time& time) {
    std::string_view fields[3];
    int count = 0;
    while (count < 3) {
        size_t colon = text.find(':');
        fields[count++] = text.substr(0, colon);
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
        if (count == 3) return false;
    }
    if (count < 2) return false;
    int64_t values[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        if (!all_digits(fields[i]) || fields[i].size() > 8) return false;
        std::from_chars(fields[i].data(), fields[i].data() + fields[i].size(), values[i]);
    }
    if (values[1] > 60 || values[2] > 60) return false;
    time = {values[0], static_cast<int32_t>(values[1]), static_cast<int32_t>(values[2]), count == 3};
    return true;
}

constexpr int64_t kMaxDurationDays = 416;

// A time of day, or (25 hours and more) a duration counted in days of the 1900 system.
bool store_time(const Time& time, Classified& out) {
    out.kind = time.with_seconds ? ValueKind::TimeSeconds : ValueKind::Time;
    out.date.minute = time.minutes;
    out.date.second = time.seconds;
    if (time.hours < 25) {
        out.date.year = out.date.month = out.date.day = 0;
        out.date.hour = static_cast<int32_t>(time.hours);
        return true;
    }
    int64_t days = time.hours / 24;
    if (days > kMaxDurationDays) return false;
    calc::DateTime day;
    calc::tob_serial_to_date(static_cast<double>(days), day);
    out.date.year = day.year;
    out.date.month = day.month;
    out.date.day = day.day;
    out.date.hour = static_cast<int32_t>(time.hours % 24);
    out.duration = true;
    return true;
}

Classified text_value(std::string_view text) {
    Classified out;
    out.kind = ValueKind::Text;
    out.text.assign(text);
    return out;
}

std::string_view trim_formula(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

Classified classify_date_or_time(std::string_view v) {
    Classified out;
    size_t date_length = match_date(v, out.date);
    if (date_length == v.size()) {
        if (!calc::date_exists(out.date.year, out.date.month, out.date.day)) return text_value(v);
        out.kind = ValueKind::Date;
        return out;
    }
    if (v.find(':') == std::string_view::npos) return text_value(v);
    size_t space = v.rfind(' ');
    Time time;
    if (!parse_time(space == std::string_view::npos ? v : v.substr(space + 1), time)) return text_value(v);
    if (time.hours >= 25) return store_time(time, out) ? out : text_value(v);
    // A time of day here needs its date: the date, one space, the time.
    if (date_length == 0 || space != date_length || !calc::date_exists(out.date.year, out.date.month, out.date.day))
        return text_value(v);
    out.kind = ValueKind::DateTime;
    out.date.hour = static_cast<int32_t>(time.hours);
    out.date.minute = time.minutes;
    out.date.second = time.seconds;
    return out;
}

}  // namespace

bool has_valid_thousands(std::string_view number) {
    size_t start = number.find_first_not_of("+-");
    size_t end = number.find('.');
    std::string_view whole = number.substr(start == std::string_view::npos ? 0 : start,
                                           end == std::string_view::npos ? std::string_view::npos : end - start);
    if (number.substr(end == std::string_view::npos ? number.size() : end).find(',') != std::string_view::npos)
        return false;  // no separators among the decimals
    if (whole.find(',') == std::string_view::npos) return true;
    // Counted from the right: three digits, a comma, three digits ... and one to three leading digits.
    size_t digits = 0;
    for (size_t i = whole.size(); i-- > 0;) {
        if (whole[i] == ',') {
            if (digits != 3) return false;
            digits = 0;
        } else {
            ++digits;
        }
    }
    return digits >= 1 && digits <= 3;
}

Classified classify_value(std::string_view value, bool keep_apostrophe, bool force_text) {
    std::string v(value);
    args::remove_quotes(v);
    if (v.empty()) {
        Classified empty;
        empty.kind = ValueKind::Empty;
        return empty;
    }
    if (v.front() == '\'') return text_value(keep_apostrophe ? std::string_view(v) : std::string_view(v).substr(1));
    if (force_text) return text_value(v);

    if (v.front() == '=') {
        Classified out;
        out.kind = ValueKind::Formula;
        out.text.assign(trim_formula(std::string_view(v).substr(1)));
        return out;
    }
    if (v.size() < 20 && model::is_number_text(v)) {
        Classified out;
        if (has_valid_thousands(v) && read_number(v, out)) return out;
        return text_value(v);
    }
    if (v.size() >= 4 && all_digits(std::string_view(v).substr(0, 4))) return classify_date_or_time(v);
    if (v.back() == '%' && v.size() < 4000) {
        std::string_view number = std::string_view(v).substr(0, v.size() - 1);
        Classified out;
        if (!model::is_number_text(number) || !has_valid_thousands(number) || !read_number(number, out))
            return text_value(v);
        out.real = (out.kind == ValueKind::Integer ? static_cast<double>(out.integer) : out.real) / 100.0;
        out.kind = ValueKind::Percent;
        out.decimals = 6;
        return out;
    }
    Time time;
    Classified out;
    if (v.find(' ') == std::string::npos && parse_time(v, time) && store_time(time, out)) return out;
    return text_value(v);
}

}  // namespace tova::property
