#include <kivdb/recordset.h>

#include <gtest/gtest.h>

#include <functional>

#include <kivdb/error.h>
#include "control/data/recordset_access.h"
#include "tests/support/error_number.h"
#include "tests/support/recordset_builder.h"

namespace kivdb {
namespace {

using testing_support::BuildRecordset;
using testing_support::ErrorNumberOf;

// id, name, amount: three records built by hand, the way a host answers ProvideRecordset.
Recordset People() {
  return BuildRecordset(
      {{"ID", type::kInteger}, {"Name", type::kVarWChar}, {"Amount", type::kDouble}},
      {{int32_t{1}, "carol", 3.5},
       {int32_t{2}, "Alice", Variant::Null()},
       {int32_t{3}, "bob", 1.25}});
}

std::vector<int32_t> Ids(Recordset& rs) {
  std::vector<int32_t> ids;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
    ids.push_back(static_cast<int32_t>(*rs.Value(0).AsInteger()));
  return ids;
}

TEST(RecordsetTest, FieldsByPositionAndByNameWithoutRegardToCase) {
  Recordset rs = People();
  ASSERT_EQ(rs.FieldCount(), 3);
  EXPECT_EQ(rs.Fields(1).Name(), "Name");
  EXPECT_EQ(rs.Fields("AMOUNT").Type(), type::kDouble);
  EXPECT_EQ(rs.FieldIndex("name"), 1);
  EXPECT_EQ(rs.FieldIndex("missing"), -1);
  EXPECT_EQ(rs.Fields("name").Value(), Variant("carol"));
  EXPECT_EQ(ErrorNumberOf([&] { rs.Fields(3); }), err::kItemNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Fields(-1); }), err::kItemNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Fields("nope"); }), err::kItemNotFound);
}

TEST(RecordsetTest, FieldFollowsTheCursor) {
  Recordset rs = People();
  Field name = rs.Fields("Name");
  rs.MoveNext();
  EXPECT_EQ(name.Value(), Variant("Alice"));
  rs.MoveLast();
  EXPECT_EQ(name.Value(), Variant("bob"));
}

TEST(RecordsetTest, DuplicateFieldNamesResolveToTheFirst) {
  Recordset rs;
  rs.AppendField("id", type::kInteger);
  rs.AppendField("ID", type::kInteger);
  EXPECT_EQ(rs.FieldIndex("Id"), 0);
}

TEST(RecordsetTest, BuildingRejectsMisuse) {
  Recordset rs = People();
  EXPECT_EQ(ErrorNumberOf([&] { rs.AppendField("late", type::kInteger); }), err::kInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { rs.AddRow({int32_t{4}}); }), err::kInvalidCall);
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST(RecordsetTest, CountUnknownIsNegative) {
  Recordset rs = People();
  rs.SetRecordCountUnknown(true);
  EXPECT_LT(rs.RecordCount(), 0);
  EXPECT_EQ(Ids(rs), (std::vector<int32_t>{1, 2, 3}));
}

TEST(RecordsetTest, WalksForwardAndBackward) {
  Recordset rs = People();
  EXPECT_FALSE(rs.Bof());
  EXPECT_EQ(Ids(rs), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(ErrorNumberOf([&] { rs.MoveNext(); }), err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Value(0); }), err::kNoCurrentRecord);
  rs.MoveLast();
  std::vector<int64_t> back;
  for (; !rs.Bof(); rs.MovePrevious()) back.push_back(*rs.Value(0).AsInteger());
  EXPECT_EQ(back, (std::vector<int64_t>{3, 2, 1}));
  EXPECT_EQ(ErrorNumberOf([&] { rs.MovePrevious(); }), err::kNoCurrentRecord);
}

TEST(RecordsetTest, EmptyRecordsetHasNoCurrentRecord) {
  Recordset rs;
  rs.AppendField("a", type::kInteger);
  EXPECT_EQ(rs.RecordCount(), 0);
  rs.MoveFirst();
  rs.MoveLast();
  EXPECT_TRUE(rs.Eof());
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(ErrorNumberOf([&] { rs.Value(0); }), err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Fields(0).SetValue(int32_t{1}); }), err::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Delete(); }), err::kNoCurrentRecord);
  EXPECT_EQ(rs.GetRows().size(), 1u);
  EXPECT_TRUE(rs.GetRows()[0].empty());
}

