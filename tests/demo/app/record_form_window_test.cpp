// Record forms in the running application: a form link clicked in a report page opens the form,
// a save rebuilds the page with the new value, and a row changed by another program meanwhile is
// neither overwritten nor lost from the form; its editors: lists of names for keys, calendars for
// dates, Salary by role, and a notice that leaves the fields their room.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

#include <kivdb/dal.h>
#include "demo/app/message_panel.h"
#include "demo/app/record_form_dialog.h"
#include "tests/demo/app/window_fixture.h"

namespace kivdb::demo {
namespace {

class RecordFormWindowTest : public testing::WindowTest {
 protected:
  // Opens the customer Harbour Lights' page and clicks the record link in it.
  RecordFormDialog* OpenCustomerForm() {
    Click("Data Browser\\Regions");
    Click("Data Browser\\Regions\\North");
    Click("Data Browser\\Regions\\North\\Harbour Lights Interiors");
    EXPECT_TRUE(Shows("Whitby"));
    const std::string page = Browser().Current();
    Evaluate("document.querySelector(\"a[href^='^']\").click(); true");
    RecordFormDialog* form = nullptr;
    for (int waited = 0; !form && waited < 5000; waited += 20) {
      QTest::qWait(20);
      form = window_->findChild<RecordFormDialog*>();
    }
    EXPECT_NE(form, nullptr);
    EXPECT_EQ(Browser().Current(), page);  // the view stayed on the report
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    return form;
  }

  void Type(RecordFormDialog* form, const char* field, const QString& text) {
    auto* editor = qobject_cast<QLineEdit*>(form->Editor(field));
    ASSERT_NE(editor, nullptr) << field;
    editor->selectAll();
    QTest::keyClicks(editor, text);
  }

