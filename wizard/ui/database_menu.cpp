#include "wizard/ui/database_menu.h"

#include <QAction>
#include <QMenu>

#include "wizard/ui/database_commands.h"

namespace kivwz {

void AddDatabaseItems(QMenu& file, DatabaseCommands& commands) {
  const auto add = [&file](const QString& caption, const char* name) {
    QAction* action = file.addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
  };
  DatabaseCommands* target = &commands;
  QObject::connect(add(QObject::tr("Open from &Database..."), "mnuDbOpen"), &QAction::triggered,
                   &file, [target] { target->OpenFromDatabase(); });
  QObject::connect(add(QObject::tr("&Publish to Database..."), "mnuDbPublish"), &QAction::triggered,
                   &file, [target] { target->PublishToDatabase(); });
  QObject::connect(add(QObject::tr("&Check against Database..."), "mnuDbCheck"),
                   &QAction::triggered, &file, [target] { target->CheckAgainstDatabase(); });
}

}  // namespace kivwz
