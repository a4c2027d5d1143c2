#pragma once
// clsWebSchemes: the web display scheme, the paragraphs of every report page in insertion order,
// each filed under its ID as decimal text. Owned by the navigation scheme as its oWebs. Keeps the
// paragraphs, saves and loads them, carries node renumbering over to them (marking orphans),
// analyses them and draws them into the paragraph grid.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "wizard/model/keyed_collection.h"
#include "wizard/model/numbers.h"
#include "wizard/model/views.h"
#include "wizard/model/web_scheme.h"

namespace kivwz {

class clsNavSchemes;

class clsWebSchemes {
 public:
  using Paragraph = std::shared_ptr<clsWebScheme>;
  using ParagraphList = KeyedCollection<clsWebScheme>;

  clsWebSchemes() = default;
  clsWebSchemes(const clsWebSchemes&) = delete;
  clsWebSchemes& operator=(const clsWebSchemes&) = delete;

  // Files the paragraph itself under its ID after all others; a taken ID adds nothing.
  void Add(Paragraph oWebScheme);
  Paragraph Item(std::string_view vIndex) const { return paragraphs_.Item(vIndex); }
  Paragraph Item(Long vIndex) const { return paragraphs_.Item(vIndex); }
  Long Count() const { return static_cast<Long>(paragraphs_.Count()); }
  void Remove(std::string_view vIndex) { paragraphs_.Remove(vIndex); }
  void Remove(Long vIndex) { paragraphs_.Remove(vIndex); }
  const ParagraphList& NewEnum() const { return paragraphs_; }
  ParagraphList::const_iterator begin() const { return paragraphs_.begin(); }
  ParagraphList::const_iterator end() const { return paragraphs_.end(); }

  // One line per paragraph in collection order; false, writing nothing, for an empty scheme or
  // when the file cannot be written. The previous file is replaced only by a complete new one.
  bool SaveData(const std::string& vFile) const;
  // What SaveData writes; false, leaving `content` alone, for an empty scheme.
  bool FileText(std::string& content) const;
  // Replaces every paragraph with those of the file; false, changing nothing, when it cannot be
  // read. Draws nothing.
  bool LoadData(const std::string& vFile);
  // LoadData on a file's content already read.
  void LoadText(std::string_view content);

  // The highest ID as text, "0" when there is none above 0.
  std::string MaxID() const;
  // The highest seqNo among the paragraphs whose XST1 in decimal is exactly pKey, "0" for none.
  std::string MaxSeqNo(std::string_view pKey) const;

  // Carries the node numbers of oNC over to the paragraphs: a node's previous number is its tID
  // when that is not 0, else its ID. Paragraphs that name no node's previous number are marked
  // "O" and take their last matched number (0 if never matched). Leaves every node's tID = ID.
  void Renumber(clsNavSchemes& oNC);

  void NewScheme() { ClearAll(); }
  void ClearAll() { paragraphs_.Clear(); }
  // Removes the paragraphs of node dKey (XST1 in decimal equal to dKey), then shows that node's
  // paragraphs in the grid.
  void DelTreeNode(std::string_view dKey);
  // Removes the paragraphs of all the given nodes; redraws nothing.
  void RemoveParagraphsOf(const std::unordered_set<Long>& nodes);

  // Binds the paragraph grid (nullptr unbinds) and places it.
  void SetGrid(Grid* oGrid, long left, long top, long width, long height);
  // Shows the paragraphs of node pXST1, or all of them for 0, in collection order.
  void DispInGrid(Long pXST1);
  // Renumbers with the current numbers, then shows only the orphans.
  void DispOrphans(clsNavSchemes& oNC);

  // A detached copy of the paragraph filed under skey (blank when absent); tXST1 and status are
  // not copied.
  Paragraph CloneWeb(std::string_view skey) const;

  // The rules for paragraphs, the observations and the orphans. Renumbers the paragraphs with the
  // current node numbers as a side effect.
  std::string CheckScheme(clsNavSchemes& oNC);
  // The remaining steps and every query still to write.
  std::string WebToDo() const;

 private:
  void ResetGrid();
  void AddGridRow(const clsWebScheme& paragraph);

  ParagraphList paragraphs_;
  Grid* mGrid_ = nullptr;
};

}  // namespace kivwz
