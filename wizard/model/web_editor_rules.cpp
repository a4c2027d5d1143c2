#include "wizard/model/web_editor_rules.h"

#include "wizard/model/numbers.h"

namespace kivwz {
namespace {

constexpr std::string_view kChartHelp =
    "(C)-Displays a pure-HTML bar chart, given the columns as X:Y, where X=Column No for X-Axis "
    "and Y=Col. No for Y-Axis. For Example '1:5'; Col-1 will be X-Axis and Col-5 will be "
    "Y-Axis.";
constexpr std::string_view kHeaderHelp =
    "(H)-Header, Displaying Header Information. You can also specify the Form# with this type.";
constexpr std::string_view kExecuteHelp =
    "(E)-It is sometimes required to execute an Action Query or Non-Row-Returning Stored "
    "Procedure. This type will do that !!";
constexpr std::string_view kMultiChapterHelp =
    "(M)-Displays a Shaped Recordset. Since Shaped Recordset cannot be returned by a Stored "
    "Procedure, Please see how it has been implemented in Demo Application.";
constexpr std::string_view kImageHeaderHelp =
    "(I)-Displays the Header Information alongwith the Image, which is stored as BLOB (Binary "
    "Large Object) data-type. This should have one field prefixed with 'IMG' (i.e. IMGEmployee, "
    "or IMG_Product) and should be of BLOB type. You can also specify the Form# with this type.";
constexpr std::string_view kShowTableHelp =
    "(S)-Show Table Type, which will display a tabular data and will also sum the columns.";
constexpr std::string_view kThumbnailHelp =
    "(T)-Thumbnail of Images. Please note this type displays images that are not stored in "
    "database as BLOB type. The database, however, stores the file path of the images. The "
    "Field name that returns the full-path of images should be prefixed as 'FILE', for example "
    "FILEStudents or FILE_Products.";

constexpr std::string_view kSeqNoHelp =
    "Please give the Sequence No. for this Paragraph to be displayed in the Web-Report.";
constexpr std::string_view kTitleHelp =
    "Please Enter the Title of the Paragraph. If Suffixed by (colon :), then whatever is the Text "
    "of currently selected Node in Treeview will be suffixed to this Title.  For Example, if the "
    "title is 'Order Pattern for : ', and the Text of the Node in Treeview is 'Customers', then "
    "the paragraph will be titled as 'Order Pattern for : Customers'";
constexpr std::string_view kQueryHelp =
    "Specify the name of Query/Stored Procedure. This should be a multi-field query and should "
    "have first field named 'ID'. Also, if this query has any CONSTANT parameter(s), it should "
    "be specified here. For example, if 'spW_Employees' lists all employees below a boss "
    "(Parameter=Integer=Boss's ID), then specifying 'spW_Employees 0' will display the CHIEF "
    "(the person who has no Boss and he is the ultimate Boss!). As a matter of Conventions, this "
    "query should be prefixed with 'spW_', which means that it is a Web-Page Query. ";
constexpr std::string_view kKeyLengthHelp =
    "Please enter numeric value -- The length of Character Key.";
constexpr std::string_view kTypeHelp =
    "<<CHEMIST -- An Aid to Remembering.>> Select the type of Paragraph. The types are: "
    "(C)-Displays a pure-HTML bar chart, (H)-Header, (E)-Execute Action Query, (M)-Displays a "
    "Multi-Chapter (Shaped) Recordset, (I)-Image Header, (S)-Show Table Type, and (T)-Thumbnail "
    "of Images.";
constexpr std::string_view kFormHelp =
    "Enter a Form Number (1, 2, 3 ..). Specifying this will place a hyperlink on the Web-Page "
    "Report, which when clicked will fire an event, which can be coded to open a Data Entry "
    "Form. This number will specify which form to open. You can specify as 1 for Customers, 2 "
    "for Products, 3 for Employee, etc.";
constexpr std::string_view kColsHelp =
    "This is a multi-purpose field. Columns can be Specified as 'All' or '1:3:6'. Column Nos "
    "start with First (ID) field counted as ZERO. When used with Type-S, the columns specified "
    "will be summed-up. (For example: '1:5:6:7' will sum-up column nos. 1, 5, 6 and 7. "
    "Specifying 'All' will sum-up all columns starting with 1st. This is useful when a cross-Tab "
    "Query is to be summed-up and we do not beforehand the count of columns!. Please ensure that "
    "they are Numeric!. For Type-C, columns can be specified as '3:4', 3rd col will be X-Axis "
    "and 4th, Y-Axis. 'All' will generate charts will all combination of Columns with 1st "
    "columns. i.e. '1:2', '1:3', '1:4', etc.  For Type-T, this field should be used to specify "
    "the Thumbnail parameters as XML fragment.  For example: '<height>150</height> "
    "<width>150</width> <columns>3</columns> <textposition>bottom</textposition>'. "
    "<textposition> can be 'botton' or 'right' only!";

}  // namespace

const std::vector<std::string>& WebTypeEntries() {
  static const std::vector<std::string> entries = {
      "C - Chart (Bar)",  "H - Header",     "E - Execute Only",     "M - Multi-Chapter (Shaped)",
      "I - Image Header", "S - Show Table", "T - Thumbnail Images",
  };
  return entries;
}

std::optional<std::size_t> WebTypeEntryOf(std::string_view typeIs) {
  if (typeIs.size() != 1) return std::nullopt;
  const auto& entries = WebTypeEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i][0] == typeIs[0]) return i;
  }
  return std::nullopt;
}

