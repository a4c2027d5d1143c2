#pragma once
// Owning wrappers of ODBC handles and the text of a handle's diagnostics. A handle frees itself
// when it goes out of scope; children must go before their parents (statement, connection,
// environment), which declaration order in the owners takes care of.

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <utility>

namespace kivdb {

class OdbcHandle {
 public:
  OdbcHandle() = default;
  // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment); check
  // Valid() afterwards.
  OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
  ~OdbcHandle();
  OdbcHandle(OdbcHandle&& other) noexcept
      : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept;
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  bool Valid() const { return handle_ != SQL_NULL_HANDLE; }
  SQLHANDLE Get() const { return handle_; }
  SQLSMALLINT Type() const { return type_; }

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = nullptr;
};

// The diagnostic records of a handle, joined as "[SQLSTATE] message; ...". `fallback` is returned
// when the driver left no record.
std::string DiagnosticText(SQLSMALLINT type, SQLHANDLE handle, const std::string& fallback);
inline std::string DiagnosticText(const OdbcHandle& handle, const std::string& fallback) {
  return DiagnosticText(handle.Type(), handle.Get(), fallback);
}

// True when the handle's first diagnostic record has this SQLSTATE.
bool HasState(const OdbcHandle& handle, const char* state);

inline bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

}  // namespace kivdb
