// ShowImageHeader: the header card with pictures taken from the record.

#include "control/render/show_image_header.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include <kivdb/error.h>
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"

namespace kivdb {
namespace {

constexpr long kInvalidUseOfNull = 94;

constexpr long kDiskFull = 61;

// Replaces the file at `path` with `bytes`, unchanged. A picture the disk refuses is removed, so
// no half picture stays behind, and the error names it.
void WritePictureFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw Error(err::kPathNotFound, "Path not found");
    throw Error(err::kFileAccess, "Path/File access error: " + path);
  }
  auto fail = [&](int code) {
    ::unlink(path.c_str());
    if (code == ENOSPC) throw Error(kDiskFull, "Disk full: " + path);
    throw Error(err::kFileAccess, "Path/File access error: " + path);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      fail(code);
    }
    done += static_cast<size_t>(written);
  }
  if (::close(fd) != 0) fail(errno);
}

// Writes the picture of one field as the page's next picture file and returns its name.
std::string WriteNextPicture(RenderContext& context, const Variant& value) {
  if (value.IsNull()) throw Error(kInvalidUseOfNull, "Invalid use of Null");
  const std::vector<uint8_t>* bytes = value.AsBinary();
  if (bytes == nullptr) throw Error(err::kTypeMismatch, "Type mismatch");
  const std::string name = "pic" + std::to_string(context.pictureCount + 1);
  WritePictureFile(
      context.applicationFolder + std::string(1, std::filesystem::path::preferred_separator) + name,
      *bytes);
  ++context.pictureCount;
  return name;
}

}  // namespace

bool IsPictureFieldName(const std::string& name) {
  return name.size() >= 3 && (name[0] == 'I' || name[0] == 'i') &&
         (name[1] == 'M' || name[1] == 'm') && (name[2] == 'G' || name[2] == 'g');
}

void ShowImageHeader(RenderContext& context, Recordset* records, const std::string& title, long id,
                     int16_t form) {
  RunParagraph(context, records, title, [&](const long count) {
    if (count < 0) return;

    std::string html;
    if (!title.empty()) html += TitleLine(ApplyTitleRule(title, context.selectedCaption), id);
    html += "<table id='TBL" + IdPicture(id) + "' border=1 width=100%>";
    const int16_t fieldCount = IntegerOrZero(Variant(int32_t{records->FieldCount()}));
    records->MoveFirst();
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records->Fields(i);
      if (!IsPictureFieldName(field.Name())) continue;
      const std::string picture = WriteNextPicture(context, field.Value());
      html += "<TR><TD VALIGN=TOP WIDTH=40% ROWSPAN=" + std::to_string(fieldCount - 1) +
              "><IMG SRC='" + picture + "' WIDTH=100%></TD>";
    }
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records->Fields(i);
      if (IsPictureFieldName(field.Name())) continue;
      html += "<td class=hn>";
      AppendFormattedValue(html, Variant(field.Name()), kKindBlank, context.dateFormat);
      html += ": </td>";
      if (form >= 1 && IsIdFieldName(field.Name())) {
        html += "<td class=hvr><a href='" + FormLink(form, field.Value()) +
                "'>Click here. . .</a></td>";
      } else {
        const std::string_view kind = KindToken(ClassOfType(field.Type()));
        html += kind != kKindBlank ? "<td class=hvr>" : "<td class=hvl>";
        AppendFormattedValue(html, field.Value(), kind, context.dateFormat);
        html += "</td>";
      }
      html += "<tr>";
    }
    html += "</table><br>";
    context.page.WriteLine(html);
  });
}

}  // namespace kivdb
