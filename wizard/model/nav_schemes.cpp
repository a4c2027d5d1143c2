#include "wizard/model/nav_schemes.h"

#include <unordered_set>
#include <utility>

#include "wizard/model/number_index.h"
#include "wizard/model/tree_walk.h"
#include "wizard/model/type_codes.h"

namespace kivwz {
namespace {

constexpr const char* kParentMessage =
    "The Parent of this Node is of Recurring or Non-Generating type. Changes cannot be saved";
constexpr const char* kRecurringChildrenMessage =
    "This Node is having Child Nodes. No child Nodes Allowed for Recurring Node. Changes not saved";
constexpr const char* kNonGeneratingChildrenMessage =
    "This Node is having Child Nodes. No child Nodes Allowed for Non-Generating Node. Changes not "
    "saved";
constexpr const char* kGeneratingChildrenMessage =
    "This Node is having more than one Child Nodes. Only One Child Node Allowed for Generating "
    "Node. Changes not saved";
constexpr const char* kNoQueryMessage =
    "No Generating Query or Stored procedure specified. Changes not saved";

// Only G, R and N limit their children.
const char* TooManyChildrenMessage(NodeType type) {
  switch (type) {
    case NodeType::Recurring:
      return kRecurringChildrenMessage;
    case NodeType::NonGenerating:
      return kNonGeneratingChildrenMessage;
    default:
      return kGeneratingChildrenMessage;
  }
}

constexpr const char* kBlankParagraphQueryMessage = "Query field cannot be blank...";

}  // namespace

void clsNavSchemes::Add(Node oNavScheme) {
  if (!oNavScheme) return;
  const Long key = oNavScheme->ID();
  nodes_.Add(key, std::move(oNavScheme));
}

void clsNavSchemes::Inform(const std::string& text) {
  if (messages_ != nullptr) messages_->Information(text);
}

std::string clsNavSchemes::MaxID() const {
  Long highest = 0;
  for (const Node& node : nodes_) {
    if (node->ID() > highest) highest = node->ID();
  }
  return KeyOf(highest);
}

int clsNavSchemes::GetChildren(const clsNavScheme& oNode) const {
  int count = 0;
  for (const Node& node : nodes_) {
    if (node->parentIs == oNode.ID()) ++count;
  }
  return count;
}

bool clsNavSchemes::IsFType(const clsNavScheme& oNode) const {
  if (!IsNodeType(oNode.typeIs(), NodeType::Generating)) return false;
  for (const Node& node : nodes_) {
    if (node->parentIs == oNode.ID() && IsNodeType(node->typeIs(), NodeType::Fixed)) return true;
  }
  return false;
}

void clsNavSchemes::NewScheme() {
  nodes_.Clear();
  auto root = std::make_shared<clsNavScheme>();
  root->ID(kivdb::scheme::kRootId);
  root->descriptionIs = std::string(kivdb::scheme::kRootCaption);
  root->parentIs = 0;
  root->typeIs(CodeText(NodeType::Fixed));
  root->iconIs = "leaf";
  Add(std::move(root));
  DispInTV();
  oWebs.ClearAll();
  oWebs.DispInGrid(0);
}

void clsNavSchemes::DelNode(std::string_view dKey) {
  // Only a key can be a parent reference's decimal text; any other text deletes nothing.
  if (const std::optional<Long> top = KeyNumber(dKey)) {
    // The subtree is gathered first, deepest nodes first, then removed in one go, and the
    // paragraphs of all deleted nodes go in one pass over the paragraphs.
    const ChildIndex index(nodes_);
    std::vector<char> seen(static_cast<std::size_t>(index.Size()), 0);
    std::vector<Long> doomed;
    struct Frame {
      Long id;
      int nextChild;
    };
    std::vector<Frame> stack{{*top, index.FirstChildOf(*top)}};
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const int child = frame.nextChild;
      if (child == ChildIndex::kNone) {
        doomed.push_back(frame.id);
        stack.pop_back();
        continue;
      }
      frame.nextChild = index.NextSibling(child);
      if (seen[static_cast<std::size_t>(child)]) continue;
      seen[static_cast<std::size_t>(child)] = 1;
      const Long id = index.NodeAt(child).ID();
      stack.push_back({id, index.FirstChildOf(id)});
    }
    for (Long id : doomed) nodes_.Remove(id);
    oWebs.RemoveParagraphsOf(std::unordered_set<Long>(doomed.begin(), doomed.end()));
  }
  oWebs.DispInGrid(NumberValue(dKey));
}

