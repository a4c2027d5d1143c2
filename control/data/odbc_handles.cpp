#include "control/data/odbc_handles.h"

#include <cstring>

namespace kivdb {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  if (!Succeeded(SQLAllocHandle(type, parent, &handle_))) handle_ = SQL_NULL_HANDLE;
}

OdbcHandle::~OdbcHandle() {
  if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

std::string DiagnosticText(SQLSMALLINT type, SQLHANDLE handle, const std::string& fallback) {
  if (handle == SQL_NULL_HANDLE) return fallback;
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[2048] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetDiagRec(type, handle, record, state, &native, message, sizeof message, &length);
    if (!Succeeded(rc)) break;
    std::string line = reinterpret_cast<const char*>(message);
    // Drivers end their messages with newlines and ";"; one line per record reads better.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ' ||
                             line.back() == ';')) {
      line.pop_back();
    }
    for (char& c : line) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    if (!text.empty()) text += "; ";
    text += "[" + std::string(reinterpret_cast<const char*>(state)) + "] " + line;
  }
  return text.empty() ? fallback : text;
}

bool HasState(const OdbcHandle& handle, const char* state) {
  SQLCHAR found[SQL_SQLSTATE_SIZE + 1] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  const SQLRETURN rc =
      SQLGetDiagRec(handle.Type(), handle.Get(), 1, found, &native, nullptr, 0, &length);
  return Succeeded(rc) && std::strcmp(reinterpret_cast<const char*>(found), state) == 0;
}

}  // namespace kivdb
