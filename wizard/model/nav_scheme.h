#pragma once
// clsNavScheme: one node of the navigation scheme, the future XST1 row. Its setters keep one
// invariant: a Fixed ("F") or Non-Generating ("N") node holds no query and no parameter.

#include <string>

#include "wizard/model/numbers.h"

namespace kivwz {

class clsNavScheme {
 public:
  std::string descriptionIs;  // caption of the node in the tree
  Long parentIs = 0;          // ID of the parent node; 0 for the root
  std::string iconIs;         // image key of the node
  std::string roleIs;         // roles allowed to open the node, "1:3"
  Long tID = 0;               // Renumber's working number (see clsNavSchemes::Renumber)
  Long tParentIs = 0;         // Renumber's new parent number

  Long ID() const { return id_; }
  void ID(Long value) { id_ = value; }

  // Setting "F" or "N" (exact capitals) empties the query and the parameter.
  const std::string& typeIs() const { return typeIs_; }
  void typeIs(std::string value);

  // Stored only while the type is neither "F" nor "N"; otherwise the field becomes "". So the
  // order of assignment matters on a fresh record: a query set before its type survives until the
  // type is set.
  const std::string& queryIs() const { return queryIs_; }
  void queryIs(std::string value);
  const std::string& parmIs() const { return parmIs_; }
  void parmIs(std::string value);

 private:
  bool HoldsNoQuery() const;

  Long id_ = 0;
  std::string typeIs_;
  std::string queryIs_;
  std::string parmIs_;
};

}  // namespace kivwz
