#include <kivdb/export.h>

namespace kivdb {

// The library's version, so a host can tell which build it loaded.
KIVDB_EXPORT const char* LibraryVersion() {
  return "0.1.0";
}

}  // namespace kivdb
