// Running SHAPE commands over a fake provider that answers fixed recordsets and logs each command
// it runs: how children reach their parents, what the shaped recordset holds, and how failures end
// the whole read.
#include "control/data/shape_executor.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "control/data/recordset_access.h"
#include "tests/support/recordset_builder.h"

namespace kivdb {
namespace {

Recordset Table(const std::vector<testing_support::FieldSpec>& fields,
                const std::vector<std::vector<Variant>>& rows) {
  return testing_support::BuildRecordset(fields, rows);
}

// Records as "(v1,v2,[chapter records])" separated by blanks, chapters written the same way.
std::string Dump(Recordset& records) {
  std::string text;
  for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
    if (!text.empty()) text += ' ';
    text += '(';
    for (int i = 0; i < records.FieldCount(); ++i) {
      if (i > 0) text += ',';
      const Variant& value = records.Value(i);
      if (const auto chapter = value.AsChapter()) {
        text += "[" + Dump(*chapter) + "]";
      } else {
        text += value.IsNull() ? "Null" : value.ToText();
      }
    }
    text += ')';
  }
  return text;
}

// A provider that knows a few commands by their exact text; any other command fails.
class FakeProvider {
 public:
  void Answer(const std::string& command, std::function<Recordset()> make) {
    answers_[command] = std::move(make);
  }
  ShapeRunner Runner() {
    return [this](const std::string& command, Recordset& out, std::string& error) {
      log_.push_back(command);
      const auto it = answers_.find(command);
      if (it == answers_.end()) {
        error = "no such table in: " + command;
        return false;
      }
      out = it->second();
      return true;
    };
  }
  // The same answers read forward-only, as a provider that steps its results hands them over.
  ShapeStreamer Streamer() {
    return [this](const std::string& command, RowSink& sink, std::string& error) {
      Recordset records;
      if (!Runner()(command, records, error)) return false;
      FeedRecordset(records, sink);
      return true;
    };
  }
  const std::vector<std::string>& Log() const { return log_; }

 private:
  std::map<std::string, std::function<Recordset()>> answers_;
  std::vector<std::string> log_;
};

class ShapeExecutorTest : public ::testing::Test {
 protected:
  ShapeExecutorTest() {
    provider_.Answer("orders", [] {
      return Table({{"ID", type::kInteger}, {"Total", type::kDouble}},
                   {{int32_t{1}, 10.5}, {int32_t{2}, 20.0}, {int32_t{3}, 30.0}});
    });
    // Children in an order of their own, one orphan and one with no parent at all.
    provider_.Answer("lines", [] {
      return Table({{"ID", type::kInteger}, {"orderId", type::kInteger}, {"Item", type::kVarChar}},
                   {{int32_t{11}, int32_t{2}, "Pen"},
                    {int32_t{12}, int32_t{1}, "Ink"},
                    {int32_t{13}, int32_t{2}, "Pad"},
                    {int32_t{14}, int32_t{9}, "Orphan"},
                    {int32_t{15}, Variant::Null(), "Loose"},
                    {int32_t{16}, int32_t{1}, "Nib"}});
    });
    provider_.Answer("notes", [] {
      return Table({{"ID", type::kInteger}, {"orderId", type::kInteger}, {"Note", type::kVarChar}},
                   {{int32_t{21}, int32_t{3}, "late"}});
    });
    provider_.Answer("customers", [] {
      return Table({{"ID", type::kInteger}, {"Name", type::kVarChar}},
                   {{int32_t{100}, "Ann"}, {int32_t{200}, "Bob"}});
    });
    provider_.Answer("custorders", [] {
      return Table(
          {{"ID", type::kInteger}, {"customerId", type::kInteger}},
          {{int32_t{1}, int32_t{200}}, {int32_t{2}, int32_t{100}}, {int32_t{3}, int32_t{200}}});
    });
  }

  // Runs `text`; on success returns the dump of the shaped recordset.
  std::string Run(const std::string& text) {
    Recordset out;
    std::string error;
    if (!RunShapeCommand(text, provider_.Runner(), out, error)) return "failed: " + error;
    shaped_ = std::move(out);
    return Dump(shaped_);
  }

