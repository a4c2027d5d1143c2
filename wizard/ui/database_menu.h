#pragma once
// The File menu's database items: Open from Database..., Publish to Database..., Check against
// Database..., each forwarded to DatabaseCommands.

class QMenu;

namespace kivwz {

class DatabaseCommands;

void AddDatabaseItems(QMenu& file, DatabaseCommands& commands);

}  // namespace kivwz
