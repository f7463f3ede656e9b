// The protocol as one self-contained HTML file: styles in the file, the residual plot as
// SVG inside the file (a data address), no scripts, no external resources; well-formed as
// XML as well, and laid out to print on A4 from a browser. No user interface here; the window and tramis-cli share it.
#pragma once

#include "ProtocolContent.h"

#include <string>
#include <string_view>

namespace protocol {

// The whole HTML document for `source`, UTF-8, numbers with `sep`.
std::string htmlProtocol(const ProtocolSource& source, char sep);

// `text` with &, <, > and " replaced by their character references.
std::string escapeMarkup(std::string_view text);

// `bytes` in base64 (RFC 4648, with padding), for data addresses.
std::string base64(std::string_view bytes);

}  // namespace protocol
