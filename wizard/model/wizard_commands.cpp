#include "wizard/model/wizard_commands.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "wizard/model/type_codes.h"

namespace kivwz {
namespace {

constexpr std::string_view kUnableToSave = "Unable to save file..";

std::string TreeKeyOf(const std::string& nodeKey) {
  return "N" + nodeKey;
}

// Why no child may be added below a node of the type; only G, R and N limit their children.
std::string_view NoAdditionMessage(NodeType type) {
  switch (type) {
    case NodeType::Generating:
      return "Below a (G)- Generating Node, you can add just ONE node.\nNode is already present. "
             "No Addition allowed !!";
    case NodeType::Recurring:
      return "Below a (R)- Recurring Node, you CANNOT add any node.\nNo Addition allowed !!";
    default:
      return "Below a (N)- Non-Generating Node, you CANNOT add any node.\nNo Addition allowed !!";
  }
}

// A key taken from a view names a number when it reads as one ("XST1", the header cell, does not).
bool IsNumber(const std::string& text) {
  return WholeNumber(text).has_value();
}

}  // namespace

WizardCommands::WizardCommands(clsNavSchemes& navs, TreeView& tree, Grid& navGrid,
                               MessageBoxes& messages, FileDialogs& dialogs, WizardWindows& windows,
                               PopupMenus& menus)
    : navs_(navs),
      tree_(tree),
      navGrid_(navGrid),
      messages_(messages),
      dialogs_(dialogs),
      windows_(windows),
      menus_(menus) {
  MarkNavSaved();
  MarkWebSaved();
}

void WizardCommands::Start() {
  NewScheme();
  windows_.ShowIntroduction();
  messages_.Information(std::string(kStartMessage));
}

void WizardCommands::LoadFiles(const std::string& navFile, const std::string& webFile) {
  if (!navFile.empty()) {
    if (navs_.LoadData(navFile)) {
      Remember(navFile);
      MarkNavSaved();
    } else {
      messages_.Information("Unable to open file " + navFile);
    }
  }
  if (!webFile.empty()) {
    if (navs_.LoadWeb(webFile)) {
      Remember(webFile);
      MarkWebSaved();
    } else {
      messages_.Information("Unable to open file " + webFile);
    }
  }
}

void WizardCommands::OpenNavFile() {
  const std::string path = dialogs_.GetOpenName(StartFolder());
  if (path.empty()) return;
  if (navs_.LoadData(path)) {
    Remember(path);
    MarkNavSaved();
  }
}

void WizardCommands::OpenWebFile() {
  const std::string path = dialogs_.GetOpenName(StartFolder());
  if (path.empty()) return;
  if (navs_.LoadWeb(path)) {
    Remember(path);
    MarkWebSaved();
  }
}

void WizardCommands::SaveNavFile() {
  const std::string path = dialogs_.GetSaveAsName("XST1.txt", StartFolder());
  if (path.empty()) return;
  // A failed save says so, as the web save does: silence would pass for success.
  if (!navs_.SaveData(path)) {
    messages_.Information(std::string(kUnableToSave));
    return;
  }
  Remember(path);
  MarkNavSaved();
}

void WizardCommands::SaveWebFile() {
  const std::string path = dialogs_.GetSaveAsName("XST2.txt", StartFolder());
  if (path.empty()) return;
  if (!navs_.SaveWeb(path)) {
    messages_.Information(std::string(kUnableToSave));
    return;
  }
  Remember(path);
  MarkWebSaved();
}

void WizardCommands::NewScheme() {
  navs_.NewScheme();
  MarkNavSaved();
  MarkWebSaved();
}

void WizardCommands::CollapseNodes() {
  // "N" alone is no node's tree key, so the redraw selects nothing and opens only the root.
  navs_.SetCurrentKey("N");
  navs_.DispInTV();
}

void WizardCommands::Renumber() {
  navs_.Renumber();
}

void WizardCommands::CheckNav() {
  windows_.ShowOutput(navs_.CheckNav());
}

void WizardCommands::NavToDo() {
  windows_.ShowOutput(navs_.NavToDo());
}

void WizardCommands::CheckWeb() {
  windows_.ShowOutput(navs_.oWebs.CheckScheme(navs_));
}

void WizardCommands::WebToDo() {
  windows_.ShowOutput(navs_.oWebs.WebToDo());
}

void WizardCommands::InsertNode(const std::string& nodeKey) {
  const clsNavSchemes::Node parent = navs_.Item(nodeKey);
  if (!parent) return;
  // The tree shows every child a node in it has, so the scheme's count is the tree's.
  const NodeTypeRule* rule = NodeTypeRuleOf(parent->typeIs());
  if (rule != nullptr && HasTooManyChildren(*rule, navs_.GetChildren(*parent) + 1)) {
    messages_.Information(std::string(NoAdditionMessage(rule->type)));
    return;
  }
  auto record = std::make_shared<clsNavScheme>();
  record->ID(NumberValue(navs_.MaxID()) + 1);
  record->descriptionIs = "New";
  record->typeIs("N");
  record->parentIs = NumberValue(nodeKey);
  record->iconIs = "leaf";
  const std::string newKey = std::to_string(record->ID());
  windows_.EditNode(parent, record);
  navs_.DispInTV();
  MakeCurrent(navs_.Item(newKey) ? newKey : nodeKey);
}

void WizardCommands::MakeCurrent(const std::string& nodeKey) {
  const std::string treeKey = TreeKeyOf(nodeKey);
  if (!tree_.Select(treeKey)) return;
  tree_.EnsureVisible(treeKey);
  NodeClicked(nodeKey);
}

clsNavSchemes::Node WizardCommands::TreeParentOf(const std::string& nodeKey) const {
  const std::string parentKey = tree_.ParentKey(TreeKeyOf(nodeKey));
  if (parentKey.size() > 1) {
    if (clsNavSchemes::Node parent = navs_.Item(std::string_view(parentKey).substr(1))) {
      return parent;
    }
  }
  const clsNavSchemes::Node node = navs_.Item(nodeKey);
  return node ? navs_.Item(KeyOf(node->parentIs)) : nullptr;
}

void WizardCommands::EditNode(const std::string& nodeKey) {
  const clsNavSchemes::Node node = navs_.Item(nodeKey);
  if (!node) return;
  if (node->parentIs == 0) {
    messages_.Information("Root Node cannot be modified !!");
    return;
  }
  const clsNavSchemes::Node parent = TreeParentOf(nodeKey);
  // A node whose parent is missing is not in the tree, so no key can reach it there.
  if (!parent) return;
  windows_.EditNode(parent, navs_.CloneNav(nodeKey));
  navs_.DispInTV();
  MakeCurrent(nodeKey);
}

void WizardCommands::DeleteNode(const std::string& nodeKey) {
  const clsNavSchemes::Node node = navs_.Item(nodeKey);
  if (!node) return;
  if (node->parentIs == 0) {
    messages_.Information("Root Node cannot be deleted!!");
    return;
  }
  const clsNavSchemes::Node parent = TreeParentOf(nodeKey);
  navs_.DelNode(nodeKey);
  navs_.DispInTV();
  MakeCurrent(navs_.Item(nodeKey) || !parent ? nodeKey : std::to_string(parent->ID()));
}

void WizardCommands::NodeClick(const std::string& nodeKey) {
  const int rows = navGrid_.RowCount();
  for (int row = 1; row < rows; ++row) {
    if (navGrid_.Cell(row, 0) == nodeKey) {
      navGrid_.SetTopRow(row);
      return;
    }
  }
}

void WizardCommands::NodeClicked(const std::string& nodeKey) {
  navs_.OnTreeNodeClick(TreeKeyOf(nodeKey));
  NodeClick(nodeKey);
}

void WizardCommands::NodeAsked(NodeIntent intent, const std::string& nodeKey) {
  switch (intent) {
    case NodeIntent::Insert:
      InsertNode(nodeKey);
      break;
    case NodeIntent::Edit:
      EditNode(nodeKey);
      break;
    case NodeIntent::Delete:
      DeleteNode(nodeKey);
      break;
    case NodeIntent::Menu:
      NodePopupOpened(nodeKey);
      menus_.ShowNodeMenu();
      break;
  }
}

void WizardCommands::ParagraphMenuAsked(const std::string& paragraphKey,
                                        const std::string& nodeKey) {
  ParagraphPopupOpened(paragraphKey, nodeKey);
  menus_.ShowParagraphMenu();
}

void WizardCommands::ParagraphPopupOpened(const std::string& paragraphKey,
                                          const std::string& nodeKey) {
  popupKey_ = paragraphKey;
  popupNode_ = nodeKey;
}

void WizardCommands::AddParagraph() {
  // The header row reads "XST1": the paragraph then goes to the node selected in the tree.
  if (!IsNumber(popupNode_)) {
    const std::string selected = tree_.SelectedKey();
    popupNode_ = selected.empty() ? std::string() : selected.substr(1);
  }
  const Long node = NumberValue(popupNode_);
  if (node <= 0) {
    messages_.Information("Cannot Add ....");
    return;
  }
  clsWebSchemes& webs = navs_.oWebs;
  auto record = std::make_shared<clsWebScheme>();
  record->ID(NumberValue(webs.MaxID()) + 1);
  record->XST1 = node;
  record->seqNo = NumberValue(webs.MaxSeqNo(KeyOf(node))) + 1;
  record->titleIs = "New";
  record->typeIs = "S";
  record->formIs = 0;
  windows_.EditParagraph(record);
  webs.DispInGrid(node);
}

void WizardCommands::EditParagraph() {
  if (!IsNumber(popupNode_)) {
    messages_.Information("Nothin to Edit ....");
    return;
  }
  const Long node = NumberValue(popupNode_);
  if (node <= 0) {
    messages_.Information("Cannot Edit ....");
    return;
  }
  windows_.EditParagraph(navs_.oWebs.CloneWeb(popupKey_));
  navs_.oWebs.DispInGrid(node);
}

void WizardCommands::DeleteParagraph() {
  navs_.oWebs.Remove(popupKey_);
  // After a right-click on the header row no node is named: the grid then shows every paragraph.
  navs_.oWebs.DispInGrid(NumberValue(popupNode_));
}

bool WizardCommands::MayClose() {
  if (!NavChanged() && !WebChanged()) return true;
  return messages_.AskYesNo(std::string(kDiscardQuestion), Answer::No);
}

std::string WizardCommands::StartFolder() const {
  if (!lastFolder_.empty()) return lastFolder_;
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string() : current.string();
}

void WizardCommands::Remember(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (!error) lastFolder_ = absolute.parent_path().string();
}

}  // namespace kivwz
