// The protocol as one self-contained HTML file: styles in the file, the residual plot as
// SVG inside the file (a data address), no scripts, no external resources; well-formed as
// XML as well, and laid out to print on A4 from a browser. Written as a stream: the table
// of all pairs goes out row by row, so a protocol of a million pairs never lies in memory
// whole. No user interface here; the window and tramis-cli share it.
#pragma once

#include "ProtocolContent.h"

#include <string>
#include <string_view>

namespace protocol {

// Where a protocol goes, piece by piece. write() returns false once writing has failed;
// the writer then stops producing.
class TextSink {
public:
  virtual ~TextSink() = default;
  virtual bool write(std::string_view text) = 0;
};

// Writes the whole HTML document for `source` (UTF-8, numbers with `sep`) to `sink`, in
// pieces of about a MiB. Returns false when the sink failed.
bool writeHtmlProtocol(const ProtocolSource& source, char sep, TextSink& sink);

// The whole HTML document for `source`, in memory.
std::string htmlProtocol(const ProtocolSource& source, char sep);

// `text` as printableText shows it, with &, <, > and " replaced by their character
// references: text for HTML and SVG, well-formed XML whatever the bytes of `text`.
std::string escapeMarkup(std::string_view text);

// `bytes` in base64 (RFC 4648, with padding), for data addresses.
std::string base64(std::string_view bytes);

}  // namespace protocol
