// Saves a protocol through output::SafeFileWriter.
#include "ProtocolFile.h"

#include "SafeFileWriter.h"

namespace protocol {

output::WriteResult saveProtocol(const std::string& path, std::string_view bytes) {
  output::SafeFileWriter writer;
  if (writer.open(path) && writer.write(bytes) && writer.commit()) return {};
  return {false, writer.error()};
}

}  // namespace protocol
