// How long-running work tells its caller how far it has got, without any user interface:
// the Qt-free part of the toolkit's progress window (toolkit/Progress.h shows it).
#pragma once

#include <functional>

namespace toolkit {

// Called now and then with the share of the work done, from 0 to 1. An empty handler is
// allowed: callers check before calling.
using ProgressHandler = std::function<void(double fraction)>;

}  // namespace toolkit
