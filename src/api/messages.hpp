// The message catalogue. Every failure the caller sees is one of these texts,
// formatted with its values; the texts are kept in Shift-JIS because that is
// what log.error_info holds.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace tova {

enum class Msg : int {
    OutOfMemory,
    FileNameTooLong,
    DataSourceOpen,
    UnsupportedFile,
    VersionMismatch,
    BookSizeMismatch,
    RangeNotAllowed,
    RangeRequired,
    UnsupportedKeyword,
    UnsupportedOperator,
    UnsupportedFunction,
    TemplateKeyword,
    TemplateAddSheet,
    KeywordTooLong,
    TooManyDots,
    BadCell,
    BadRange,
    BadNumber,
    BadEquals,
    UnbalancedParentheses,
    BadVariableName,
    BadTab,
    BadFormat,
    BadValidation,
    BadZoom,
    BadDirection,
    BadIndent,
    TooManyFormats,
    BadSheetName,
    DuplicateSheetName,
    NoTemplateSheetName,
    BadColor,
    BadOffset,
    BadFont,
    BadAlign,
    BadFill,
    BadPattern,
    BadBorder,
    BadGradation,
    AlreadyMerged,
    BadImage,
    BadGraph,
    TooManySeries,
    TooManyDataPoints,
    BadMargin,
    BadPaper,
    BadPrintTitleRow,
    BadPrintTitleColumn,
    BadFrozenSplit,
    BadPrintPageFit,
    BadBackground,
    BadThumbnail,
    BadAutoshape,
    NoAutoshapeBefore,
    BadAutoshapeLine,
    BadAutoshapeArrow,
    BadAutoshapeShadow,
    BadAdjust,
    NoSparklineBefore,
    BadSparkline,
    BadControl,
    NoTableFormatBefore,
    TableFormatOverlap,
    TableFormatFormulaInHeader,
    VariableUnavailable,
    TemplateSheetUnavailable,
    CountLimit,
    BufferOverflow,
    FileOpen,
    ExcelFileOpen,
    ImageFileOpen,
    OutputFileOpen,
    XlsRead,
    FileWrite,
    ExcelFileWrite,
    TempFileWrite,
    ImageUnsupported,
    CircularReference,
    TooFewArguments,
    TooManyArguments,
    TemplateFormulaCell,
    InternalError,
    SavingForRecalc,
    InfoTooLong,
    Count_
};

// One value quoted into a message: a text already in Shift-JIS, or a number.
using MsgArg = std::variant<std::string_view, long long>;

// The catalogue text of a message, in Shift-JIS.
const std::string& message_text(Msg id);

// The catalogue text in UTF-8, as written in the source (for tests and tools).
std::string_view message_text_utf8(Msg id);

// Formats a message: each "%s" takes the next text, each "%d" the next number,
// "%%" is a percent sign. Missing values format as empty.
std::string format_message(Msg id, std::initializer_list<MsgArg> args);

}  // namespace tova
