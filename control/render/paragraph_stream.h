#pragma once
// ParagraphStream: a renderer that writes its paragraph while the paragraph's records are read,
// holding no more of them than it needs. The page assembly hands it to a forward-only read, then
// calls End once. A failure of the renderer itself is reported as the recordset renderers report
// it ("Error: ...") and stops the read; the paragraph then writes nothing more.

#include <exception>
#include <string>
#include <utility>

#include "control/data/row_sink.h"
#include "control/render/paragraph_frame.h"
#include "control/render/render_context.h"

namespace kivdb {

class ParagraphStream : public RowSink {
 public:
  // True once a line of the paragraph is on the page. A read that fails before that is the same
  // failed read as ever (the renderer meets no recordset); one that fails after it is not.
  virtual bool Started() const = 0;
  // The read has ended: `complete` false when it failed part-way. A paragraph cut short is closed
  // and marked as such on the page, never with a total row or a row count as though whole.
  virtual void End(bool complete) = 0;
};

// The line a paragraph cut short by a failed read ends with: "<p class=pgl>Error Reading Data From
// Database after N rows: the table above is incomplete.</p>".
std::string CutShortLine(long rowsRead);

// Wraps a writer that throws (the same one the recordset renderer drives) so that its failures are
// reported through the context and end the paragraph. `Writer` offers Begin, Row, Started, Finish
// (the records are all read) and Abort (the read failed part-way).
template <class Writer>
class GuardedStream final : public ParagraphStream {
 public:
  template <class... Args>
  explicit GuardedStream(RenderContext& context, Args&&... args)
      : context_(context), writer_(context, std::forward<Args>(args)...) {}

  bool Begin(const std::vector<FieldInfo>& fields) override {
    return Run([&] { return writer_.Begin(fields); });
  }
  bool Row(const Variant* values, size_t count) override {
    return Run([&] { return writer_.Row(values, count); });
  }
  const std::vector<size_t>* FieldsNeeded() const override {
    return failed_ ? nullptr : writer_.FieldsNeeded();
  }
  bool Started() const override { return writer_.Started(); }
  void End(bool complete) override {
    Run([&] {
      complete ? writer_.Finish() : writer_.Abort();
      return false;
    });
  }

 private:
  template <class Step>
  bool Run(Step&& step) {
    if (failed_) return false;
    try {
      return step();
    } catch (...) {
      failed_ = true;
      ReportCurrentFailure(context_);
      return false;
    }
  }

  RenderContext& context_;
  Writer writer_;
  bool failed_ = false;
};

}  // namespace kivdb
