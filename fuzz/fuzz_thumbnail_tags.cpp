// Thumbnail setting texts of any bytes: ReadSpecTag finds exactly the text between a tag and its
// closing tag, and ShowThumbnails lays out a grid with any settings and picture addresses without
// crashing, throwing, or letting an address add markup to the page.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <kivdb/recordset.h>
#include "control/render/render_context.h"
#include "control/render/show_thumbnails.h"
#include "fuzz/fuzz_support.h"

namespace {

using kivdb::Variant;

// Keeps the page and counts its lines as written (a value may hold line breaks of its own).
class CountingPage : public kivdb::PageWriter {
 public:
  void WriteLine(std::string_view line) override {
    ++lines_;
    text_.append(line).append("\r\n");
  }
  size_t Lines() const { return lines_; }
  const std::string& Text() const { return text_; }

 private:
  size_t lines_ = 0;
  std::string text_;
};

struct Run {
  CountingPage page;
  kivdb::RenderContext context{page};
  int messages = 0;
  Run() {
    context.talking = true;
    context.selectedCaption = "North";
    context.message = [this](const std::string&) { ++messages; };
  }
};

void CheckSpecTag(const std::string& settings, const std::string& tag) {
  Run run;
  const Variant value = kivdb::ReadSpecTag(run.context, settings, tag);
  const size_t open = settings.find(tag);
  if (open == std::string::npos) {
    FUZZ_CHECK(value.ToText().empty() && run.messages == 0, settings);
    return;
  }
  const std::string closing = "</" + (tag.empty() ? std::string() : tag.substr(1));
  const size_t close = settings.find(closing);
  if (close == std::string::npos || close < open + tag.size()) {
    FUZZ_CHECK(value.IsEmpty() && run.messages == 1, settings);
    return;
  }
  FUZZ_CHECK(value.ToText() == settings.substr(open + tag.size(), close - open - tag.size()),
             settings);
}

// The markup characters of the page, which escaped values never add to.
size_t MarkupCount(const std::string& page) {
  return static_cast<size_t>(std::count_if(page.begin(), page.end(), [](char c) {
    return c == '<' || c == '>' || c == '\'' || c == '"';
  }));
}

std::string Thumbnails(const std::string& settings, const std::string& address,
                       const std::string& caption, int& messages) {
  kivdb::Recordset records;
  records.AppendField("ID", kivdb::type::kInteger);
  records.AppendField("FileName", kivdb::type::kVarChar);
  records.AppendField("Caption", kivdb::type::kVarChar);
  records.AppendField("Price", kivdb::type::kDouble);
  records.AddRow({Variant(int32_t{1}), Variant(address), Variant(caption), Variant(2.5)});
  records.AddRow({Variant(int32_t{2}), Variant("b.png"), Variant("Second"), Variant::Null()});
  records.AddRow({Variant(int32_t{3}), Variant(address), Variant(caption), Variant(-7.125)});
  Run run;
  kivdb::ShowThumbnails(run.context, &records, "Pictures:", 7, settings);
  messages = run.messages;
  // The head, one line per record and the closing line, unless a failure ended the paragraph.
  if (messages == 0) FUZZ_CHECK(run.page.Lines() == 5, settings);
  return run.page.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string tag = provider.ConsumeRandomLengthString(32);
  const std::string address = provider.ConsumeRandomLengthString(64);
  const std::string caption = provider.ConsumeRandomLengthString(64);
  const std::string settings = provider.ConsumeRemainingBytesAsString();

  CheckSpecTag(settings, tag);
  for (const char* known : {"<textposition>", "<width>", "<height>", "<columns>"}) {
    CheckSpecTag(settings, known);
  }

  int messages = 0;
  int plainMessages = 0;
  const std::string page = Thumbnails(settings, address, caption, messages);
  const std::string plain = Thumbnails(settings, "a.png", "First", plainMessages);
  FUZZ_CHECK(messages == plainMessages, settings);
  FUZZ_CHECK(MarkupCount(page) == MarkupCount(plain), page);
  return 0;
}
