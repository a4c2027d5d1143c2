#pragma once
// Builds recordsets by hand and a render context that records the page and the messages, for
// the renderer suites.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <kivdb/recordset.h>
#include "control/render/render_context.h"
#include "tests/support/recordset_builder.h"

namespace kivdb::testing {

using testing_support::FieldSpec;

inline std::unique_ptr<Recordset> MakeRecords(const std::vector<FieldSpec>& fields,
                                              const std::vector<std::vector<Variant>>& rows) {
  return std::make_unique<Recordset>(testing_support::BuildRecordset(fields, rows));
}

// A page and a message log behind one context; Talking is on unless a test turns it off.
struct RenderHarness {
  StringPageWriter page;
  std::vector<std::string> messages;
  RenderContext context{page};

  explicit RenderHarness(std::optional<std::string> caption = std::string("North")) {
    context.talking = true;
    context.selectedCaption = std::move(caption);
    context.message = [this](const std::string& text) { messages.push_back(text); };
  }
  std::vector<std::string> Lines() const { return page.Lines(); }
};

}  // namespace kivdb::testing
