#pragma once
// The number of the kivdb::Error a call throws, and a matcher on it, for the suites that check
// which error a misuse raises.

#include <gmock/gmock.h>

#include <functional>
#include <string>

#include <kivdb/error.h>

namespace kivdb::testing_support {

// 0 when the call throws nothing; any other exception passes through and fails the test.
inline long ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.Number();
  }
  return 0;
}

// EXPECT_THAT([&] { rs.MoveNext(); }, ThrowsErrorNumber(err::kNoCurrentRecord));
MATCHER_P(ThrowsErrorNumber, number, "throws kivdb::Error " + std::to_string(number)) {
  const long thrown = ErrorNumberOf(arg);
  *result_listener << (thrown == 0 ? "throws no Error" : "throws Error " + std::to_string(thrown));
  return thrown == number;
}

}  // namespace kivdb::testing_support
