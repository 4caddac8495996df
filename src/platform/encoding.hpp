// Character sets of the caller's texts and the routines that scan and convert
// them. Every scanner steps over multibyte characters whole with the trail-byte
// rule, so no second byte of a Japanese character is taken for a delimiter.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tova::enc {

enum Charset : int {
    kShiftJis = 1,  // code page 932
    kEucJp = 2,
    kUtf8 = 3,
    kUtf16Be = 4,   // a conversion source only (text taken from .xls files)
};

// Number of further bytes of the character that starts with `byte`; also adds
// it to `position`, so a scanner that then steps one byte lands on the next character.
int mb_trail_bytes(int charset, unsigned char byte, size_t& position);

// The same count without moving a position.
int trail_bytes(int charset, unsigned char byte);

// Position of the character after the one at `position`. A lead byte whose
// trail bytes are cut off by the end of the text stops at the end, never past it.
size_t next_char(int charset, std::string_view text, size_t position);

// Length of the longest prefix of `text` of at most `max_bytes` that ends on a
// character boundary (a lead byte whose trail bytes are missing is dropped).
size_t char_boundary(int charset, std::string_view text, size_t max_bytes);

// Characters of a UTF-8 text (a stray continuation byte counts as one).
size_t utf8_char_count(std::string_view text);

// Converts a text between character sets. Unsupported pairs, the same set on
// both sides and every conversion into UTF-16 return the text unchanged.
// Characters code page 932 cannot hold become '?'; undecodable input becomes
// U+FFFD in UTF-8 (or '?' in Shift-JIS). The single bytes 0x80, 0xA0, 0xFD,
// 0xFE and 0xFF map to U+0080, U+F8F0, U+F8F1, U+F8F2 and U+F8F3 and back, as
// Windows maps them. A UTF-16 source ends at its first U+0000 and an odd last
// byte is ignored. A character cut off by the end of the text becomes one
// replacement character.
std::string conv_charset(int from, int to, std::string_view text);

// The individual routines conv_charset chooses between. The EUC-JP pair is
// plain JIS arithmetic: the Shift-JIS user-defined area (lead bytes 0xF0-0xFC),
// which EUC-JP cannot hold, becomes the geta mark (0xA2 0xAE).
std::string sjis_to_euc(std::string_view text);
std::string euc_to_sjis(std::string_view text);
std::string sjis_to_utf8(std::string_view text);
std::string utf8_to_sjis(std::string_view text);
std::string utf16be_to_sjis(std::string_view bytes);
std::string utf16be_to_utf8(std::string_view bytes);

// Quoted sections. When the byte at `position` opens the section, `position`
// moves past its closing quote; -1 when the text ends first. A doubled
// apostrophe inside a single-quoted section does not close it.
int skip_single_quoted(int charset, std::string_view text, size_t& position);
int skip_double_quoted(int charset, std::string_view text, size_t& position);

// Upper-cases ASCII letters outside quoted sections; -1 for an unclosed quote.
int upper_unquoted(int charset, std::string& text);

// Splits at the last '/' or '\' that is a character of its own and not the
// first byte: `directory` gets what precedes it, `path` keeps what follows.
// Otherwise the directory is empty and the path unchanged.
void split_path(int charset, std::string& path, std::string& directory);

// Exchanges the bytes of every 16-bit unit; -1 for an odd length.
int swap_utf16(char* buffer, size_t length);

// Replaces U+00A0 by a space in little-endian UTF-16; -1 for an odd length.
int nbsp_to_space16(char* buffer, size_t length);

// True when every byte is a hexadecimal digit (an empty text counts).
bool is_hex_text(std::string_view text);

// XML character data.
enum XmlMode : int {
    XML_UNESCAPE = 0,        // entities and _xHHHH_ escapes back to characters
    XML_ESCAPE = 1,          // CR and LF become character references
    XML_ESCAPE_KEEP_NL = 2,  // CR and LF are written unchanged
};

// Appends the escaped form of a UTF-8 text (any mode but XML_ESCAPE_KEEP_NL
// acts as XML_ESCAPE). Control characters that XML cannot carry and the
// non-characters U+FFFE and U+FFFF are written as _xHHHH_, NUL is dropped and
// each invalid UTF-8 sequence becomes U+FFFD, so the result is always
// well-formed character data. An underscore that would read as the start of an
// _xHHHH_ escape is itself written as _x005F_.
void xml_escape_append(std::string& out, std::string_view text, int mode);

// Decodes the five named entities, numeric character references and _xHHHH_
// escapes into UTF-8; _x0000_ gives nothing, and _x001A_ and a no-break space
// give a space. References to no valid character are left as they are.
std::string xml_unescape(std::string_view text);

// Rewrites `text` in place in the given mode; 0 always (kept for callers that
// check a result).
int xml_escape(int mode, std::string& text);

}  // namespace tova::enc
