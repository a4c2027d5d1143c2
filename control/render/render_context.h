#pragma once
// RenderContext: what a paragraph renderer needs of the control while it writes one paragraph of
// a report page: the page to append lines to, whether failures are reported (Talking), where
// messages go (the control's KivDBMessage), the caption of the selected tree node for the title
// rule, and the DateFormat picture for date cells. The control fills one per page; the renderers
// are plain functions over it, so each can be tested without a control.
//
// Renderers never throw: every failure ends the paragraph and, with Talking on, is reported as
// "Error: " + number + ", " + description. Lines already written stay in the page.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/recordset.h>
#include "control/data/row_sink.h"

namespace kivdb {

// PageWriter: receives the lines of a report page in order. Each line written gets CR LF.
class PageWriter {
 public:
  virtual ~PageWriter() = default;
  virtual void WriteLine(std::string_view line) = 0;
};

// Writes a page file through its own buffer, so a table of a million rows costs few system calls.
// The constructor creates or truncates the file (Error 76 "Path not found" when it cannot);
// Close() flushes and closes it. When the disk refuses the data (Error 61 "Disk full: " + path,
// or 75 "Path/File access error: " + path) the half-written file is removed, so no browser can
// show it as if it were the whole page, and every later WriteLine and Close throws the same
// error. The destructor closes too, silently, for the error paths that never reach Close().
class FilePageWriter : public PageWriter {
 public:
  explicit FilePageWriter(const std::string& path);
  ~FilePageWriter() override;
  FilePageWriter(const FilePageWriter&) = delete;
  FilePageWriter& operator=(const FilePageWriter&) = delete;

  void WriteLine(std::string_view line) override;
  void Close();
  const std::string& Path() const { return path_; }
  // True once a write has failed.
  bool Failed() const { return failedNumber_ != 0; }

 private:
  void Flush();
  [[noreturn]] void Fail(int code);
  [[noreturn]] void ThrowFailure() const;
  std::string path_;
  std::string buffer_;
  int fd_ = -1;
  long failedNumber_ = 0;
  std::string failedDescription_;
};

// Keeps the page in memory; tests read it back line by line.
class StringPageWriter : public PageWriter {
 public:
  void WriteLine(std::string_view line) override;
  // The whole page, every line ended by CR LF.
  const std::string& Text() const { return text_; }
  // The lines without their CR LF.
  std::vector<std::string> Lines() const;

 private:
  std::string text_;
};

// Reads one command into a recordset, as the control's ReadData does (through the DAL or the
// host's ProvideRecordset); false when the read failed, with the failure already reported.
using DataReader = std::function<bool(const std::string& command, std::shared_ptr<Recordset>& rs)>;
// Reads one command forward-only into `sink`, as the control's ReadDataForward does; false when
// the read failed, with the failure already reported.
using ForwardReader = std::function<bool(const std::string& command, RowSink& sink)>;

struct RenderContext {
  explicit RenderContext(PageWriter& writer) : page(writer) {}

  PageWriter& page;
  // The control's Talking: when false, renderers report nothing.
  bool talking = false;
  // The control's KivDBMessage event; may be empty.
  std::function<void(const std::string&)> message;
  // Caption of the node selected in the tree; nothing when no node is selected, which makes the
  // title rule fail for a title ending in ":".
  std::optional<std::string> selectedCaption;
  // The control's DateFormat picture for date cells (see format_value.h); empty gives ISO text.
  std::string dateFormat;
  // The control's MaxRows: rows an S or T table, or the parent rows of an M table, show at most
  // (0: all); see row_cap.h.
  long maxRows = 0;

  // --- For the paragraph types that write files or read more data ------------------------------
  // The control's ApplicationFolder, where pictures of image headers are written beside the page.
  std::string applicationFolder;
  // Pictures written for this page so far; image headers count it up to name their files.
  int pictureCount = 0;
  // Reads further data: the shaped recordset, with its chapters, of a multi-chapter paragraph.
  DataReader readData;
  // Reads it forward-only instead, where the control reads through its DAL: then only the parent
  // records the page shows are kept with their chapters. Empty when the host hands recordsets over.
  ForwardReader readForward;

  // Raises the message when Talking is on.
  void Tell(const std::string& text) const;
};

// The renderers of the paragraph types. Each takes the paragraph's recordset as the page
// assembly read it: null when the read failed, which the renderer meets on its error path
// (Error 91). `title` is titleIs as text, `id` the paragraph ID.

// H: the first record as a card of name and value rows; the ID field links to form `form` when
// it is 1 or more. Writes one line or none.
void ShowHeader(RenderContext& context, Recordset* records, const std::string& title, long id,
                int16_t form);

// S: every record as a table row, the ID field left out, with a total row for the columns listed
// in `cols` ("All", positions joined by ":", or "." for none). Writes a head line, one line per
// record and a foot line.
void ShowTable(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols);

// The C, I, T and M renderers are declared in show_chart.h, show_image_header.h,
// show_thumbnails.h and show_shaped.h.

}  // namespace kivdb
