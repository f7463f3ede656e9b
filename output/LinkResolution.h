// Following symbolic links by hand, one link at a time, as the safe writer must: it writes
// its temporary beside the file a link points to, and a link may point to a file that does
// not exist yet. POSIX only; the target's identity (FileIdentity) follows links the same way.
#pragma once

#include <string>
#include <sys/stat.h>

namespace output {

// The folder part of `path` ("." when it has none, "/" for a file in the root).
std::string directoryOf(const std::string& path);
// The part after the last slash.
std::string baseNameOf(const std::string& path);

// Follows symbolic links from `path` until it names something that is not a link, or
// nothing at all (a new file, possibly behind a dangling link). `resolved` is that path,
// `info` its lstat when `exists`. Returns 0 or an errno (ELOOP after too many links).
int resolveLinks(const std::string& path, std::string& resolved, struct stat& info, bool& exists);

}  // namespace output
