// Splitting a path into drive, directory, name and extension, and returning a chosen
// combination of those parts. Both \ and / separate directories.
#pragma once

namespace kel {

// Returns the parts of `path` named by `selector`, in a static text that the next call
// overwrites (not reentrant):
//   E extension, F name, L drive, P directory,
//   d name+extension, e drive+directory+name, f drive+directory+extension,
//   l directory+name+extension, p drive+"\"+name+extension (backslash only with a drive),
//   anything else: the empty text.
// No part is ever shortened, whatever the length of the path.
const char* FileNamePart(const char* path, char selector);

}  // namespace kel
