// The signal handler that removes watched temporaries, and the table it reads. The handler
// may only make async-signal-safe calls: it reads fixed slots prepared beforehand (no
// allocation, no locks) and calls unlink and raise.
#include "TemporaryCleanup.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace output {

namespace {

// A few writers may be at work at once (the result file and the protocol); more than this
// simply go unwatched.
constexpr int kSlots = 8;
constexpr std::size_t kMaxPathBytes = 4096;

enum SlotState : int { kFree = 0, kFilling = 1, kWatched = 2 };

struct Slot {
  std::atomic<int> state{kFree};
  char path[kMaxPathBytes];
};

Slot watched[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots lock-free");

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporariesAndEnd(int signal) {
  const int savedErrno = errno;
  for (Slot& slot : watched)
    if (slot.state.load(std::memory_order_acquire) == kWatched) ::unlink(slot.path);
  // SA_RESETHAND has put the default action back. The signal stays blocked until this
  // handler returns; then it ends the process as if no handler had been there.
  ::raise(signal);
  errno = savedErrno;
}

}  // namespace

void removeTemporariesOnSignals() {
  for (const int signal : kEndingSignals) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int other : kEndingSignals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

int watchTemporary(const std::string& path) {
  if (path.size() >= kMaxPathBytes) return -1;
  for (int ticket = 0; ticket < kSlots; ++ticket) {
    Slot& slot = watched[ticket];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(kWatched, std::memory_order_release);
    return ticket;
  }
  return -1;
}

void unwatchTemporary(int ticket) {
  if (ticket >= 0 && ticket < kSlots) watched[ticket].state.store(kFree, std::memory_order_release);
}

}  // namespace output
