// Takes and formats the protocol's time stamp.
#include "WrittenAt.h"

namespace protocol {

std::tm writtenNow() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local ? *local : std::tm{};
}

std::string writtenAtText(const std::tm& time) {
  // Only numeric fields: the text is the same in every locale.
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%d.%m.%Y, %H:%M Uhr", &time);
  return std::string(text, length);
}

}  // namespace protocol
