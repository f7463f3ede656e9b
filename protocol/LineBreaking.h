// Breaking a paragraph of the PDF protocol into lines: only where the text allows it
// (between words, after the comma between two list entries), never inside a number, a
// name or a list entry such as "7 (1007)", so every name stays readable and searchable.
// A single word wider than the whole line (a very long point name or a path without
// blanks) is the exception: it is cut at the last character that fits, the cut marked by
// kContinuedMark at the end of the line, and continues on the next. Measuring is the
// caller's (the PDF writer's font metrics); no user interface here.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace protocol {

// Ends a line whose last word continues on the next one.
inline constexpr const char* kContinuedMark = "↵";

// The width of a text in the caller's unit.
using TextWidth = std::function<double(std::string_view)>;

// The lines of `words` joined by `separator` (" " for running text, ", " for a list), each
// at most `width` wide by `measure`. A line ends after a separator's non-blank part (the
// comma) and the next begins with the next word. There is at least one line, and every
// piece of a cut word holds at least one character.
std::vector<std::string> breakLines(const std::vector<std::string>& words, std::string_view separator,
                                    double width, const TextWidth& measure);

// `text` cut at every blank: joined by single blanks the words give `text` again (a run of
// blanks leaves empty words between them).
std::vector<std::string> blankSeparatedWords(std::string_view text);

}  // namespace protocol
