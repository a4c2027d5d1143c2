// Record forms on a copy of the demo database: reading, editing, writing back, refusing to
// overwrite what another program saved in between; keys named, the title, the role.
#include <gtest/gtest.h>

#include <algorithm>

#include <kivdb/dal.h>
#include "demo/app/field_text.h"
#include "demo/app/form_catalog.h"
#include "demo/app/record_edit.h"
#include "tests/demo/app/demo_copy.h"

namespace kivdb::demo {
namespace {

TEST(FormCatalogTest, FindsTheFormsOfTheDemoSchemes) {
  struct Case {
    const char* nFrm;
    const char* table;  // "" when there is no such form
  } cases[] = {{"00001", "Customers"}, {"00002", "Employees"}, {"00003", "Products"},
               {"00004", "Orders"},    {"00005", ""},          {"", ""},
               {"0001x", ""},          {"-0001", ""}};
  for (const Case& c : cases) {
    const auto form = FindForm(c.nFrm);
    EXPECT_EQ(form ? form->table : "", c.table) << c.nFrm;
  }
}

TEST(FormCatalogTest, BuildsTheQueryOfOneRecord) {
  struct Case {
    const char* nFrm;
    const char* nID;
    const char* where;  // the end of the query, "" when the key is refused
  } cases[] = {
      {"00004", "0000000042", "FROM Orders WHERE ID = 42"},
      {"00001", "HARBR", "FROM Customers WHERE Code = 'HARBR'"},
      {"00001", "O'B", "FROM Customers WHERE Code = 'O''B'"},
      {"00002", "12a", ""},
      {"00002", "", ""},
      {"00001", "", ""},
  };
  for (const Case& c : cases) {
    const auto query = RecordQuery(*FindForm(c.nFrm), c.nID);
    if (std::string(c.where).empty()) {
      EXPECT_FALSE(query) << c.nID;
    } else {
      ASSERT_TRUE(query) << c.nID;
      EXPECT_TRUE(query->ends_with(c.where)) << *query;
    }
  }
}

TEST(FieldTextTest, ReadsTextsByFieldType) {
  struct Case {
    int type;
    const char* text;
    const char* value;  // ToText of the value, or nullptr when the text is refused
  } cases[] = {
      {type::kInteger, " 42 ", "42"},
      {type::kInteger, "4.2", nullptr},
      {type::kInteger, "", ""},
      {type::kDouble, "2.5", "2.5"},
      {type::kDouble, "two", nullptr},
      {type::kCurrency, "1250.5", "1250.5"},
      {type::kCurrency, "-3.25", "-3.25"},
      {type::kCurrency, "1.23456", nullptr},
      {type::kCurrency, "12,00", nullptr},
      {type::kDate, "2024-02-29", "2024-02-29"},
      {type::kDate, "2023-02-29", nullptr},
      {type::kBoolean, "yes", "True"},
      {type::kBoolean, "maybe", nullptr},
      {type::kVarChar, " Leeds ", " Leeds "},
      {type::kLongVarBinary, "x", nullptr},
      {type::kNumeric, "3.75", "3.75"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto value = ValueFromText(c.type, c.text, error);
    if (!c.value) {
      EXPECT_FALSE(value) << c.type << " '" << c.text << "'";
      EXPECT_FALSE(error.empty()) << c.text;
    } else {
      ASSERT_TRUE(value) << c.type << " '" << c.text << "': " << error;
      EXPECT_EQ(value->ToText(), c.value) << c.type << " '" << c.text << "'";
    }
  }
  std::string error;
  EXPECT_TRUE(ValueFromText(type::kVarChar, "", error)->IsNull());
}

class RecordEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dal_.ConnectionString(copy_.ConnectionString());
    other_.ConnectionString(copy_.ConnectionString());
  }

  std::string Value(const std::string& query) { return other_.ReadValue(query).ToText(); }

