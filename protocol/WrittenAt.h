// The protocol's time stamp: when it was written, in local time, and the text the protocol
// shows for it. The window, tramis-cli and the protocol tool all take the time from here.
#pragma once

#include <ctime>
#include <string>

namespace protocol {

// The present local date and time (all fields zero should the system not know them).
std::tm writtenNow();

// "07.12.2026, 14:05 Uhr"
std::string writtenAtText(const std::tm& time);

}  // namespace protocol
