#include <kivdb/version.h>

namespace kivdb {

const char* LibraryVersion() {
  return KIVDB_VERSION;
}

}  // namespace kivdb
