#pragma once
// Runs a parsed SHAPE command and builds the shaped recordset: the parent command's fields, then
// one chapter field (type 136) per child of APPEND, whose value on each parent record is the
// recordset of that record's children.
//
// Every provider command of the tree runs exactly once, through the caller's runner (parent first,
// then each child in order, nested shapes depth first), so a whole shape shares the caller's one
// connection. Children are matched to parents in memory, in one pass over each child recordset,
// by the related columns (see shape_key.h for what counts as equal; Null matches nothing). A
// parent without children gets an empty chapter with the child's fields; children keep the order
// their command returned them in. Parents with equal keys each get their own copy of the chapter.

#include <functional>
#include <string>
#include <string_view>

#include <kivdb/recordset.h>
#include "control/data/row_sink.h"
#include "control/data/shape_command.h"

namespace kivdb {

// Runs one provider command into `out`, a new empty recordset; false with the reason in `error`.
using ShapeRunner =
    std::function<bool(const std::string& command, Recordset& out, std::string& error)>;

// Builds the shaped recordset of `shape` into `out`. On failure (a failing command, a RELATE
// column that its recordset lacks, a chapter name that is already a field) returns false with the
// reason in `error` and leaves `out` as it was.
bool ExecuteShape(const ShapeCommand& shape, const ShapeRunner& run, Recordset& out,
                  std::string& error);

// Runs one provider command, handing its records to `sink` as they are read; false with the
// reason in `error`.
using ShapeStreamer =
    std::function<bool(const std::string& command, RowSink& sink, std::string& error)>;

// Builds the top level of `shape` as ExecuteShape does, but keeps only its first `keepParents`
// records (0 keeps all) and reads their chapters only: the parent command is read forward and
// only counted past the kept records, and of each child command only the records that belong to
// a kept parent are held. `parentCount` gets the number of records the parent command returned.
// A nested shape, as parent or child, is built whole and then cut the same way. Keeping every
// parent is ExecuteShape itself.
bool ExecuteShapeKeeping(const ShapeCommand& shape, const ShapeRunner& run,
                         const ShapeStreamer& stream, long keepParents, Recordset& out,
                         long& parentCount, std::string& error);

// Parses `text` (ParseShapeCommand) and executes it with ExecuteShapeKeeping.
bool RunShapeCommandKeeping(std::string_view text, const ShapeRunner& run,
                            const ShapeStreamer& stream, long keepParents, Recordset& out,
                            long& parentCount, std::string& error);

// Parses `text` (ParseShapeCommand) and executes it.
bool RunShapeCommand(std::string_view text, const ShapeRunner& run, Recordset& out,
                     std::string& error);

}  // namespace kivdb