  FakeProvider provider_;
  Recordset shaped_;
};

TEST_F(ShapeExecutorTest, MatchesChildrenToParentsInTheOrderTheyCame) {
  EXPECT_EQ(Run("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines"),
            "(1,10.5,[(12,1,Ink) (16,1,Nib)]) (2,20,[(11,2,Pen) (13,2,Pad)]) (3,30,[])");
  ASSERT_EQ(shaped_.FieldCount(), 3);
  EXPECT_EQ(shaped_.Fields(0).Name(), "ID");
  EXPECT_EQ(shaped_.Fields(1).Type(), type::kDouble);
  EXPECT_EQ(shaped_.Fields(2).Name(), "Lines");
  EXPECT_EQ(shaped_.Fields(2).Type(), type::kChapter);
  EXPECT_EQ(shaped_.RecordCount(), 3);
  EXPECT_EQ(provider_.Log(), (std::vector<std::string>{"orders", "lines"}));
}

TEST_F(ShapeExecutorTest, AParentWithoutChildrenGetsAnEmptyChapterWithTheChildFields) {
  Run("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId)");
  shaped_.MoveLast();
  const auto empty = shaped_.Fields("Chapter1").Value().AsChapter();
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_TRUE(empty->Eof());
  ASSERT_EQ(empty->FieldCount(), 3);
  EXPECT_EQ(empty->Fields(1).Name(), "orderId");
  EXPECT_EQ(empty->Fields(2).Type(), type::kVarChar);
}

TEST_F(ShapeExecutorTest, NumbersMatchByValueAndTextsExactly) {
  provider_.Answer("mixed parents", [] {
    return Table({{"K", type::kVariant}},
                 {{int32_t{17}}, {Variant(2.5)}, {Variant("ab")}, {Variant::Null()}});
  });
  provider_.Answer("mixed children", [] {
    return Table({{"K", type::kVariant}, {"N", type::kInteger}},
                 {{Variant(17.0), int32_t{1}},
                  {Variant(int64_t{17}), int32_t{2}},
                  {Variant("17"), int32_t{3}},
                  {Variant(2.5f), int32_t{4}},
                  {Variant("AB"), int32_t{5}},
                  {Variant("ab"), int32_t{6}},
                  {Variant::Null(), int32_t{7}}});
  });
  EXPECT_EQ(Run("SHAPE {mixed parents} APPEND ({mixed children} RELATE k TO K)"),
            "(17,[(17,1) (17,2)]) (2.5,[(2.5,4)]) (ab,[(ab,6)]) (Null,[])");
}

TEST_F(ShapeExecutorTest, SeveralRelatePairsMustAllMatch) {
  provider_.Answer("stock", [] {
    return Table({{"Region", type::kVarChar}, {"Shelf", type::kInteger}},
                 {{"N", int32_t{1}}, {"N", int32_t{2}}, {"S", int32_t{1}}});
  });
  provider_.Answer("items", [] {
    return Table({{"R", type::kVarChar}, {"S", type::kInteger}, {"Item", type::kVarChar}},
                 {{"S", int32_t{1}, "a"},
                  {"N", int32_t{2}, "b"},
                  {"N", int32_t{1}, "c"},
                  {"S", int32_t{2}, "d"},
                  {"N", int32_t{1}, "e"}});
  });
  EXPECT_EQ(Run("SHAPE {stock} APPEND ({items} RELATE Region TO R, Shelf TO S) AS Items"),
            "(N,1,[(N,1,c) (N,1,e)]) (N,2,[(N,2,b)]) (S,1,[(S,1,a)])");
}

TEST_F(ShapeExecutorTest, ParentsSharingAKeyEachGetTheirOwnChapter) {
  provider_.Answer("twins", [] {
    return Table({{"K", type::kInteger}}, {{int32_t{1}}, {int32_t{1}}});
  });
  EXPECT_EQ(Run("SHAPE {twins} APPEND ({lines} RELATE K TO orderId) AS L"),
            "(1,[(12,1,Ink) (16,1,Nib)]) (1,[(12,1,Ink) (16,1,Nib)])");
  shaped_.MoveFirst();
  const auto first = shaped_.Value(1).AsChapter();
  shaped_.MoveNext();
  const auto second = shaped_.Value(1).AsChapter();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  first->MoveFirst();
  second->MoveFirst();
  first->MoveNext();  // moving one chapter's cursor leaves the other's alone
  EXPECT_EQ(first->Value(2).ToText(), "Nib");
  EXPECT_EQ(second->Value(2).ToText(), "Ink");
}

TEST_F(ShapeExecutorTest, TwoChaptersFollowTheParentFields) {
  EXPECT_EQ(Run("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId), ({notes} RELATE ID TO "
                "orderId) AS Notes"),
            "(1,10.5,[(12,1,Ink) (16,1,Nib)],[]) (2,20,[(11,2,Pen) (13,2,Pad)],[]) "
            "(3,30,[],[(21,3,late)])");
  EXPECT_EQ(shaped_.Fields(2).Name(), "Chapter1");
  EXPECT_EQ(shaped_.Fields(3).Name(), "Notes");
  EXPECT_EQ(provider_.Log(), (std::vector<std::string>{"orders", "lines", "notes"}));
}

TEST_F(ShapeExecutorTest, NestsThreeLevelsInBracesOrParentheses) {
  const std::string expected =
      "(100,Ann,[(2,100,[(11,2,Pen) (13,2,Pad)])]) "
      "(200,Bob,[(1,200,[(12,1,Ink) (16,1,Nib)]) (3,200,[])])";
  EXPECT_EQ(Run("SHAPE {customers} APPEND ({SHAPE {custorders} APPEND ({lines} RELATE ID TO "
                "orderId) AS Lines} RELATE ID TO customerId) AS Orders"),
            expected);
  EXPECT_EQ(provider_.Log(), (std::vector<std::string>{"customers", "custorders", "lines"}));
  EXPECT_EQ(Run("SHAPE {customers} APPEND ((SHAPE {custorders} APPEND ({lines} RELATE ID TO "
                "orderId) AS Lines) AS o RELATE ID TO customerId) AS Orders"),
            expected);
  // The middle level keeps its own chapter field beside the relating column.
  shaped_.MoveFirst();
  const auto orders = shaped_.Fields("Orders").Value().AsChapter();
  ASSERT_NE(orders, nullptr);
  EXPECT_EQ(orders->Fields("Lines").Type(), type::kChapter);
}

TEST_F(ShapeExecutorTest, AShapedParentGainsFurtherChapters) {
  EXPECT_EQ(Run("SHAPE {SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines} APPEND "
                "({notes} RELATE ID TO orderId) AS Notes"),
            "(1,10.5,[(12,1,Ink) (16,1,Nib)],[]) (2,20,[(11,2,Pen) (13,2,Pad)],[]) "
            "(3,30,[],[(21,3,late)])");
}

TEST_F(ShapeExecutorTest, FailuresEndTheWholeReadAndLeaveTheTargetAlone) {
  struct Case {
    const char* name;
    const char* text;
    const char* fault;
  } cases[] = {
      {"failing parent", "SHAPE {missing} APPEND ({lines} RELATE ID TO orderId)",
       "SHAPE: the command {missing} failed: no such table in: missing"},
      {"failing child",
       "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId), ({gone} RELATE "
       "ID TO orderId)",
       "SHAPE: the command {gone} failed: no such table in: gone"},
      {"failing grandchild",
       "SHAPE {customers} APPEND ({SHAPE {custorders} APPEND ({gone} "
       "RELATE ID TO orderId)} RELATE ID TO customerId)",
       "the command {gone} failed"},
      {"unknown parent column", "SHAPE {orders} APPEND ({lines} RELATE OrderNo TO orderId)",
       "SHAPE: RELATE OrderNo TO orderId: the parent command returns no column named 'OrderNo'"},
      {"unknown child column", "SHAPE {orders} APPEND ({lines} RELATE ID TO order_id)",
       "SHAPE: RELATE ID TO order_id: the child command returns no column named 'order_id'"},
      {"unknown column in a nested level",
       "SHAPE {customers} APPEND ({SHAPE {custorders} APPEND ({lines} RELATE ID TO nope)} "
       "RELATE ID TO customerId)",
       "no column named 'nope'"},
      {"chapter named as a parent field",
       "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) "
       "AS total",
       "SHAPE: the chapter name 'total' is already a field name"},
      {"two chapters of one name",
       "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS L, "
       "({notes} RELATE ID TO orderId) AS l",
       "the chapter name 'l' is already a field name"},
      {"malformed", "SHAPE {orders} APPEND ({lines} ID TO orderId)",
       "Malformed SHAPE command: missing RELATE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recordset out = Table({{"kept", type::kInteger}}, {{int32_t{5}}});
    std::string error;
    EXPECT_FALSE(RunShapeCommand(c.text, provider_.Runner(), out, error));
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
    ASSERT_EQ(out.FieldCount(), 1);
    EXPECT_EQ(out.Fields(0).Name(), "kept");
  }
}

TEST_F(ShapeExecutorTest, AMalformedCommandRunsNothing) {
  Recordset out;
  std::string error;
  EXPECT_FALSE(RunShapeCommand("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId",
                               provider_.Runner(), out, error));
  EXPECT_TRUE(provider_.Log().empty());
}

// A read that keeps only the first parents: exactly the first records of the whole shape, with
// the same chapters, and the exact count of the parents the command gave.
TEST_F(ShapeExecutorTest, KeepingTheFirstParentsGivesTheirRecordsAndTheWholeCount) {
  struct Case {
    const char* name;
    const char* text;
    long keep;
    const char* kept;
    long count;
  };
  const Case cases[] = {
      {"one of three", "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines", 1,
       "(1,10.5,[(12,1,Ink) (16,1,Nib)])", 3},
      {"two of three", "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines", 2,
       "(1,10.5,[(12,1,Ink) (16,1,Nib)]) (2,20,[(11,2,Pen) (13,2,Pad)])", 3},
      {"more than there are", "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines", 9,
       "(1,10.5,[(12,1,Ink) (16,1,Nib)]) (2,20,[(11,2,Pen) (13,2,Pad)]) (3,30,[])", 3},
      {"all", "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines", 0,
       "(1,10.5,[(12,1,Ink) (16,1,Nib)]) (2,20,[(11,2,Pen) (13,2,Pad)]) (3,30,[])", 3},
      {"two chapters",
       "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines, ({notes} RELATE ID TO "
       "orderId) AS Notes",
       1, "(1,10.5,[(12,1,Ink) (16,1,Nib)],[])", 3},
      {"a nested child",
       "SHAPE {customers} APPEND ({SHAPE {custorders} APPEND ({lines} RELATE ID "
       "TO orderId) AS Lines} RELATE ID TO customerId) AS Orders",
       1, "(100,Ann,[(2,100,[(11,2,Pen) (13,2,Pad)])])", 2},
      {"a nested parent",
       "SHAPE {SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines} APPEND ({notes} "
       "RELATE ID TO orderId) AS Notes",
       2, "(1,10.5,[(12,1,Ink) (16,1,Nib)],[]) (2,20,[(11,2,Pen) (13,2,Pad)],[])", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recordset out;
    long count = -1;
    std::string error;
    ASSERT_TRUE(RunShapeCommandKeeping(c.text, provider_.Runner(), provider_.Streamer(), c.keep,
                                       out, count, error))
        << error;
    EXPECT_EQ(Dump(out), c.kept);
    EXPECT_EQ(count, c.count);
  }
}

// Past the kept parents a forward read is only counted, and a child record of a parent not kept
// is not held; the failures of a whole read stay the same.
TEST_F(ShapeExecutorTest, KeepingReadsOnlyWhatTheKeptParentsNeed) {
  std::vector<long> fieldsAfterRow;  // how many fields the parent's sink still read, per record
  const ShapeStreamer counting = [&](const std::string& command, RowSink& sink,
                                     std::string& error) {
    Recordset records;
    if (!provider_.Runner()(command, records, error)) return false;
    const bool parent = command == "orders";
    std::vector<FieldInfo> fields;
    for (int i = 0; i < records.FieldCount(); ++i)
      fields.push_back({records.Fields(i).Name(), records.Fields(i).Type()});
    sink.Begin(fields);
    for (const size_t row : records.LiveRows()) {
      std::vector<Variant> values;
      for (int i = 0; i < records.FieldCount(); ++i)
        values.push_back(RecordsetAccess::CellValue(records, row, i));
      sink.Row(values.data(), values.size());
      const std::vector<size_t>* needed = sink.FieldsNeeded();
      if (parent) fieldsAfterRow.push_back(needed ? static_cast<long>(needed->size()) : -1);
    }
    return true;
  };
  Recordset out;
  long count = 0;
  std::string error;
  ASSERT_TRUE(RunShapeCommandKeeping("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId)",
                                     provider_.Runner(), counting, 1, out, count, error));
  EXPECT_EQ(fieldsAfterRow, (std::vector<long>{0, 0, 0}));
  const auto chapter = out.Fields("Chapter1").Value().AsChapter();
  ASSERT_NE(chapter, nullptr);
  EXPECT_EQ(chapter->RecordCount(), 2);

  for (const char* text : {"SHAPE {orders} APPEND ({lines} RELATE Nope TO orderId)",
                           "SHAPE {orders} APPEND ({lines} RELATE ID TO nope)",
                           "SHAPE {orders} APPEND ({missing} RELATE ID TO orderId)",
                           "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Total"}) {
    SCOPED_TRACE(text);
    Recordset whole;
    std::string wholeError;
    EXPECT_FALSE(RunShapeCommand(text, provider_.Runner(), whole, wholeError));
    Recordset kept;
    std::string keptError;
    EXPECT_FALSE(RunShapeCommandKeeping(text, provider_.Runner(), provider_.Streamer(), 1, kept,
                                        count, keptError));
    EXPECT_EQ(keptError, wholeError);
    EXPECT_EQ(kept.FieldCount(), 0);
  }
}

}  // namespace
}  // namespace kivdb
