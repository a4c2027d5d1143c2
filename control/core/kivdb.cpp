#include <kivdb/kivdb.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include <kivdb/error.h>
#include "control/core/control_impl.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"

namespace kivdb {
namespace {

constexpr const char* kObjectNotSet = "Object variable or With block variable not set";

// A stored port or mode read back from a bag (which may hold text) as a 16-bit number.
int16_t SavedInteger(const Variant& value) {
  if (value.IsNull()) throw Error(err::kTypeMismatch, "Type mismatch");
  return IntegerOrZero(value);
}

}  // namespace

// --- Impl: events and helpers --------------------------------------------------------------------

void KivDB::Impl::Message(const std::string& text) const {
  if (kivdbMessage) kivdbMessage(text);
}

void KivDB::Impl::Tell(const std::string& text) const {
  if (talking) Message(text);
}

void KivDB::Impl::Log(const std::string& type, const std::string& narration) const {
  if (logIt) logIt(type, narration);
}

void KivDB::Impl::ReportCurrentFailure() const noexcept {
  // Unlike a paragraph's report, the control's own names a foreign exception by its text.
  const Failure failure = CurrentFailure(true);
  if (failure.number == 0) return;
  try {
    Tell(ErrorMessage(failure.number, failure.description));
  } catch (...) {
    // A host handler that fails while hearing of a failure has nowhere further to report to.
  }
}

std::string KivDB::Impl::FolderPath(const std::string& name) const {
  return applicationFolder.ToText() + std::string(1, std::filesystem::path::preferred_separator) +
         name;
}

DateTime KivDB::Impl::Today() const {
  if (clock) return clock();
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0};
}

TreeView& KivDB::Impl::Tree() const {
  if (!oTV) throw Error(err::kObjectNotSet, kObjectNotSet);
  return *oTV;
}

Browser& KivDB::Impl::Web() const {
  if (!oWB) throw Error(err::kObjectNotSet, kObjectNotSet);
  return *oWB;
}

TreeNode& KivDB::Impl::Selected() const {
  TreeNode* node = Tree().SelectedItem();
  if (!node) throw Error(err::kObjectNotSet, kObjectNotSet);
  return *node;
}

const std::shared_ptr<kivdb::DAL>& KivDB::Impl::OwnDal() {
  if (!dal) {
    dal = std::make_shared<kivdb::DAL>();
    dal->QueryTimeout(queryTimeout);
  }
  return dal;
}

Recordset& Need(const std::shared_ptr<Recordset>& records) {
  if (!records) throw Error(err::kObjectNotSet, kObjectNotSet);
  return *records;
}

// --- Properties ----------------------------------------------------------------------------------

KivDB::KivDB() : impl_(std::make_unique<Impl>()) {}
KivDB::~KivDB() = default;

std::shared_ptr<kivdb::DAL> KivDB::DAL() {
  return impl_->OwnDal();
}

void KivDB::DAL(std::shared_ptr<kivdb::DAL> dal) {
  impl_->dal = std::move(dal);
  // A host's DAL keeps its own limit unless the control has one.
  if (impl_->dal && impl_->queryTimeout > 0) impl_->dal->QueryTimeout(impl_->queryTimeout);
}

int16_t KivDB::ActivePort() const {
  if (impl_->userMode) {
    throw Error(err::kNotReadableAtRunTime, "ActivePort property cannot be read at run time");
  }
  return impl_->activePort;
}

void KivDB::ActivePort(int16_t port) {
  if (impl_->userMode) {
    throw Error(err::kNotSettableAtRunTime, "ActivePort property cannot be set at run time");
  }
  impl_->activePort = port;
  if (impl_->propertyChanged) impl_->propertyChanged("ActivePort");
}

void KivDB::ApplicationFolder(const Variant& folder) {
  impl_->applicationFolder = folder;
  if (impl_->propertyChanged) impl_->propertyChanged("ApplicationFolder");
}

int16_t KivDB::DAMode() const {
  if (impl_->userMode) {
    throw Error(err::kNotReadableAtRunTime, "DAMode property cannot be read at run time");
  }
  return impl_->daMode;
}

void KivDB::DAMode(int16_t mode) {
  if (impl_->userMode) {
    throw Error(err::kNotSettableAtRunTime, "DAMode property cannot be set at run time");
  }
  impl_->daMode = mode;
  if (impl_->propertyChanged) impl_->propertyChanged("DAMode");
}

