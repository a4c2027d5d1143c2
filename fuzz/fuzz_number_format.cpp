// Number pictures with any text and any value: FormatNumberText gives "#,##0" / "#,##0.00"
// shapes that round the number correctly, and FormatValue turns any value into a cell without
// crashing, throwing or adding markup, and links only to harmless addresses.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <kivdb/variant.h>
#include "control/render/format_value.h"
#include "control/render/number_format.h"
#include "fuzz/html_oracle.h"

namespace {

using kivdb::Variant;

// "-?d{1,3}(,ddd)*(.d{decimals})?", and no "-0".
void CheckShape(const std::string& out, int decimals, std::string_view input) {
  std::string_view rest = out;
  if (rest.starts_with('-')) rest.remove_prefix(1);
  const size_t point = rest.find('.');
  const std::string_view whole = rest.substr(0, point);
  FUZZ_CHECK(!whole.empty(), input);
  const size_t head = whole.size() % 4 == 0 ? 0 : whole.size() % 4;
  FUZZ_CHECK(head >= 1 && head <= 3, out);
  for (size_t i = 0; i < whole.size(); ++i) {
    const bool comma = i >= head && (i - head) % 4 == 0;
    FUZZ_CHECK(comma ? whole[i] == ',' : (whole[i] >= '0' && whole[i] <= '9'), out);
  }
  FUZZ_CHECK(whole.size() == 1 || whole[0] != '0', out);
  if (decimals == 0) {
    FUZZ_CHECK(point == std::string_view::npos, out);
  } else {
    FUZZ_CHECK(point != std::string_view::npos, out);
    const std::string_view fraction = rest.substr(point + 1);
    FUZZ_CHECK(fraction.size() == static_cast<size_t>(decimals), out);
    FUZZ_CHECK(fraction.find_first_not_of("0123456789") == std::string_view::npos, out);
  }
  if (out.starts_with('-'))
    FUZZ_CHECK(rest.find_first_of("123456789") != std::string_view::npos, out);
}

void CheckNumberText(const std::string& text, int decimals) {
  const std::optional<std::string> out = kivdb::FormatNumberText(text, decimals);
  if (!out) return;
  CheckShape(*out, decimals, text);
  // The rounded number lies within half a unit of the last place of the number read.
  char* end = nullptr;
  const long double expected = std::strtold(text.c_str(), &end);
  if (!std::isfinite(expected) || std::fabs(expected) > 1e15L) return;
  std::string plain;
  for (char c : *out) {
    if (c != ',') plain += c;
  }
  const long double got = std::strtold(plain.c_str(), nullptr);
  const long double unit = std::pow(10.0L, -decimals);
  FUZZ_CHECK(std::fabs(got - expected) <= unit / 2 + 1e-9L * (1 + std::fabs(expected)),
             text + " -> " + *out);
}

Variant AnyValue(FuzzedDataProvider& provider) {
  switch (provider.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return Variant(provider.ConsumeBool());
    case 1:
      return Variant(provider.ConsumeIntegral<int16_t>());
    case 2:
      return Variant(provider.ConsumeIntegral<int32_t>());
    case 3:
      return Variant(provider.ConsumeIntegral<int64_t>());
    case 4: {
      uint32_t bits = provider.ConsumeIntegral<uint32_t>();
      float value;
      static_assert(sizeof value == sizeof bits);
      std::memcpy(&value, &bits, sizeof value);
      return Variant(value);
    }
    case 5: {
      uint64_t bits = provider.ConsumeIntegral<uint64_t>();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return Variant(value);
    }
    case 6:
      return Variant(kivdb::Currency{provider.ConsumeIntegral<int64_t>()});
    case 7: {
      // Decimals come from the database as number texts.
      std::string digits = provider.ConsumeRandomLengthString(48);
      if (!kivdb::FormatNumberText(digits, 0)) digits = "0";
      return Variant::Decimal(digits);
    }
    case 8:
      return Variant::Null();
    default:
      return Variant(provider.ConsumeRandomLengthString(256));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const int decimals = provider.ConsumeIntegralInRange(0, 20);
  const Variant value = AnyValue(provider);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  CheckNumberText(text, 0);
  CheckNumberText(text, 2);
  CheckNumberText(text, decimals);

  const std::string input = value.ToText() + " | " + text;
  for (const Variant& cell : {value, Variant(text)}) {
    for (std::string_view kind : {"Dbl", "Int", " ", "Htm"}) {
      const std::string out = kivdb::FormatValue(cell, kind);
      if (kind == "Htm") {
        kivfuzz::CheckLinkCell(out, input);
      } else {
        kivfuzz::CheckPlainCell(out, input);
      }
    }
  }
  return 0;
}
