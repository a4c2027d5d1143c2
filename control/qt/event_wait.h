#pragma once
// WaitFor: runs the application's event loop until a condition holds or a time runs out, for
// engine commands that finish asynchronously (save, print, loads) behind a synchronous call.

#include <functional>

namespace kivdb::qt {

// True when `done` held before `timeoutMs` milliseconds passed.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

}  // namespace kivdb::qt
