#pragma once
// What both editor windows do with their fields: background colours, Enter's move to the next
// field, labelled help, and reading a field as text.

#include <QColor>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace kivwz {

// The background of the field Enter has just moved to.
inline const QColor kEnteredFieldColour{192, 192, 255};

// The normal background of text fields and lists, and the tooltip background that marks the
// key-length field while it is in use.
QColor NormalFieldBackground();
QColor TooltipBackground();
void SetFieldBackground(QWidget* field, const QColor& colour);
QColor FieldBackground(const QWidget* field);
// Not-editable fields show the window's colour, so they do not look like fields to type in.
void MarkReadOnly(QWidget* field);

// Enter in an editor: the field that had the focus gets the normal background again, the focus
// moves on as Tab moves it (disabled and not-editable fields are skipped), and the field that then
// has the focus is coloured. Returns that field.
QWidget* MoveToNextField(QWidget* from);

// A line edit with the object name the field is known by.
QLineEdit* NamedLineEdit(QWidget* parent, const char* name);
// The help area (lblDesc): shows "--" until a field sets it.
QLabel* HelpArea(QWidget* parent, int minimumHeight);
// Makes the help area tall enough for the longest of the texts it may show at this width, so
// that no help is cut off in the window's first size.
void FitHelpArea(QLabel* area, int width, const std::vector<std::string_view>& texts);
// Gives the window this width and the height its layout needs at that width, no more.
void ResizeToWidth(QWidget* window, int width);
// The help texts of the parameter kinds, which both editors show.
std::vector<std::string_view> ParameterHelpTexts();

QString ToQt(std::string_view text);
std::string Text(const QLineEdit* field);
// The first letter of the chosen entry, "" when none is chosen.
std::string ChosenLetter(const QListWidget* list);

}  // namespace kivwz
