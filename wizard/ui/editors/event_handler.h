#pragma once
// clsEventHandler: the key scheme of the wizard's editor windows. Bound to a window, it centres
// the window, sees every key of the window before its fields do, and turns released function
// keys, Esc and Enter into named events (see wizard/model/editor_keys.h for the table, F9 and
// F11 included). A key it handles is consumed, on press and on release, so no field acts on it;
// only a key pressed in the window raises its event, so the release of the key that closed a
// message box over the window does nothing.

#include <QObject>
#include <QPointer>
#include <cstdint>

class QWidget;

namespace kivwz {

class clsEventHandler : public QObject {
  Q_OBJECT

 public:
  explicit clsEventHandler(QObject* parent = nullptr) : QObject(parent) {}

  // Binds the handler to the window and centres the window on its screen.
  void SetForm(QWidget* window);
  QWidget* Form() const { return mForm_; }
  // Raises the event of the key; a handled key comes back as 0. The shift state is not looked at.
  std::int16_t Processkey(std::int16_t keyCode, std::int16_t shift);

  // The key code the table uses for a Qt key, 0 for keys outside it.
  static std::int16_t KeyCodeOf(int qtKey);

 signals:
  void eHelp();
  void eNew();
  void eSave();
  void eMarks();
  void ePrint();
  void eSearch();
  void eSelect();
  void eParentDelete();
  void eUndeleteParent();
  void eOpenSpecificForm(QWidget* activeControl);
  void eNextDetail();
  void eCloseForm();
  void eEnter(QWidget* activeControl);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> mForm_;
  std::int16_t pressed_ = 0;  // the handled key last pressed in the window, until released
};

// Places the window in the middle of its screen.
void CentreOnScreen(QWidget* window);

}  // namespace kivwz
