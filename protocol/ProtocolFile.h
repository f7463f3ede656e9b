// Writing a protocol to its file through the program's safe writer: the file is replaced
// only once the whole protocol is on disk, so a failure leaves an existing protocol as it
// was. No user interface here.
#pragma once

#include "ProtocolContent.h"
#include "SafeFileWriter.h"

#include <string>
#include <string_view>

namespace protocol {

// Writes `bytes` as the whole content of `path`. On failure the result carries the reason.
output::WriteResult saveProtocol(const std::string& path, std::string_view bytes);

// Writes the HTML protocol of `source` (numbers with `sep`) to `path` as it is produced,
// piece by piece, so that its size does not count against memory.
output::WriteResult saveHtmlProtocol(const std::string& path, const ProtocolSource& source, char sep);

}  // namespace protocol