TEST(RecordsetTest, SortOrders) {
  struct Case {
    const char* expression;
    std::vector<int32_t> ids;
  } cases[] = {
      {"Name ASC", {2, 3, 1}},  // without regard to case: Alice, bob, carol
      {"name DESC", {1, 3, 2}},   {"amount", {2, 3, 1}},  // Null first
      {"Amount DESC", {1, 3, 2}}, {"ID DESC", {3, 2, 1}},
      {"  ", {1, 2, 3}},  // back to the order of reading
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    Recordset rs = People();
    rs.Sort("ID DESC");
    rs.Sort(c.expression);
    EXPECT_EQ(Ids(rs), c.ids);
  }
}

TEST(RecordsetTest, SortIsStableOverSeveralKeys) {
  Recordset rs;
  rs.AppendField("k", type::kInteger);
  rs.AppendField("seqNo", type::kInteger);
  rs.AppendField("tag", type::kVarWChar);
  const int32_t rows[][2] = {{2, 1}, {1, 2}, {2, 1}, {1, 1}, {2, 0}, {1, 2}};
  for (size_t i = 0; i < std::size(rows); ++i) {
    rs.AddRow({rows[i][0], rows[i][1], Variant(std::to_string(i))});
  }
  rs.Sort("K ASC, seqno ASC");
  const auto table = rs.GetRows();
  std::vector<std::string> tags;
  for (const Variant& v : table[2]) tags.push_back(v.ToText());
  EXPECT_EQ(tags, (std::vector<std::string>{"3", "1", "5", "4", "0", "2"}));
  rs.Sort("k DESC, seqNo");
  tags.clear();
  const auto resorted = rs.GetRows();
  for (const Variant& v : resorted[2]) tags.push_back(v.ToText());
  EXPECT_EQ(tags, (std::vector<std::string>{"4", "0", "2", "3", "1", "5"}));
}

TEST(RecordsetTest, SortByUnknownFieldThrowsAndKeepsOrder) {
  Recordset rs = People();
  rs.Sort("Name");
  EXPECT_EQ(ErrorNumberOf([&] { rs.Sort("Nope ASC"); }), err::kItemNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Sort("Name, "); }), err::kInvalidCall);
  EXPECT_EQ(Ids(rs), (std::vector<int32_t>{2, 3, 1}));
}

TEST(RecordsetTest, GetRowsIsColumnByRowInCurrentOrder) {
  Recordset rs = People();
  rs.Sort("Name");
  const auto table = rs.GetRows();
  ASSERT_EQ(table.size(), 3u);
  ASSERT_EQ(table[1].size(), 3u);
  EXPECT_EQ(table[1][0], Variant("Alice"));
  EXPECT_TRUE(table[2][0].IsNull());
  EXPECT_EQ(table[0][2], Variant(int32_t{1}));
}

TEST(RecordsetTest, EditingKeepsOriginalValues) {
  Recordset rs = People();
  rs.MoveNext();
  rs.Fields("Name").SetValue("Alicia");
  rs.Fields("Name").SetValue("Ali");
  EXPECT_EQ(rs.Fields(1).Value(), Variant("Ali"));
  EXPECT_EQ(rs.OriginalValue(1, 1), Variant("Alice"));
  EXPECT_EQ(RecordsetAccess::Status(rs, 1), Recordset::RecordStatus::Modified);
  EXPECT_EQ(RecordsetAccess::Status(rs, 0), Recordset::RecordStatus::Unchanged);
  EXPECT_EQ(RecordsetAccess::PendingRows(rs), (std::vector<size_t>{1}));
}

