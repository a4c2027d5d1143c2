#pragma once
// clsWebScheme: one paragraph of the web display scheme, the future XST2 row. All fields are
// plain; tXST1 and status are working fields of the paragraph renumbering and are never saved.

#include <string>

#include "wizard/model/numbers.h"

namespace kivwz {

class clsWebScheme {
 public:
  Long XST1 = 0;        // ID of the node whose report page shows the paragraph
  Long seqNo = 0;       // position within the page
  std::string titleIs;  // paragraph title
  std::string queryIs;  // query or stored procedure with any constant parameters
  std::string parmIs;   // parameter kind
  std::string typeIs;   // "C", "H", "E", "M", "I", "S" or "T"
  Long formIs = 0;      // form number of record links; 0 for none
  std::string colsAre;  // column specification
  std::string extra;    // reserved; carried through load and save unchanged
  Long tXST1 = 0;       // node number found by the last renumbering that found one
  std::string status;   // "O" orphan, "C" attached, "" before any renumbering

  Long ID() const { return id_; }
  void ID(Long value) { id_ = value; }

 private:
  Long id_ = 0;
};

}  // namespace kivwz
