// Writing a finished protocol to its file through the program's safe writer: the file is
// replaced only once the whole protocol is on disk, so a failure leaves an existing
// protocol as it was. No user interface here.
#pragma once

#include "SafeFileWriter.h"

#include <string>
#include <string_view>

namespace protocol {

// Writes `bytes` as the whole content of `path`. On failure the result carries the reason.
output::WriteResult saveProtocol(const std::string& path, std::string_view bytes);

}  // namespace protocol