TEST(RecordsetTest, AddNewAndDelete) {
  Recordset rs = People();
  rs.AddNew();
  EXPECT_TRUE(rs.Fields("ID").Value().IsEmpty());
  rs.Fields("ID").SetValue(int32_t{4});
  EXPECT_EQ(rs.RecordCount(), 4);
  rs.MoveFirst();
  rs.Delete();
  EXPECT_EQ(ErrorNumberOf([&] { rs.Value(0); }), err::kNoCurrentRecord);
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_EQ(Ids(rs), (std::vector<int32_t>{2, 3, 4}));
  EXPECT_EQ(rs.GetRows()[0].size(), 3u);
  EXPECT_EQ(RecordsetAccess::PendingRows(rs), (std::vector<size_t>{0, 3}));
  EXPECT_EQ(RecordsetAccess::Status(rs, 0), Recordset::RecordStatus::Deleted);
  EXPECT_EQ(RecordsetAccess::Status(rs, 3), Recordset::RecordStatus::New);

  // An added record deleted before any write leaves no trace in the batch.
  rs.MoveLast();
  rs.Delete();
  EXPECT_EQ(RecordsetAccess::PendingRows(rs), (std::vector<size_t>{0}));
  EXPECT_EQ(Ids(rs), (std::vector<int32_t>{2, 3}));
}

TEST(RecordsetTest, AddNewToRecordsWithoutRows) {
  Recordset rs;
  rs.AppendField("ID", 3);
  rs.AddNew();
  rs.Fields("ID").SetValue(int32_t{1});
  rs.AddNew();
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_EQ(RecordsetAccess::PendingRows(rs), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(RecordsetAccess::Status(rs, 0), Recordset::RecordStatus::New);
  EXPECT_EQ(RecordsetAccess::Status(rs, 1), Recordset::RecordStatus::New);
}

TEST(RecordsetTest, DeletingEveryRecordLeavesEofAndBof) {
  Recordset rs = People();
  while (rs.RecordCount() > 0) {
    rs.MoveFirst();
    rs.Delete();
  }
  rs.MoveFirst();
  EXPECT_TRUE(rs.Eof());
  EXPECT_TRUE(rs.Bof());
  rs.MoveLast();
  EXPECT_TRUE(rs.Eof());
}

TEST(RecordsetTest, AcceptChangesDropsDeletedAndVanishedRecords) {
  Recordset rs = People();
  rs.Fields(1).SetValue("Caroline");
  rs.MoveNext();
  rs.Delete();
  RecordsetAccess::AcceptChanges(rs, {2});
  EXPECT_FALSE(rs.HasPendingChanges());
  EXPECT_EQ(rs.RecordCount(), 1);
  EXPECT_EQ(rs.Fields(1).Value(), Variant("Caroline"));
  EXPECT_EQ(rs.OriginalValue(0, 1), Variant("Caroline"));
  EXPECT_EQ(rs.LiveRows(), (std::vector<size_t>{0}));
}

TEST(RecordsetTest, ManyRowsAcrossStorageBlocks) {
  Recordset rs;
  rs.AppendField("n", type::kBigInt);
  // A block holds the fewest rows, a power of two, that fill 4 MiB: fewer than twice 4 MiB of
  // rows, so this many spill into a second block and a third.
  const int64_t count = static_cast<int64_t>(2 * (size_t{4} << 20) / sizeof(Variant)) + 3;
  for (int64_t i = 0; i < count; ++i) rs.AddRow({Variant(count - i)});
  rs.Sort("n");
  const auto table = rs.GetRows();
  ASSERT_EQ(table[0].size(), static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) ASSERT_EQ(*table[0][i].AsInteger(), i + 1);
}

TEST(RecordsetTest, ChapterValueHoldsChildRecordset) {
  auto child = std::make_shared<Recordset>(People());
  Recordset parent;
  parent.AppendField("orders", type::kChapter);
  parent.AddRow({Variant::Chapter(child)});
  auto got = parent.Fields("orders").Value().AsChapter();
  ASSERT_TRUE(got);
  EXPECT_EQ(got->RecordCount(), 3);
}

}  // namespace
}  // namespace kivdb