  int Field(const RecordEdit& edit, const std::string& name) {
    for (int f = 0; f < edit.FieldCount(); ++f) {
      if (edit.FieldName(f) == name) return f;
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
  }

  testing::DemoCopy copy_;
  DAL dal_;
  DAL other_;  // another program working on the same database
};

TEST_F(RecordEditTest, SavesTheEditedFieldsAndReadsThemBack) {
  RecordEdit edit(dal_, *FindForm("00001"), "HARBR");
  std::string error;
  ASSERT_TRUE(edit.Load(error)) << error;
  EXPECT_EQ(edit.Text(Field(edit, "City")), "Whitby");
  EXPECT_FALSE(edit.Editable(Field(edit, "Code")));
  edit.SetText(Field(edit, "Code"), "XXXXX");  // the key stays as read
  EXPECT_FALSE(edit.Modified());
  EXPECT_EQ(edit.Save().outcome, SaveOutcome::NothingChanged);

  edit.SetText(Field(edit, "City"), "Scarborough");
  edit.SetText(Field(edit, "CreditLimit"), "15000.25");
  const SaveResult saved = edit.Save();
  ASSERT_EQ(saved.outcome, SaveOutcome::Saved) << saved.message;
  EXPECT_FALSE(edit.Modified());
  EXPECT_EQ(Value("SELECT City FROM Customers WHERE Code = 'HARBR'"), "Scarborough");
  EXPECT_EQ(Value("SELECT CreditLimit FROM Customers WHERE Code = 'HARBR'"), "15000.25");
  EXPECT_EQ(Value("SELECT Company FROM Customers WHERE Code = 'HARBR'"),
            "Harbour Lights Interiors");

  // A second save from the same form builds on the values it wrote.
  edit.SetText(Field(edit, "City"), "Filey");
  EXPECT_EQ(edit.Save().outcome, SaveOutcome::Saved);
  EXPECT_EQ(Value("SELECT City FROM Customers WHERE Code = 'HARBR'"), "Filey");
}

TEST_F(RecordEditTest, NeverOverwritesAChangeItDidNotSee) {
  RecordEdit edit(dal_, *FindForm("00004"), "0000000007");
  std::string error;
  ASSERT_TRUE(edit.Load(error)) << error;
  edit.SetText(Field(edit, "Freight"), "99.5");
  ASSERT_TRUE(
      other_.ExecSQL("UPDATE Orders SET Freight = 1.25, ShippedDate = '2024-03-01' "
                     "WHERE ID = 7"));

  const SaveResult result = edit.Save();
  EXPECT_EQ(result.outcome, SaveOutcome::Conflict);
  EXPECT_EQ(result.changedElsewhere, (std::vector<std::string>{"ShippedDate", "Freight"}));
  EXPECT_NE(result.message.find("Another program changed"), std::string::npos);
  EXPECT_EQ(edit.Text(Field(edit, "Freight")), "99.5");  // the user's edit stays
  EXPECT_TRUE(edit.Modified());
  EXPECT_EQ(Value("SELECT Freight FROM Orders WHERE ID = 7"), "1.25");
  EXPECT_EQ(Value("SELECT ShippedDate FROM Orders WHERE ID = 7"), "2024-03-01");

  // A row deleted meanwhile is a conflict too, not a failure of the database.
  ASSERT_TRUE(other_.ExecSQL("DELETE FROM OrderLines WHERE OrderID = 7"));
  ASSERT_TRUE(other_.ExecSQL("DELETE FROM Orders WHERE ID = 7"));
  const SaveResult gone = edit.Save();
  EXPECT_EQ(gone.outcome, SaveOutcome::Conflict);
  EXPECT_NE(gone.message.find("deleted"), std::string::npos);
}

TEST_F(RecordEditTest, RefusesTextsThatAreNoValuesAndWritesNothing) {
  RecordEdit edit(dal_, *FindForm("00003"), "0000000003");
  std::string error;
  ASSERT_TRUE(edit.Load(error)) << error;
  const std::string name = edit.Text(Field(edit, "Name"));
  edit.SetText(Field(edit, "Name"), "Renamed");
  edit.SetText(Field(edit, "InStock"), "many");
  const SaveResult result = edit.Save();
  EXPECT_EQ(result.outcome, SaveOutcome::Invalid);
  EXPECT_EQ(result.invalidField, Field(edit, "InStock"));
  EXPECT_EQ(Value("SELECT Name FROM Products WHERE ID = 3"), name);

  // A value the database refuses (Name is NOT NULL) is its failure, not a conflict.
  edit.SetText(Field(edit, "InStock"), "5");
  edit.SetText(Field(edit, "Name"), "");
  const SaveResult refused = edit.Save();
  EXPECT_EQ(refused.outcome, SaveOutcome::Failed);
  EXPECT_FALSE(refused.message.empty());
  EXPECT_EQ(Value("SELECT Name FROM Products WHERE ID = 3"), name);
}

TEST_F(RecordEditTest, ReportsARecordThatIsNotThere) {
  struct Case {
    const char* nFrm;
    const char* nID;
  } cases[] = {{"00002", "0000000999"}, {"00001", "NOONE"}, {"00004", "x"}};
  for (const Case& c : cases) {
    RecordEdit edit(dal_, *FindForm(c.nFrm), c.nID);
    std::string error;
    EXPECT_FALSE(edit.Load(error)) << c.nID;
    EXPECT_FALSE(error.empty()) << c.nID;
  }
}

TEST_F(RecordEditTest, NamesKeysAndRecordsAndHonoursTheRole) {
  struct Case {
    const char* form;
    const char* id;
    int role;
    std::string caption;
    std::string keyField;  // a foreign key: its choices name the records
    std::string keyText;   // the stored key, and the name it shows as
    std::string keyName;
    bool salaryEditable;
  } cases[] = {
      {"00001", "HARBR", 0, "Customer: Harbour Lights Interiors", "RegionID", "1", "North", false},
      {"00001", "HARBR", 0, "Customer: Harbour Lights Interiors", "AccountManager", "4",
       "Tomasz Nowak", false},
      {"00004", "0000000007", 0, "Order 7: Quayside Trading Post", "EmployeeID", "3",
       "Grace Achebe", false},
      {"00002", "0000000002", 0, "Employee: Owen Pryce", "ReportsTo", "1", "Ruth Calloway", false},
      {"00002", "0000000002", 1, "Employee: Owen Pryce", "ReportsTo", "1", "Ruth Calloway", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption + " " + c.keyField + " role " + std::to_string(c.role));
    RecordEdit edit(dal_, *FindForm(c.form), c.id, c.role);
    std::string error;
    ASSERT_TRUE(edit.Load(error)) << error;
    EXPECT_EQ(edit.Caption(), c.caption);
    const int key = Field(edit, c.keyField);
    EXPECT_EQ(edit.Text(key), c.keyText);
    const std::vector<KeyChoice>* choices = edit.Choices(key);
    ASSERT_NE(choices, nullptr);
    const auto named = std::find_if(choices->begin(), choices->end(),
                                    [&](const KeyChoice& k) { return k.key == c.keyText; });
    ASSERT_NE(named, choices->end());
    EXPECT_EQ(named->caption, c.keyName);
    EXPECT_EQ(edit.Choices(Field(edit, edit.Form().keyColumn)), nullptr);
    if (edit.Form().table == "Employees") {
      const int salary = Field(edit, "Salary");
      EXPECT_EQ(edit.Editable(salary), c.salaryEditable);
      edit.SetText(salary, "99000");
      EXPECT_EQ(edit.Save().outcome,
                c.salaryEditable ? SaveOutcome::Saved : SaveOutcome::NothingChanged);
      EXPECT_EQ(Value("SELECT Salary FROM Employees WHERE ID = 2"),
                c.salaryEditable ? "99000" : "54000");
    }
  }
}

}  // namespace
}  // namespace kivdb::demo
