#pragma once
// RunWithin: keeps one call on a connection within the query timeout when its provider cannot
// bound its own time (a server that never answers). The call runs on a worker thread while the
// caller's thread waits; when the time is up the connection is asked to Cancel, and a call that
// still does not return is left to finish on its thread, which then destroys the connection too.
// Rows of a forward-only read cross back to the caller's thread through a small bounded hand-off,
// so a sink only ever runs on the thread that called.

#include <functional>
#include <memory>
#include <string>

#include "control/data/connection.h"
#include "control/data/row_sink.h"

namespace kivdb {

// The call made on the worker thread. `held` is the connection it works on; an opening call
// starts with none and leaves the new connection there. `sink` is where a forward-only read hands
// its rows (null when the call reads none). Whatever it captures must be its own: a call left to
// finish on its thread outlives the caller's stack.
using TimedCall =
    std::function<bool(std::unique_ptr<Connection>& held, RowSink* sink, std::string& error)>;

// Runs `call` on `connection` (null to open one) with at most `seconds` (> 0) of waiting and about
// a second's grace for the cancel to take. `sink`, when given, receives the call's rows on this
// thread. Returns what the call returned, its error in `error`; past the limit a failure becomes
// QueryTimedOutMessage(seconds). When the call does not come back, `connection` is left null: the
// worker thread owns it from then on. An exception of the call is rethrown here.
bool RunWithin(int seconds, std::unique_ptr<Connection>& connection, TimedCall call, RowSink* sink,
               std::string& error);

}  // namespace kivdb
