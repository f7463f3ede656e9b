// Fuzz target for toolkit::TerminalText and Utf8CutTail: any bytes. The escaped text must
// hold no byte that acts on a terminal (C0 but the line feed, DEL, C1), must be well-formed
// UTF-8, and escaping the input in two pieces, the cut sequence carried over as the
// terminal streams do, must give the same text as escaping it whole.
#include <TerminalText.h>
#include <Utf8Encoding.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view input) {
  std::fprintf(stderr, "TerminalText: %s (%zu input bytes)\n", what, input.size());
  std::abort();
}

void checkShown(const std::string& shown, std::string_view input) {
  for (std::size_t i = 0; i < shown.size();) {
    const auto c = static_cast<unsigned char>(shown[i]);
    if ((c < 0x20 && c != '\n') || c == 0x7f) fail("a C0 control or DEL came through", input);
    const std::size_t length = toolkit::utf8SequenceLength(shown, i);
    if (length == 0) fail("the text is not well-formed UTF-8", input);
    if (c == 0xc2 && static_cast<unsigned char>(shown[i + 1]) < 0xa0) fail("a C1 control came through", input);
    i += length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses where the input is cut in two.
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string whole = toolkit::TerminalText(input);
  checkShown(whole, input);

  const std::size_t cut = input.empty() ? 0 : data[0] % (input.size() + 1);
  const std::string_view first = input.substr(0, cut);
  const std::size_t carried = toolkit::Utf8CutTail(first);
  if (carried > 3 || carried > first.size()) fail("the cut tail is longer than a sequence", input);
  const std::string pieces = toolkit::TerminalText(first.substr(0, first.size() - carried)) +
                             toolkit::TerminalText(input.substr(first.size() - carried));
  if (pieces != whole) fail("escaping in two pieces differs from escaping at once", input);
  return 0;
}
