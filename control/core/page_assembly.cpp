// ShowPage: the report page of one navigation node, written to the report file and shown.

#include "base/html_escape.h"
#include "control/core/control_impl.h"
#include "control/core/paragraph_dispatch.h"
#include "control/core/query_parameters.h"
#include "control/core/text_util.h"
#include "control/render/date_format.h"
#include "control/render/render_context.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

namespace web = scheme::web;

constexpr const char* kReadFailed = "Error Reading Data From Database";

// Clears a flag when the scope ends, however it ends.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void KivDB::Impl::ShowPage(long schemeId) {
  if (schemeId < 2) return;  // the root has no page
  FlagScope building(buildingPage);
  try {
    pageHead = text::ReplaceAll(pageHead, "%StoreName%", heading, false);
    // The node is read once: the host's event processing below may change the selection, and
    // the page stays the page of the node it was started for.
    const TreeNode& node = Selected();
    const std::optional<SelectedNode> selected = SelectedNodeOf(&node);
    const std::string& caption = selected->caption;
    const std::string fullPath = node.FullPath();
    const DateTime today = Today();
    std::string head = text::ReplaceAll(pageHead, "%Date%", FormatDate(today, dateFormat), true);
    head = text::ReplaceAll(head, "%MainHeading%", HtmlEscape(caption), true);

    FilePageWriter page(reportFile);
    page.WriteLine(head);
    Tree().ProcessEvents();

    RenderContext context(page);
    context.talking = talking;
    context.message = [this](const std::string& text) { Message(text); };
    context.selectedCaption = caption;
    context.dateFormat = dateFormat;
    context.maxRows = maxRows;
    context.applicationFolder = applicationFolder.ToText();
    context.readData = [this](const std::string& command, std::shared_ptr<Recordset>& records) {
      return ReadData(command, records);
    };
    if (daMode == kReadThroughDAL) {
      context.readForward = [this](const std::string& command, RowSink& sink) {
        return ReadDataForward(command, sink);
      };
    }

    for (const size_t r : schemes.WebParagraphs(schemeId)) {
      const std::string query = schemes.Web(web::queryIs, r).ToText();
      if (query.empty()) continue;
      const std::string command =
          BuildCommand(query, schemes.Web(web::parmIs, r).ToText(), selected, today);
      const std::string type = text::Upper(schemes.Web(web::typeIs, r).ToText());
      const ParagraphRow paragraph(schemes, r);
      // Through the DAL the paragraph is written as its records are read; a host's recordset
      // (DAMode 2) is rendered as it was handed over.
      std::unique_ptr<ParagraphStream> stream;
      if (daMode == kReadThroughDAL) stream = StreamParagraph(type, context, paragraph);
      if (stream) {
        const bool ok = ReadDataForward(command, *stream);
        if (!ok) Message(kReadFailed);
        if (ok || stream->Started()) {
          stream->End(ok);
        } else {
          RenderParagraph(type, context, nullptr, paragraph);
        }
      } else {
        std::shared_ptr<Recordset> read;
        if (!ReadData(command, read)) Message(kReadFailed);
        RenderParagraph(type, context, read.get(), paragraph);
      }
      // The renderer has reported the write that failed; the page is gone and is not shown.
      if (page.Failed()) return;
    }

    if (displayPath) page.WriteLine("<br><br><p class=pgl>" + HtmlEscape(fullPath));
    page.WriteLine("</DIV></BODY></HTML>");
    page.Close();
    Web().Navigate(reportFile);
    Log("View", fullPath);
  } catch (...) {
    ReportCurrentFailure();
  }
}

}  // namespace kivdb
