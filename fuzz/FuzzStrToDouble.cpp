// Fuzz target for kel::StrToDouble: any bytes as a token. Its verdict and value are
// checked against the C library's strtod on the same text with commas turned into points,
// in the C locale, which is what the conversion promises to agree with.
#include <Kelstring.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, const std::string& text, double ours, double theirs) {
  std::fprintf(stderr, "StrToDouble: %s\ntext (%zu bytes):", what, text.size());
  for (const unsigned char c : text) std::fprintf(stderr, " %02x", c);
  std::fprintf(stderr, "\nours %.17g, strtod %.17g\n", ours, theirs);
  std::abort();
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// strtod also reads hexadecimal numbers, inf, infinity and nan, which StrToDouble refuses
// on purpose; texts with these letters are left out of the comparisons that depend on it.
bool mayHoldWordsOrHex(const std::string& text) {
  return text.find_first_of("xXiInN") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const std::string text(reinterpret_cast<const char*>(data), size);

  double value = -12345.0;  // any value: StrToDouble must write it on every call
  const bool ok = kel::StrToDouble(text, value);

  std::string pointed = text;
  for (char& c : pointed)
    if (c == ',') c = '.';
  char* stop = nullptr;
  const double reference = strtod_l(pointed.c_str(), &stop, cLocale);
  const std::size_t consumed = static_cast<std::size_t>(stop - pointed.c_str());
  const bool wholeByStrtod = !pointed.empty() && consumed == pointed.size();

  if (text.empty()) {
    if (!ok || value != 0.0) fail("empty text must give true and 0", text, value, reference);
    return 0;
  }
  if (ok) {
    if (!wholeByStrtod) fail("accepted a text that strtod does not read whole", text, value, reference);
    if (std::isnan(value)) fail("accepted a text as NaN", text, value, reference);
    if (std::isfinite(value) && !sameBits(value, reference))
      fail("value differs from strtod", text, value, reference);
    if (std::isinf(value) && value != reference) fail("infinity differs from strtod", text, value, reference);
    return 0;
  }
  if (mayHoldWordsOrHex(text)) return 0;
  if (wholeByStrtod) fail("refused a number that strtod reads whole", text, value, reference);
  // On failure the value is the leading number's (strtod's up to where it stopped), or 0.
  if (!sameBits(value, reference) && !(value == 0.0 && reference == 0.0))
    fail("value after failure differs from the leading number", text, value, reference);
  return 0;
}
