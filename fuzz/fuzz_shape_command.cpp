// SHAPE commands of any bytes: the parser never crashes or throws, refuses with a message, keeps
// its depth limit, and a command it accepts reads back the same when written out again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "control/data/shape_command.h"
#include "fuzz/fuzz_support.h"

namespace {

using kivdb::ShapeCommand;
using kivdb::ShapeSource;

std::string Bracketed(const std::string& name) {
  std::string out = "[";
  for (char c : name) {
    out += c;
    if (c == ']') out += ']';
  }
  return out + "]";
}

void Write(const ShapeCommand& shape, std::string& out);

void Write(const ShapeSource& source, std::string& out) {
  out += '{';
  if (source.shape) {
    Write(*source.shape, out);
  } else {
    // A command may end in a "--" comment, which the closing brace must not join.
    out += source.command;
    out += '\n';
  }
  out += '}';
}

void Write(const ShapeCommand& shape, std::string& out) {
  out += "SHAPE ";
  Write(shape.parent, out);
  if (!shape.alias.empty()) out += " AS " + Bracketed(shape.alias);
  out += " APPEND ";
  for (size_t i = 0; i < shape.children.size(); ++i) {
    const kivdb::ShapeChild& child = shape.children[i];
    if (i > 0) out += ", ";
    out += '(';
    Write(child.source, out);
    if (!child.alias.empty()) out += " AS " + Bracketed(child.alias);
    out += " RELATE ";
    for (size_t r = 0; r < child.relations.size(); ++r) {
      if (r > 0) out += ", ";
      out += Bracketed(child.relations[r].parentColumn) + " TO " +
             Bracketed(child.relations[r].childColumn);
    }
    out += ") AS " + Bracketed(child.chapterName);
  }
}

int Depth(const ShapeCommand& shape) {
  int deepest = shape.parent.shape ? Depth(*shape.parent.shape) : 0;
  for (const kivdb::ShapeChild& child : shape.children) {
    if (child.source.shape) deepest = std::max(deepest, Depth(*child.source.shape));
  }
  return deepest + 1;
}

bool Same(const ShapeCommand& a, const ShapeCommand& b);

bool Same(const ShapeSource& a, const ShapeSource& b) {
  if (!a.shape || !b.shape) return !a.shape && !b.shape && a.command == b.command;
  return Same(*a.shape, *b.shape);
}

bool Same(const ShapeCommand& a, const ShapeCommand& b) {
  if (!Same(a.parent, b.parent) || a.alias != b.alias || a.children.size() != b.children.size()) {
    return false;
  }
  for (size_t i = 0; i < a.children.size(); ++i) {
    const kivdb::ShapeChild& x = a.children[i];
    const kivdb::ShapeChild& y = b.children[i];
    if (!Same(x.source, y.source) || x.alias != y.alias || x.chapterName != y.chapterName ||
        x.relations.size() != y.relations.size()) {
      return false;
    }
    for (size_t r = 0; r < x.relations.size(); ++r) {
      if (x.relations[r].parentColumn != y.relations[r].parentColumn ||
          x.relations[r].childColumn != y.relations[r].childColumn) {
        return false;
      }
    }
  }
  return true;
}

void CheckShape(const ShapeCommand& shape, std::string_view input) {
  FUZZ_CHECK(!shape.children.empty(), input);
  for (const kivdb::ShapeChild& child : shape.children) {
    FUZZ_CHECK(!child.relations.empty(), input);
    FUZZ_CHECK(!child.chapterName.empty(), input);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)kivdb::IsShapeCommand(input);
  std::string error;
  const std::optional<ShapeCommand> shape = kivdb::ParseShapeCommand(input, error);
  if (!shape) {
    FUZZ_CHECK(!error.empty(), input);
    return 0;
  }
  FUZZ_CHECK(kivdb::IsShapeCommand(input), input);
  FUZZ_CHECK(Depth(*shape) <= kivdb::kMaxShapeDepth, input);
  CheckShape(*shape, input);

  std::string written;
  Write(*shape, written);
  std::string again;
  const std::optional<ShapeCommand> reread = kivdb::ParseShapeCommand(written, again);
  FUZZ_CHECK(reread.has_value(), written + "\n" + again);
  FUZZ_CHECK(Same(*shape, *reread), written);
  return 0;
}
