// Saves a protocol through output::SafeFileWriter.
#include "ProtocolFile.h"

#include "HtmlProtocol.h"
#include "SafeFileWriter.h"

namespace protocol {

namespace {

// The safe writer as the HTML writer's sink.
class SafeFileSink : public TextSink {
public:
  explicit SafeFileSink(output::SafeFileWriter& writer) : writer_(writer) {}
  bool write(std::string_view text) override { return writer_.write(text); }

private:
  output::SafeFileWriter& writer_;
};

}  // namespace

output::WriteResult saveProtocol(const std::string& path, std::string_view bytes) {
  output::SafeFileWriter writer;
  if (writer.open(path) && writer.write(bytes) && writer.commit()) return {};
  return {false, writer.error()};
}

output::WriteResult saveHtmlProtocol(const std::string& path, const ProtocolSource& source, char sep) {
  output::SafeFileWriter writer;
  if (!writer.open(path)) return {false, writer.error()};
  SafeFileSink sink(writer);
  if (writeHtmlProtocol(source, sep, sink) && writer.commit()) return {};
  return {false, writer.error()};
}

}  // namespace protocol
