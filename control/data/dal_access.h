#pragma once
// DalAccess: what the control and its tests reach inside a DAL that hosts do not: connections
// opened by a factory of their own instead of the providers, and the forward read (ReadForward,
// row_sink.h).

#include <functional>
#include <memory>
#include <string>

#include <kivdb/dal.h>

namespace kivdb {

class Connection;
class RowSink;

// Opens one connection for a connection string, or returns null with the reason in `error`.
// Tests pass their own factory to make a provider fail on demand.
using ConnectionFactory = std::function<std::unique_ptr<Connection>(
    const std::string& connectionString, std::string& error)>;

struct DalAccess {
  // From now on `dal` opens its connections through `factory` (an empty one opens none).
  static void UseFactory(DAL& dal, ConnectionFactory factory);
  // What ReadForward does, inside the DAL.
  static bool ReadForward(DAL& dal, const std::string& command, RowSink& sink);
};

}  // namespace kivdb
