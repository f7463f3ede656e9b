// Matching header words and the user's column and separator choices against the known
// names.
#include "ColumnNames.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace pointfiles {

namespace {

struct KnownName {
  const char* word;  // as normalise() leaves it
  Column column;
};

constexpr std::array kKnownNames{
    KnownName{"punkt", Column::Name},
    KnownName{"punktnr", Column::Name},
    KnownName{"punktnummer", Column::Name},
    KnownName{"pkt", Column::Name},
    KnownName{"pktnr", Column::Name},
    KnownName{"name", Column::Name},
    KnownName{"nr", Column::Name},
    KnownName{"rw", Column::Rw},
    KnownName{"rechtswert", Column::Rw},
    KnownName{"y", Column::Rw},
    KnownName{"e", Column::Rw},
    KnownName{"ost", Column::Rw},
    KnownName{"east", Column::Rw},
    KnownName{"easting", Column::Rw},
    KnownName{"hw", Column::Hw},
    KnownName{"hochwert", Column::Hw},
    KnownName{"x", Column::Hw},
    KnownName{"n", Column::Hw},
    KnownName{"nord", Column::Hw},
    KnownName{"north", Column::Hw},
    KnownName{"northing", Column::Hw},
    KnownName{"h", Column::Height},
    KnownName{"hoehe", Column::Height},
    KnownName{"z", Column::Height},
    KnownName{"height", Column::Height},
    KnownName{"code", Column::Code},
    KnownName{"kennung", Column::Code},
};

// Longer than any known name: a longer word is none of them.
constexpr std::size_t kLongestWord = 24;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Lower case, "ö" as "oe", without blanks, '.', '-' and '_'; nullopt when too long.
std::optional<std::string> normalise(std::string_view word) {
  std::string text;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto byte = static_cast<unsigned char>(word[i]);
    if (byte == 0xC3 && i + 1 < word.size() &&
        (word[i + 1] == '\xB6' || word[i + 1] == '\x96')) {  // UTF-8 ö, Ö
      text += "oe";
      ++i;
    } else if (byte == 0xF6 || byte == 0xD6) {  // Windows-1252 ö, Ö
      text += "oe";
    } else if (byte != ' ' && byte != '.' && byte != '-' && byte != '_') {
      text += lowerAscii(word[i]);
    }
    if (text.size() > kLongestWord) return std::nullopt;
  }
  return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  return text.size() == lowerWord.size() &&
         std::equal(text.begin(), text.end(), lowerWord.begin(),
                    [](char a, char b) { return lowerAscii(a) == b; });
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Column> columnNamed(std::string_view word) {
  const std::optional<std::string> text = normalise(word);
  if (!text || text->empty()) return std::nullopt;
  for (const KnownName& known : kKnownNames)
    if (*text == known.word) return known.column;
  return std::nullopt;
}

const char* columnLabel(Column column) {
  switch (column) {
    case Column::Name:
      return "Punkt";
    case Column::Rw:
      return "RW";
    case Column::Hw:
      return "HW";
    case Column::Height:
      return "H";
    case Column::Code:
      return "Code";
    case Column::Skip:
      break;
  }
  return "-";
}

std::string columnsProblem(const std::vector<Column>& columns) {
  for (const Column column : {Column::Name, Column::Rw, Column::Hw, Column::Height, Column::Code}) {
    const auto count = std::count(columns.begin(), columns.end(), column);
    if (count > 1)
      return std::string("Die Spalte ") + columnLabel(column) + " ist mehrfach angegeben.";
  }
  if (std::count(columns.begin(), columns.end(), Column::Rw) == 0 ||
      std::count(columns.begin(), columns.end(), Column::Hw) == 0)
    return "Die Spalten RW und HW müssen angegeben sein.";
  return {};
}

ColumnChoice parseColumnChoice(std::string_view text) {
  ColumnChoice choice;
  for (;;) {
    const std::size_t end = std::min(text.find(','), text.find(';'));
    const std::string_view word = trimBlanks(text.substr(0, end));
    if (word == "-" || equalsIgnoringCase(word, "skip")) {
      choice.columns.push_back(Column::Skip);
    } else if (const std::optional<Column> column = columnNamed(word)) {
      choice.columns.push_back(*column);
    } else {
      choice.error = "Unbekannte Spalte \"" + std::string(word) +
                     "\" (bekannt: name, rw, hw, h, code und - für eine übergangene Spalte).";
      return choice;
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  choice.error = columnsProblem(choice.columns);
  return choice;
}

std::optional<Separator> parseSeparatorChoice(std::string_view text) {
  if (text == ";" || equalsIgnoringCase(text, "semikolon") || equalsIgnoringCase(text, "semicolon"))
    return Separator::Semicolon;
  if (text == "," || equalsIgnoringCase(text, "komma") || equalsIgnoringCase(text, "comma"))
    return Separator::Comma;
  if (text == "\t" || equalsIgnoringCase(text, "tab") || equalsIgnoringCase(text, "tabulator"))
    return Separator::Tab;
  if (text == " " || equalsIgnoringCase(text, "leerzeichen") || equalsIgnoringCase(text, "blank") ||
      equalsIgnoringCase(text, "space"))
    return Separator::Blanks;
  return std::nullopt;
}

}  // namespace pointfiles
