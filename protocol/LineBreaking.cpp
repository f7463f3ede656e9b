// Greedy line breaking: each line takes as many whole words as fit; a word wider than a
// line on its own is cut into pieces of as many characters as fit beside the mark.
#include "LineBreaking.h"

namespace protocol {

namespace {

// The length of the UTF-8 character that starts with byte `lead` (1 for a stray byte).
std::size_t characterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Cuts `word` into pieces that fit `width` with the mark after each but the last; the last
// piece is returned, the others are appended to `lines`.
std::string cutWord(std::string_view word, double width, const TextWidth& measure,
                    std::vector<std::string>& lines) {
  std::string piece;
  std::size_t at = 0;
  while (at < word.size()) {
    const std::size_t length = std::min(characterLength(static_cast<unsigned char>(word[at])), word.size() - at);
    const std::string_view next = word.substr(at, length);
    const bool last = at + length == word.size();
    if (!piece.empty() && measure(piece + std::string(next) + (last ? "" : kContinuedMark)) > width) {
      lines.push_back(piece + kContinuedMark);
      piece.clear();
    }
    piece += next;
    at += length;
  }
  return piece;
}

}  // namespace

std::vector<std::string> breakLines(const std::vector<std::string>& words, std::string_view separator,
                                    double width, const TextWidth& measure) {
  // What stays at the end of a line when it breaks at a separator: ", " leaves ",".
  std::string_view lineEnd = separator;
  while (!lineEnd.empty() && lineEnd.back() == ' ') lineEnd.remove_suffix(1);

  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string_view end = i + 1 < words.size() ? lineEnd : std::string_view();
    const std::string word = words[i] + std::string(end);
    if (i != 0) {
      const std::string joined = line + std::string(separator.substr(lineEnd.size())) + word;
      if (measure(joined) <= width) {
        line = joined;
        continue;
      }
      lines.push_back(line);
    }
    line = measure(word) <= width ? word : cutWord(word, width, measure, lines);
  }
  lines.push_back(line);
  return lines;
}

std::vector<std::string> blankSeparatedWords(std::string_view text) {
  std::vector<std::string> words;
  for (std::size_t start = 0;;) {
    const std::size_t blank = text.find(' ', start);
    words.emplace_back(text.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
    if (blank == std::string_view::npos) return words;
    start = blank + 1;
  }
}

}  // namespace protocol
