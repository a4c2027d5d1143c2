#include "wizard/ui/editors/intro_window.h"

#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <memory>

#include "wizard/ui/editors/event_handler.h"
#include "wizard/ui/editors/intro_picture.h"
#include "wizard/ui/editors/output_window.h"

namespace kivwz {
namespace {

// The text area's width at first; its height follows from the text.
constexpr int kTextWidth = 600;
// What the window's frame and the desktop's panels may take from the screen's height.
constexpr int kScreenReserve = 80;

// The height the text area needs to show its whole text at this width, with the vertical scroll
// bar it always has.
int HeightForWidth(QTextEdit* area, int width) {
  area->ensurePolished();
  const int frame = 2 * area->frameWidth();
  const int viewport = width - frame - area->verticalScrollBar()->sizeHint().width();
  // Measured on a copy: the area's own document follows the area's present width.
  const std::unique_ptr<QTextDocument> document(area->document()->clone());
  document->setTextWidth(viewport);
  return static_cast<int>(std::ceil(document->size().height())) + frame;
}

}  // namespace

const std::string& fIntro::IntroText() {
  static const std::string text =
      "The purpose of using this wizard is to generate Navigational Scheme and Web-Page Display "
      "Scheme. These correspond to Tables XST1 and XST2 in the database. \r\n"
      "\r\n"
      "The Essential Objects that are required in the database for KivDB to function are:\r\n"
      "\r\n"
      "=> Table XST1 (Navigation Scheme)\r\n"
      "=> Table XST2 (Display Scheme)\r\n"
      "=> Table XST3 (Web Style Scheme), which can be imported, as is, from Demo-Database.\r\n"
      "=> User Specified Queries / Stored Procedures -- (The spG_'s and spW_'s).\r\n"
      "\r\n"
      "Everything that is required to Run the Reporting System is contained in the Database. All "
      "Data (Base Queries, spG_xxxx, spW_xxxx) and Meta-Data (XST1, XST2, and XST3) are contained "
      "in Database.\r\n"
      "\r\n"
      "There are some very simple Rules for designing the Navigational and Display Schemes. This "
      "Wizard helps to implement all the 'Rules'. Provided with this Wizard are two Text Files: "
      "XST1.txt and XST2.txt which can be Loaded into the Wizard to get familiar with the "
      "workings of the Wizard. There are Menu-Options to Analyse your designed system against "
      "the 'Rules' and the 'Things-To-Do' after designing the reporting system. Field-Level Help "
      "is provided as far as possible. You can also refer the Tutorial for further help. You may "
      "also study the Demo-Application, which explains the intricacies of KivDB.\r\n"
      "\r\n"
      "Use this Wizard to generate two Text Files (.txt), which is then to be imported into the "
      "database as Tables - XST1 and XST2, keeping ID field as the 'Primary Key'.\r\n";
  return text;
}

fIntro::fIntro(QWidget* parent)
    : QDialog(parent), text_(new QTextEdit(this)), oEH_(new clsEventHandler(this)) {
  setWindowTitle(tr("KivDB Wizard Introduction..."));
  setModal(true);
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("picIntro"));
  picture->setPixmap(DrawIntroPicture(QSize(300, 260)));
  picture->setAlignment(Qt::AlignTop);
  text_->setObjectName(QStringLiteral("txtIntro"));
  text_->setReadOnly(true);
  text_->setAcceptRichText(false);
  text_->setFont(QFont(QStringLiteral("Arial"), 10));
  text_->setLineWrapMode(QTextEdit::WidgetWidth);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_->setPlainText(PlainLines(IntroText()));
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(picture, 0, Qt::AlignTop);
  layout->addWidget(text_, 1);

  // The first size shows the whole text; a smaller screen gets what fits and the scroll bar.
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int room =
      screen ? std::max(kScreenReserve, screen->availableGeometry().height() - kScreenReserve)
             : 10000;
  text_->setMinimumSize(kTextWidth, std::min(HeightForWidth(text_, kTextWidth), room));
  resize(layout->sizeHint());
  text_->setMinimumSize(0, 0);
  oEH_->SetForm(this);
  connect(oEH_, &clsEventHandler::eCloseForm, this, &QWidget::close);
}

}  // namespace kivwz