bool clsNavSchemes::Renumber() {
  if (nodes_.Empty()) return false;
  const ChildIndex index(nodes_);
  std::vector<char> reached(static_cast<std::size_t>(index.Size()), 0);
  counter_ = 0;
  for (const TreeStep& step : PreOrder(index)) {
    step.node->tParentIs = step.parent == nullptr ? 0 : step.parent->tID;
    step.node->tID = ++counter_;
    reached[static_cast<std::size_t>(step.ordinal)] = 1;
  }
  // Nodes the walk cannot reach (a second root, a dangling parent, a cycle) follow the tree in
  // collection order, so every node gets a number of its own.
  std::vector<clsNavScheme*> unreached;
  for (int i = 0; i < index.Size(); ++i) {
    if (reached[static_cast<std::size_t>(i)]) continue;
    index.NodeAt(i).tID = ++counter_;
    unreached.push_back(&index.NodeAt(i));
  }
  if (!unreached.empty()) {
    NumberIndex newNumberOf;
    newNumberOf.Reserve(nodes_.Count());
    for (const Node& node : nodes_) newNumberOf.Insert(node->ID(), node->tID);
    for (clsNavScheme* node : unreached) {
      const std::int32_t parent = newNumberOf.Find(node->parentIs);
      if (node->parentIs == 0) {
        node->tParentIs = 0;
      } else if (parent != NumberIndex::kAbsent) {
        node->tParentIs = static_cast<Long>(parent);
      } else if (node->parentIs >= 1 && node->parentIs <= counter_) {
        // A dangling reference must not come to name a renumbered node.
        node->tParentIs = -node->parentIs;
      } else {
        node->tParentIs = node->parentIs;
      }
    }
  }
  for (const Node& node : nodes_) {
    const Long previous = node->ID();
    node->ID(node->tID);
    node->tID = previous;
    node->parentIs = node->tParentIs;
  }
  nodes_.Rekey([](const clsNavScheme& node) { return node.ID(); });
  oWebs.Renumber(*this);
  DispInTV();
  oWebs.DispInGrid(0);
  return true;
}

clsNavSchemes::Node clsNavSchemes::CloneNav(std::string_view skey) const {
  auto copy = std::make_shared<clsNavScheme>();
  if (const Node source = Item(skey)) {
    // The query is copied before the type, so it survives the copy and is emptied afterwards only
    // for an F or N node.
    copy->ID(source->ID());
    copy->descriptionIs = source->descriptionIs;
    copy->iconIs = source->iconIs;
    copy->parentIs = source->parentIs;
    copy->parmIs(source->parmIs());
    copy->queryIs(source->queryIs());
    copy->roleIs = source->roleIs;
    copy->typeIs(source->typeIs());
  }
  return copy;
}

bool clsNavSchemes::FuseNav(const Node& oFuse) {
  if (!oFuse) return false;
  if (const Node parent = Item(oFuse->parentIs)) {
    const NodeTypeRule* parentRule = NodeTypeRuleOf(parent->typeIs());
    if (parentRule && parentRule->maxChildren == 0) {
      Inform(kParentMessage);
      return false;
    }
  }
  if (const NodeTypeRule* rule = NodeTypeRuleOf(oFuse->typeIs())) {
    if (HasTooManyChildren(*rule, GetChildren(*oFuse))) {
      Inform(TooManyChildrenMessage(rule->type));
      return false;
    }
    if (rule->runsQuery && oFuse->queryIs().empty()) {
      Inform(kNoQueryMessage);
      return false;
    }
  }

  Node existing;
  for (const Node& node : nodes_) {
    if (node->ID() == oFuse->ID()) {
      existing = node;
      break;
    }
  }
  if (!existing) {
    Add(oFuse);
    return true;
  }
  if (const Node filed = Item(oFuse->ID())) existing = filed;
  // Type before query and parameter, so an F or N node ends without them.
  existing->ID(oFuse->ID());
  existing->descriptionIs = oFuse->descriptionIs;
  existing->typeIs(oFuse->typeIs());
  existing->iconIs = oFuse->iconIs;
  existing->parentIs = oFuse->parentIs;
  existing->parmIs(oFuse->parmIs());
  existing->queryIs(oFuse->queryIs());
  existing->roleIs = oFuse->roleIs;
  return true;
}

bool clsNavSchemes::FuseWeb(const std::shared_ptr<clsWebScheme>& oFuse) {
  if (!oFuse) return false;
  std::shared_ptr<clsWebScheme> existing;
  for (const auto& paragraph : oWebs) {
    if (paragraph->ID() == oFuse->ID()) {
      existing = paragraph;
      break;
    }
  }
  if (oFuse->queryIs.empty()) {
    Inform(kBlankParagraphQueryMessage);
    return false;
  }
  const std::string& type = oFuse->typeIs;
  if (IsParagraphType(type, ParagraphType::Chart) ||
      IsParagraphType(type, ParagraphType::ShowTable) ||
      IsParagraphType(type, ParagraphType::Thumbnails)) {
    oFuse->formIs = 0;
  } else if (IsParagraphType(type, ParagraphType::Header) ||
             IsParagraphType(type, ParagraphType::ImageHeader)) {
    oFuse->colsAre.clear();
  } else if (IsParagraphType(type, ParagraphType::ExecuteOnly) ||
             IsParagraphType(type, ParagraphType::MultiChapter)) {
    oFuse->formIs = 0;
    oFuse->colsAre.clear();
  }
  if (!existing) {
    oWebs.Add(oFuse);
    return true;
  }
  if (const auto filed = oWebs.Item(oFuse->ID())) existing = filed;
  clsWebScheme& target = *existing;
  target.ID(oFuse->ID());
  target.XST1 = oFuse->XST1;
  target.seqNo = oFuse->seqNo;
  target.titleIs = oFuse->titleIs;
  target.queryIs = oFuse->queryIs;
  target.parmIs = oFuse->parmIs;
  target.typeIs = oFuse->typeIs;
  target.formIs = oFuse->formIs;
  target.colsAre = oFuse->colsAre;
  return true;
}

}  // namespace kivwz
