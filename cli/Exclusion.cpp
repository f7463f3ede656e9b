// Splits, checks and resolves the --exclude lists.
#include "Exclusion.h"

#include "TextConversions.h"

#include <charconv>
#include <limits>
#include <optional>
#include <unordered_set>

namespace cli {

namespace {

struct Range {
  std::size_t first = 0;  // counted from 1
  std::size_t last = 0;
  std::string_view lastAsTyped;  // for the message when there is no such pair
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

// A pair number: decimal digits, not zero. A number beyond size_t is taken as the largest
// size_t, which no list of pairs reaches, so that it is reported as a pair that does not
// exist rather than as a mistyped list.
std::optional<std::size_t> pairNumber(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) return std::numeric_limits<std::size_t>::max();
  if (value == 0) return std::nullopt;
  return value;
}

std::optional<Range> range(std::string_view item) {
  const std::size_t dash = item.find('-');
  const std::string_view firstText = toolkit::Trim(item.substr(0, dash));
  const auto first = pairNumber(firstText);
  if (dash == std::string_view::npos) {
    if (!first) return std::nullopt;
    return Range{*first, *first, firstText};
  }
  const std::string_view lastText = toolkit::Trim(item.substr(dash + 1));
  const auto last = pairNumber(lastText);
  if (!first || !last || *first > *last) return std::nullopt;
  return Range{*first, *last, lastText};
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

ExclusionResult resolveExcludeList(const std::vector<std::string>& lists, Pairing pairing,
                                   const PointList& oldPairs, std::size_t pairCount) {
  ExclusionResult result;
  for (const std::string& list : lists) {
    result.error = checkExcludeList(list, pairing);
    if (!result.ok()) return result;
  }
  result.active.assign(pairCount, true);

  if (pairing == Pairing::ByPosition) {
    for (const std::string& list : lists) {
      for (const std::string_view item : items(list)) {
        const Range pkt = *range(item);
        if (pkt.last > pairCount) {
          result.error = "--exclude: Pkt. " + std::string(pkt.lastAsTyped) + " gibt es nicht (Paßpunkte 1 bis " +
                         toolkit::IntToStr(static_cast<long long>(pairCount)) + ").";
          return result;
        }
        for (std::size_t i = pkt.first; i <= pkt.last; ++i) result.active[i - 1] = false;
      }
    }
    return result;
  }

  std::vector<std::string_view> wantedInOrder;
  for (const std::string& list : lists)
    for (const std::string_view item : items(list)) wantedInOrder.push_back(item);
  const std::unordered_set<std::string_view> wanted(wantedInOrder.begin(), wantedInOrder.end());
  std::unordered_set<std::string_view> found;
  for (std::size_t i = 0; i < pairCount; ++i) {
    const std::string_view name = oldPairs.nameAt(i);
    if (wanted.count(name) != 0) {
      result.active[i] = false;
      found.insert(name);
    }
  }
  for (const std::string_view item : wantedInOrder) {
    if (found.count(item) == 0) {
      result.error = "--exclude: \"" + toolkit::DisplayText(item) + "\" ist kein Paßpunkt.";
      return result;
    }
  }
  return result;
}

}  // namespace cli
