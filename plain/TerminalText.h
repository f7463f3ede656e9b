// Text for a terminal: what tramis-cli writes as protocol and messages may carry point
// names, tokens and paths taken from files and the command line, and a control character
// among them would act on the terminal (ESC[31m colours everything after it, CR overwrites
// the line, BEL rings). Here such characters become visible escapes. Files never pass
// through this: result files keep their bytes, JSON and HTML escape by their own rules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace toolkit {

// `text` with every character that could act on a terminal written as a `\x1b`-style escape
// of two lower-case hex digits: the C0 controls except the line feed, which ends the text's
// lines (tab and carriage return included), DEL, and the C1 controls U+0080 to U+009F
// (escaped by their code point, "\x9b"). A byte that does not start a well-formed UTF-8
// sequence is escaped as that byte. Everything else, umlauts and other letters of any
// script, stays as it is; so the result is well-formed UTF-8 without control characters
// other than line feeds. Texts shown from file bytes should be made with DisplayText
// first, so that Windows-1252 names read as their letters rather than as escapes.
std::string TerminalText(std::string_view text);

// The number of bytes at the end of `bytes` (0 to 3) that begin a well-formed UTF-8
// sequence which the end cuts off: a writer that escapes text piece by piece keeps them
// for the next piece instead of taking them for bad bytes.
std::size_t Utf8CutTail(std::string_view bytes);

}  // namespace toolkit
