#pragma once
// The wizard's File menu items that work on a database: Open from Database..., Publish to
// Database... and Check against Database.... Each asks for a connection (through `ask`, the
// connection dialog on the desktop), then reads the design from XST1 and XST2, publishes it there,
// or checks it against the queries it names, showing findings in the output window. Qt-free: the
// menu only forwards to it.

#include <functional>
#include <optional>
#include <string>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/wizard_commands.h"

namespace kivwz {

// `connection` without its password (Pwd= or Password=, any case): what may be remembered.
std::string WithoutPassword(const std::string& connection);

class DatabaseCommands {
 public:
  // Asks for a connection string under a title; nothing when the user cancels.
  using AskConnection = std::function<std::optional<std::string>(const std::string& title)>;

  DatabaseCommands(clsNavSchemes& navs, MessageBoxes& messages, WizardWindows& windows,
                   AskConnection ask)
      : navs_(navs), messages_(messages), windows_(windows), ask_(std::move(ask)) {}

  void OpenFromDatabase();
  void PublishToDatabase();
  void CheckAgainstDatabase();

  void SetAsk(AskConnection ask) { ask_ = std::move(ask); }

 private:
  clsNavSchemes& navs_;
  MessageBoxes& messages_;
  WizardWindows& windows_;
  AskConnection ask_;
};

}  // namespace kivwz
