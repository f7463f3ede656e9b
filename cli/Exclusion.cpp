// Splits, checks and resolves the --exclude list.
#include "Exclusion.h"

#include "TextConversions.h"

#include <charconv>
#include <optional>
#include <unordered_set>

namespace cli {

namespace {

struct Range {
  std::size_t first = 0;  // counted from 1
  std::size_t last = 0;
};

// The comma-separated items, blanks around each removed.
std::vector<std::string_view> items(std::string_view list) {
  std::vector<std::string_view> result;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    result.push_back(toolkit::Trim(list.substr(start, comma - start)));
    if (comma == std::string_view::npos) return result;
    start = comma + 1;
  }
}

std::optional<std::size_t> positiveNumber(std::string_view text) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
  return value;
}

std::optional<Range> range(std::string_view item) {
  const std::size_t dash = item.find('-');
  const auto first = positiveNumber(toolkit::Trim(item.substr(0, dash)));
  if (dash == std::string_view::npos) {
    if (!first) return std::nullopt;
    return Range{*first, *first};
  }
  const auto last = positiveNumber(toolkit::Trim(item.substr(dash + 1)));
  if (!first || !last || *first > *last) return std::nullopt;
  return Range{*first, *last};
}

std::string syntaxError(std::string_view list, Pairing pairing) {
  return pairing == Pairing::ByName
             ? "--exclude erwartet Punktnamen, durch Kommas getrennt, erhalten: \"" +
                   toolkit::DisplayText(list) + "\"."
             : "--exclude erwartet Nummern und Bereiche der Paßpunkte wie \"3,7-9\", erhalten: \"" +
                   toolkit::DisplayText(list) + "\".";
}

}  // namespace

std::string checkExcludeList(std::string_view list, Pairing pairing) {
  for (const std::string_view item : items(list))
    if (item.empty() || (pairing == Pairing::ByPosition && !range(item))) return syntaxError(list, pairing);
  return {};
}

ExclusionResult resolveExcludeList(std::string_view list, Pairing pairing, const PointList& oldPairs,
                                   std::size_t pairCount) {
  ExclusionResult result;
  result.error = checkExcludeList(list, pairing);
  if (!result.ok()) return result;
  result.active.assign(pairCount, true);

  if (pairing == Pairing::ByPosition) {
    for (const std::string_view item : items(list)) {
      const Range pkt = *range(item);
      if (pkt.last > pairCount) {
        result.error = "--exclude: Pkt. " + toolkit::IntToStr(static_cast<long long>(pkt.last)) +
                       " gibt es nicht (Paßpunkte 1 bis " +
                       toolkit::IntToStr(static_cast<long long>(pairCount)) + ").";
        return result;
      }
      for (std::size_t i = pkt.first; i <= pkt.last; ++i) result.active[i - 1] = false;
    }
    return result;
  }

  std::unordered_set<std::string_view> wanted;
  for (const std::string_view item : items(list)) wanted.insert(item);
  std::unordered_set<std::string_view> found;
  for (std::size_t i = 0; i < pairCount; ++i) {
    const std::string_view name = oldPairs.nameAt(i);
    if (wanted.count(name) != 0) {
      result.active[i] = false;
      found.insert(name);
    }
  }
  for (const std::string_view item : items(list)) {
    if (found.count(item) == 0) {
      result.error = "--exclude: \"" + toolkit::DisplayText(item) + "\" ist kein Paßpunkt.";
      return result;
    }
  }
  return result;
}

}  // namespace cli
