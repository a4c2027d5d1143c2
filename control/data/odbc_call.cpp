#include "control/data/odbc_call.h"

#include <cctype>

namespace kivdb {
namespace {

bool IsPlainName(const std::string& name) {
  if (name.empty() || name.front() == '.' || name.back() == '.') return false;
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$' && c != '.') {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string CallEscape(const ExecCommand& command, const std::string& quote) {
  std::string name = command.name;
  if (!IsPlainName(name) && !quote.empty() && quote != " ") {
    std::string quoted = quote;
    for (size_t i = 0; i < name.size(); ++i) {
      if (name.compare(i, quote.size(), quote) == 0) {
        quoted += quote + quote;
        i += quote.size() - 1;
      } else {
        quoted += name[i];
      }
    }
    name = quoted + quote;
  }
  std::string text = "{CALL " + name;
  if (!command.arguments.empty()) {
    text += "(";
    for (size_t i = 0; i < command.arguments.size(); ++i) text += i ? ", ?" : "?";
    text += ")";
  }
  return text + "}";
}

}  // namespace kivdb