WebTypeReaction ReactToWebType(char letter) {
  switch (letter) {
    case 'C':
      return {true, false, kChartHelp};
    case 'H':
      return {false, true, kHeaderHelp};
    case 'E':
      return {false, false, kExecuteHelp};
    case 'M':
      return {false, false, kMultiChapterHelp};
    case 'I':
      return {false, true, kImageHeaderHelp};
    case 'S':
      return {true, false, kShowTableHelp};
    case 'T':
      return {true, false, kThumbnailHelp};
    default:
      return {};
  }
}

std::string_view WebFieldHelp(WebField field) {
  switch (field) {
    case WebField::SeqNo:
      return kSeqNoHelp;
    case WebField::Title:
      return kTitleHelp;
    case WebField::Query:
      return kQueryHelp;
    case WebField::Parm:
      return kParmListHelp;
    case WebField::KeyLength:
      return kKeyLengthHelp;
    case WebField::Type:
      return kTypeHelp;
    case WebField::Form:
      return kFormHelp;
    case WebField::Cols:
      return kColsHelp;
  }
  return {};
}

bool IsChanged(const WebFields& fields, const clsWebScheme& paragraph) {
  const std::optional<Long> seqNo = WholeNumber(fields.seqNo);
  const std::optional<Long> form = WholeNumber(fields.form);
  if (!seqNo || !form) return true;
  return fields.id != KeyOf(paragraph.ID()) || *seqNo != paragraph.seqNo ||
         fields.title != paragraph.titleIs || fields.query != paragraph.queryIs ||
         fields.parm != paragraph.parmIs || fields.typeLetter != paragraph.typeIs ||
         *form != paragraph.formIs || fields.cols != paragraph.colsAre;
}

bool StoreFields(const WebFields& fields, clsWebScheme& paragraph) {
  const std::optional<Long> seqNo = WholeNumber(fields.seqNo);
  const std::optional<Long> form = WholeNumber(fields.form);
  if (!seqNo || !form) return false;
  paragraph.ID(NumberValue(fields.id));
  paragraph.seqNo = *seqNo;
  paragraph.titleIs = fields.title;
  paragraph.queryIs = fields.query;
  paragraph.parmIs = fields.parm;
  paragraph.typeIs = fields.typeLetter;
  paragraph.formIs = *form;
  paragraph.colsAre = fields.cols;
  return true;
}

}  // namespace kivwz
