// Drawing of the XST2 grid.

#include "wizard/model/nav_schemes.h"
#include "wizard/model/view_style.h"
#include "wizard/model/web_schemes.h"

namespace kivwz {

void clsWebSchemes::SetGrid(Grid* oGrid, long left, long top, long width, long height) {
  mGrid_ = oGrid;
  if (mGrid_ != nullptr) mGrid_->Place(left, top, width, height);
}

void clsWebSchemes::ResetGrid() {
  mGrid_->Reset(kWebGridFormat);
  mGrid_->SetCurrentRow(0);
}

void clsWebSchemes::AddGridRow(const clsWebScheme& paragraph) {
  mGrid_->AddRow({KeyOf(paragraph.ID()), KeyOf(paragraph.XST1), KeyOf(paragraph.seqNo),
                  paragraph.titleIs, paragraph.queryIs, paragraph.parmIs, paragraph.typeIs,
                  KeyOf(paragraph.formIs), paragraph.colsAre});
}

void clsWebSchemes::DispInGrid(Long pXST1) {
  if (mGrid_ == nullptr) return;
  ResetGrid();
  for (const Paragraph& paragraph : paragraphs_) {
    if (pXST1 == 0 || paragraph->XST1 == pXST1) AddGridRow(*paragraph);
  }
}

void clsWebSchemes::DispOrphans(clsNavSchemes& oNC) {
  Renumber(oNC);
  if (mGrid_ == nullptr) return;
  ResetGrid();
  for (const Paragraph& paragraph : paragraphs_) {
    if (paragraph->status == "O") AddGridRow(*paragraph);
  }
}

}  // namespace kivwz
