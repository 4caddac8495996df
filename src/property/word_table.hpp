// The keywords of property keys: every word with its English spelling and its
// Japanese spellings, in the order in which a section is compared with them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "api/messages.hpp"

namespace tova::property {

enum class Word : uint8_t {
    None,  // ends a statement path
    Book, Template, Sheet, Zoom, Width, Height, Length, Start, End, High, Low, Negative, Marker, Rotation,
    Direction, Indent, Degree, Transparent, Blur, Dist, Effect, NewPage, ThreeD, Checked, Comment, Control,
    AutoWidth, Recalc, Backup, Color, Size, Style, Accent, Reset, Name, Path, Ratio, Color1, Color2, Kind,
    Variation, Hidden, Display, Password, Final, Version, WritePassword, FormatCells, FormatColumns, FormatRows,
    InsColumns, InsRows, InsHyperlinks, DelColumns, DelRows, Sort, AutoFilter, PivotTables, Objects, Scenarios,
    Protect, Unprotect, Order, HiddenGrid, HiddenHeader, FrozenTop, FrozenLeft, FrozenSplit, Thumbnail,
    Background, AxisX, AxisY, Rotate3dX, Rotate3dY, Depth3d, Perspective3d, Location, Type, Min, Max, List,
    Operator, BackColor, Offset, Adjust, Left, Right, Top, Bottom, DiagonalUp, DiagonalDown, Center, X, Y,
    Horizontal, Vertical, Header, Footer, Pattern, Gradation, Orientation, Scale, Dpi, DataSource, RowNum, Switch,
    Date, HostName, Company, Creator, Manager, Title, Subject, Tag, ScrollRow, PrintTitleRow, PrintTitleColumn,
    Legend, Position, SeriesLine, MajorUnit, DataLabel, Text, GapWidth, ColumnName, Align, Font, Fill, Border,
    Validation, Tab, Paper, Margin, PrintPageFit, Merge, Wrap, Shrink, Format, Filter, TableFormat, Image, Chart,
    Csv, Tsv, Line, Arrow, Shadow, Autoshape, Sparkline, Hyperlink,
};

// One entry of the keyword list. A word may have more than one entry (ROTATION
// has a second one for 縦書き); the first entry that a section spells decides.
struct WordEntry {
    Word word;
    std::string_view english;                    // compared without regard to ASCII case
    std::array<std::string_view, 3> japanese{};  // UTF-8 here, compared byte for byte in Shift-JIS
    // A group word reports this when the words after it form none of its statements.
    std::optional<Msg> group_message{};
};

// The keyword list in matching order.
std::span<const WordEntry> word_entries();

// True when the Shift-JIS text is the English spelling (ASCII case ignored) or
// one of the Japanese spellings (byte for byte after conversion to Shift-JIS).
// Empty spellings are unused slots.
bool spelled(std::string_view sjis, std::string_view english, std::span<const std::string_view> japanese);

// Every word a Shift-JIS section spells, in matching order and each once; more
// than one only where two words share a spelling (方向 is DIRECTION and ORIENTATION).
std::vector<Word> words_spelled(std::string_view sjis);

// The group message of a word, if it has one.
std::optional<Msg> group_message(Word word);

// The English spelling of a word.
std::string_view english_of(Word word);

}  // namespace tova::property