  std::string Stored(const std::string& query) {
    DAL dal;
    dal.ConnectionString(copy_.ConnectionString());
    return dal.ReadValue(query).ToText();
  }
};

TEST_F(RecordFormWindowTest, SavingRebuildsTheShownPage) {
  RecordFormDialog* form = OpenCustomerForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Edit().Form().table, "Customers");
  EXPECT_EQ(form->Edit().RecordId(), "HARBR");
  Type(form, "City", "Scarborough");
  QTest::mouseClick(form->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
  ASSERT_TRUE(Browser().WaitForLoad());
  EXPECT_EQ(form->Notice(), "Saved.");
  EXPECT_EQ(Stored("SELECT City FROM Customers WHERE Code = 'HARBR'"), "Scarborough");
  EXPECT_TRUE(Shows("Scarborough"));
  EXPECT_FALSE(PageText().contains("Whitby"));
}

TEST_F(RecordFormWindowTest, AChangeSavedElsewhereIsKeptAndSoAreTheUsersEdits) {
  RecordFormDialog* form = OpenCustomerForm();
  ASSERT_NE(form, nullptr);
  DAL other;
  other.ConnectionString(copy_.ConnectionString());
  ASSERT_TRUE(other.ExecSQL("UPDATE Customers SET Phone = '01947 999999' WHERE Code = 'HARBR'"));

  Type(form, "City", "Scarborough");
  QTest::mouseClick(form->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
  EXPECT_TRUE(form->Notice().contains("Another program changed")) << form->Notice().toStdString();
  EXPECT_TRUE(form->Notice().contains("Phone"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(form->Editor("City"))->text(), "Scarborough");
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Stored("SELECT Phone FROM Customers WHERE Code = 'HARBR'"), "01947 999999");
  EXPECT_EQ(Stored("SELECT City FROM Customers WHERE Code = 'HARBR'"), "Whitby");
}

TEST_F(RecordFormWindowTest, OneRecordHasOneForm) {
  window_->OpenForm("00004", "0000000007");
  window_->OpenForm("00004", "0000000007");
  window_->OpenForm("00004", "0000000008");
  EXPECT_EQ(window_->findChildren<RecordFormDialog*>().size(), 2);
}

TEST_F(RecordFormWindowTest, AnUnknownFormOrRecordGoesToTheMessagePanel) {
  window_->OpenForm("00042", "0000000001");
  window_->OpenForm("00002", "0000000999");
  window_->OpenForm("99999999999", "1");
  EXPECT_EQ(window_->findChild<RecordFormDialog*>(), nullptr);
  ASSERT_EQ(window_->Messages()->Count(), 3);
  EXPECT_TRUE(window_->Messages()->Message(0).contains("no form number 00042"));
  EXPECT_TRUE(window_->Messages()->Message(1).contains("no Employee record"));
}

TEST_F(RecordFormWindowTest, KeysAreChosenByNameAndDatesInACalendar) {
  window_->OpenForm("00004", "0000000045");  // not shipped yet: no ShippedDate
  auto* form = window_->findChild<RecordFormDialog*>();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->windowTitle().startsWith("Order 45: ")) << form->windowTitle().toStdString();
  auto* customer = qobject_cast<QComboBox*>(form->Editor("CustomerCode"));
  auto* employee = qobject_cast<QComboBox*>(form->Editor("EmployeeID"));
  auto* ordered = qobject_cast<QDateEdit*>(form->Editor("OrderDate"));
  auto* shipped = qobject_cast<QDateEdit*>(form->Editor("ShippedDate"));
  ASSERT_TRUE(customer && employee && ordered && shipped);
  EXPECT_TRUE(ordered->calendarPopup());
  EXPECT_EQ(shipped->text(), "(no date)");
  const std::string before = Stored("SELECT OrderDate FROM Orders WHERE ID = 45");
  // A wheel turned over a list the user is not in scrolls past it and changes nothing.
  const int chosen = customer->currentIndex();
  QWheelEvent wheel(QPointF(5, 5), customer->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(customer, &wheel);
  EXPECT_EQ(customer->currentIndex(), chosen);

  customer->setCurrentIndex(customer->findText("Downs Country Stores"));
  employee->setCurrentIndex(employee->findText("Isla Murray"));
  shipped->setDate(QDate(2024, 12, 24));
  QTest::mouseClick(form->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
  EXPECT_EQ(form->Notice(), "Saved.");
  EXPECT_EQ(Stored("SELECT CustomerCode FROM Orders WHERE ID = 45"), "DOWNS");
  EXPECT_EQ(Stored("SELECT EmployeeID FROM Orders WHERE ID = 45"), "9");
  EXPECT_EQ(Stored("SELECT ShippedDate FROM Orders WHERE ID = 45"), "2024-12-24");
  EXPECT_EQ(Stored("SELECT OrderDate FROM Orders WHERE ID = 45"), before);

  // "(none)" and "(no date)" store Null again.
  employee->setCurrentIndex(0);
  shipped->setDate(shipped->minimumDate());
  form->Save();
  EXPECT_EQ(form->Notice(), "Saved.");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM Orders WHERE ID = 45 AND EmployeeID IS NULL AND "
                   "ShippedDate IS NULL"),
            "1");
}

TEST_F(RecordFormWindowTest, SalaryIsChangedOnlyAtThePayrollRole) {
  for (const int role : {0, 1}) {
    SCOPED_TRACE(role);
    answerRole_ = role;
    window_->findChild<QAction*>("actionRole")->trigger();
    window_->OpenForm("00002", "0000000002");
    auto* form = window_->findChild<RecordFormDialog*>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Employee: Owen Pryce");
    QWidget* salary = form->Editor("Salary");
    ASSERT_NE(salary, nullptr);
    EXPECT_EQ(window_->Role(), role);
    EXPECT_EQ(salary->isEnabled(), role >= 1);
    delete form;
  }
}

TEST_F(RecordFormWindowTest, ALongNoticeLeavesTheFieldsTheirRoom) {
  RecordFormDialog* form = OpenCustomerForm();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "Customer: Harbour Lights Interiors");
  QWidget* city = form->Editor("City");
  const int height = city->height();
  DAL other;
  other.ConnectionString(copy_.ConnectionString());
  ASSERT_TRUE(other.ExecSQL("UPDATE Customers SET Phone = '01947 999999' WHERE Code = 'HARBR'"));
  Type(form, "City", "Scarborough");
  form->Save();
  QApplication::processEvents();
  const QWidget* notice = form->findChild<QLabel*>("notice");
  ASSERT_TRUE(notice->isVisible());
  EXPECT_GT(notice->height(), 2 * notice->fontMetrics().height());  // wrapped on several lines
  const QWidget* fields = form->findChild<QWidget*>("fieldArea");
  ASSERT_NE(fields, nullptr);
  EXPECT_LE(notice->geometry().bottom(), fields->geometry().top());
  EXPECT_EQ(city->height(), height);
}

}  // namespace
}  // namespace kivdb::demo
