// Fuzz target for kel::FileNamePart: any bytes as a path (up to the first zero byte), split
// with every selector. Checks that the parts give the whole path back, that every result is
// made of pieces of the path in their order, and that the combined selectors agree with the
// single parts.
#include <Kelfile.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

std::string path;

[[noreturn]] void fail(const char* what, char selector, const std::string& result) {
  std::fprintf(stderr, "FileNamePart: %s (selector %c)\npath (%zu bytes): %s\nresult: %s\n", what,
               selector, path.size(), path.c_str(), result.c_str());
  std::abort();
}

std::string part(char selector) {
  const char* result = kel::FileNamePart(path.c_str(), selector);
  if (result == nullptr) fail("null result", selector, "");
  return std::string(result);
}

// True when the pieces are substrings of the path at increasing, non-overlapping
// positions. Taking the earliest match of each piece leaves the most room for the next.
bool areInPathInOrder(std::initializer_list<std::string_view> pieces) {
  std::size_t from = 0;
  for (const std::string_view piece : pieces) {
    const std::size_t at = std::string_view(path).find(piece, from);
    if (at == std::string_view::npos) return false;
    from = at + piece.size();
  }
  return true;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  path.assign(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));

  const std::string E = part('E'), F = part('F'), L = part('L'), P = part('P');
  const std::string d = part('d'), e = part('e'), f = part('f'), l = part('l'), p = part('p');

  // Single parts: pieces of the path in drive, directory, name, extension order.
  if (!areInPathInOrder({L, P, F, E})) fail("parts are not pieces of the path in order", 'P', L + P + F + E);
  if (path.compare(0, L.size(), L) != 0) fail("drive is not the path's start", 'L', L);
  if (L.size() > 2 || (!L.empty() && (L.size() != 2 || L[1] != ':'))) fail("bad drive", 'L', L);
  if (!P.empty() && !isSeparator(P.back())) fail("directory without separator at its end", 'P', P);
  for (const char c : F + E)
    if (isSeparator(c)) fail("separator in name or extension", 'F', F + E);
  if (!E.empty() && (E[0] != '.' || E.find('.', 1) != std::string::npos))
    fail("extension not from the last dot", 'E', E);
  if (L + P + F + E != path) fail("parts do not give the path back", 'P', L + P + F + E);

  // Combinations: the single parts joined in the documented order, so every result is made
  // of pieces of the path (p apart from its one backslash).
  if (d != F + E) fail("d is not name+extension", 'd', d);
  if (e != L + P + F) fail("e is not drive+directory+name", 'e', e);
  if (f != L + P + E) fail("f is not drive+directory+extension", 'f', f);
  if (l != P + F + E) fail("l is not directory+name+extension", 'l', l);
  if (p != (L.empty() ? F + E : L + "\\" + F + E)) fail("p is not drive\\name+extension", 'p', p);

  // Any other selector gives the empty text, and a previous result is overwritten.
  const char other = size > 0 ? static_cast<char>(data[size - 1]) : 'x';
  if (std::strchr("EFLPdeflp", other) == nullptr || other == '\0')
    if (!part(other).empty()) fail("unknown selector gives text", other, part(other));
  return 0;
}
