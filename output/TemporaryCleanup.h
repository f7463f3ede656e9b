// Temporary files that a signal must not leave behind. The safe writer writes beside its
// target under a hidden name; a process ended by Ctrl+C, `kill` or a closed terminal while
// it writes would leave that file (often hundreds of MB) in the user's folder.
//
// The safe writer announces every temporary it makes (watchTemporary) and withdraws it once
// the temporary is renamed over its target or removed (unwatchTemporary). A program that
// wants the clean-up calls removeTemporariesOnSignals() once at start.
#pragma once

#include <string>

namespace output {

// On SIGINT, SIGTERM and SIGHUP every watched temporary is removed, then the process ends by
// the same signal with its default action, as it would have ended without the handler (the
// parent sees "killed by signal"). SIGXFSZ is ignored, so that writing past the file size
// limit (ulimit -f) fails with EFBIG and is reported as a write error instead of ending the
// process. A signal the process was started with ignored (nohup) stays ignored. On Windows,
// which has none of these signals, this does nothing.
void removeTemporariesOnSignals();

// Announces the temporary at `path` (an absolute or relative path that stays valid: the
// process does not change its working folder). Returns a ticket for unwatchTemporary, or -1
// when the path cannot be watched (too long, or too many writers at work at once).
int watchTemporary(const std::string& path);
// Withdraws the temporary of `ticket` (-1 does nothing).
void unwatchTemporary(int ticket);

}  // namespace output
