// ReadData, the one gate of every read, and LoadSchemes, which reads the three scheme tables.

#include <kivdb/error.h>
#include "control/core/control_impl.h"
#include "control/data/row_sink.h"
#include "control/render/render_context.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

constexpr const char* kReadFailed = "Error Reading Data From Database";
constexpr const char* kPageHeaderLine =
    "<table width=100%><tr><td class=pgl>%StoreName%</td><td class=pgr>%Date%</td></table><p "
    "class=mh>%MainHeading%";

// Field 2 of the current record of an XST3 read, as text (Null as empty).
std::string StyleContent(const std::shared_ptr<Recordset>& records) {
  return Need(records).Fields(scheme::style::contentIs).Value().ToText();
}

}  // namespace

void KivDB::Impl::TellFailedRead(const std::string& statement) {
  Tell("Unable to Access Data for the SQL : " + statement);
  // Only a read through the DAL can fail here, and the DAL knows why.
  if (daMode != kReadThroughDAL) return;
  const std::string& reason = OwnDal()->LastError();
  Tell("Reason: " + (reason.empty() ? std::string("the database gave no reason") : reason));
}

bool KivDB::Impl::ReadData(const std::string& statement, std::shared_ptr<Recordset>& records) {
  bool ok = false;
  if (activePort != kDataPort) {
    records.reset();
    Tell("Please set ActivePort to " + std::to_string(kDataPort));
    return false;
  }
  if (daMode == kReadThroughDAL) {
    ok = OwnDal()->ReadRecordset(statement, records);
  } else if (daMode == kReadFromHost) {
    // A fresh recordset, so rows of an earlier read never pass for the answer to this one.
    records = std::make_shared<Recordset>();
    if (provideRecordset) provideRecordset(statement, records);
    ok = true;
  }
  if (!ok) {
    // A failed read leaves no rows behind, so no caller can take an earlier read's rows for it.
    records.reset();
    TellFailedRead(statement);
  }
  return ok;
}

bool KivDB::Impl::ReadDataForward(const std::string& statement, RowSink& sink) {
  if (activePort != kDataPort) {
    Tell("Please set ActivePort to " + std::to_string(kDataPort));
    return false;
  }
  bool ok = false;
  if (daMode == kReadThroughDAL) {
    ok = ReadForward(*OwnDal(), statement, sink);
  } else if (daMode == kReadFromHost) {
    auto records = std::make_shared<Recordset>();
    if (provideRecordset) provideRecordset(statement, records);
    if (records) FeedRecordset(*records, sink);
    ok = true;
  }
  if (!ok) TellFailedRead(statement);
  return ok;
}

void KivDB::Impl::LoadSchemes() {
  try {
    reportFile = FolderPath(kReportFile);

    std::shared_ptr<Recordset> read;
    if (!ReadData("SELECT * FROM XST1", read)) {
      Message(kReadFailed);
      return;
    }
    Recordset& nav = Need(read);
    nav.Sort(nav.Fields(0).Name() + " ASC");
    schemes.SetNavRows(nav.GetRows());

    if (!ReadData("SELECT * FROM XST2", read)) {
      Message(kReadFailed);
      return;
    }
    Recordset& web = Need(read);
    web.Sort(web.Fields(1).Name() + " ASC, " + web.Fields(2).Name() + " ASC");
    schemes.SetWebRows(web.GetRows());

    if (!ReadData("SELECT * FROM XST3 WHERE (ID=1)", read)) Message(kReadFailed);
    const std::string frontText = StyleContent(read);
    FilePageWriter frontPage(FolderPath(kFrontPageFile));
    frontPage.WriteLine(frontText);
    frontPage.Close();

    if (!ReadData("SELECT * FROM XST3 WHERE (ID=2)", read)) Message(kReadFailed);
    pageHead = StyleContent(read) + kPageHeaderLine;
  } catch (...) {
    ReportCurrentFailure();
  }
}

}  // namespace kivdb
