// Texts from files as the protocol prints them: point names and paths may hold any bytes,
// but HTML, SVG and PDF can only carry characters, and XML forbids some of them outright
// (a single 0x01 in a name made the whole plot invalid). Here every text becomes UTF-8
// that each of the three shows as it is. No user interface here.
#pragma once

#include <string>
#include <string_view>

namespace protocol {

// `bytes` as UTF-8 (DisplayText: bytes that are not UTF-8 read as Windows-1252), with every
// control character written as a visible `\x01`-style escape of two lower-case hex digits:
// the C0 controls (tab, line feed and carriage return too: a name never holds them on
// purpose, and a document would show them as a blank), DEL and the C1 controls U+0080 to
// U+009F. The two non-characters that XML forbids, U+FFFE and U+FFFF, become `\ufffe` and
// `\uffff`. Every other character stays, so the result is allowed wherever XML 1.0 allows
// text.
std::string printableText(std::string_view bytes);

}  // namespace protocol