void KivDB::DateFormat(const std::string& picture) {
  impl_->dateFormat = picture;
}
void KivDB::DisplayPath(bool on) {
  impl_->displayPath = on;
}
void KivDB::Heading(const Variant& text) {
  impl_->heading = text.ToText();
}
void KivDB::QueryTimeout(int seconds) {
  impl_->queryTimeout = seconds > 0 ? seconds : 0;
  if (impl_->dal) impl_->dal->QueryTimeout(impl_->queryTimeout);
}

int KivDB::QueryTimeout() const {
  return impl_->queryTimeout;
}

void KivDB::MaxRows(long rows) {
  impl_->maxRows = rows > 0 ? rows : 0;
}

long KivDB::MaxRows() const {
  return impl_->maxRows;
}

void KivDB::Talking(bool on) {
  impl_->talking = on;
}

void KivDB::UserRole(const Variant& role) {
  if (role.IsNull()) throw Error(err::kTypeMismatch, "Type mismatch");
  impl_->userRole = IntegerOrZero(role);
}

// --- Widgets and methods -------------------------------------------------------------------------

void KivDB::SetControls(TreeView& mTV, Browser& mBM) {
  impl_->oTV = &mTV;
  impl_->oWB = &mBM;
  // The handlers check that the control still lives and that their widget is still the bound
  // one, so widgets and control may end in any order and a rebound widget falls silent.
  Impl* impl = impl_.get();
  const std::weak_ptr<bool> alive = impl_->alive;
  mTV.SetNodeClickHandler([impl, alive, tree = &mTV](TreeNode& node) {
    if (!alive.expired() && impl->oTV == tree) impl->ExpandNode(node);
  });
  mBM.SetBeforeNavigateHandler([impl, alive, browser = &mBM](const std::string& url, bool& cancel) {
    if (!alive.expired() && impl->oWB == browser) cancel = impl->FollowLink(url);
  });
  mTV.SetLabelEdit(LabelEditMode::Manual);
}

void KivDB::RefreshBrowser() {
  impl_->RefreshBrowser();
}

void KivDB::SavePage() {
  impl_->PageCommand(browser_command::kSaveAs, "Save", "Save Command Error: ");
}

void KivDB::PrintPage() {
  impl_->PageCommand(browser_command::kPrint, "Print", "Print Command Error: ");
}

void KivDB::OnProvideRecordset(ProvideRecordsetHandler handler) {
  impl_->provideRecordset = std::move(handler);
}
void KivDB::OnOpenForm(OpenFormHandler handler) {
  impl_->openForm = std::move(handler);
}
void KivDB::OnKivDBMessage(KivDBMessageHandler handler) {
  impl_->kivdbMessage = std::move(handler);
}
void KivDB::OnLogIt(LogItHandler handler) {
  impl_->logIt = std::move(handler);
}

// --- Container -----------------------------------------------------------------------------------

void KivDB::SetUserMode(bool userMode) {
  impl_->userMode = userMode;
}

void KivDB::OnPropertyChanged(PropertyChangedHandler handler) {
  impl_->propertyChanged = std::move(handler);
}

void KivDB::InitProperties() {
  impl_->applicationFolder = Variant(" ");
  impl_->activePort = kDataPort;
  impl_->daMode = kReadThroughDAL;
}

void KivDB::ReadProperties(PropertyBag& bag) {
  const Variant folder = bag.ReadProperty("ApplicationFolder", Variant(" "));
  const int16_t port = SavedInteger(bag.ReadProperty("ActivePort", Variant(int16_t{0})));
  const int16_t mode = SavedInteger(bag.ReadProperty("DAMode", Variant(int16_t{0})));
  impl_->applicationFolder = folder;
  impl_->activePort = port;
  impl_->daMode = mode;
}

void KivDB::WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("ApplicationFolder", impl_->applicationFolder, Variant(" "));
  bag.WriteProperty("ActivePort", Variant(impl_->activePort), Variant(int16_t{0}));
  bag.WriteProperty("DAMode", Variant(impl_->daMode), Variant(int16_t{0}));
}

void KivDB::SetClock(Clock clock) {
  impl_->clock = std::move(clock);
}

}  // namespace kivdb
