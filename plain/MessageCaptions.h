// Captions of the program's messages that several subsystems share: the window shows them
// as the title of its message boxes, tramis-cli prints them before its German message
// ("File Error: Datei … kann nicht geöffnet werden."). A caption that only one subsystem
// uses stays with its messages (the estimate's "Solve Error" in compute/). No window
// system here.
#pragma once

namespace toolkit {

// A coordinate file that cannot be opened or read, a result file or protocol that cannot
// be written.
inline constexpr const char* kFileErrorCaption = "File Error";

}  // namespace toolkit
