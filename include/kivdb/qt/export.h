#pragma once

// Marks the types and functions that hosts of the shared library KivDB_Qt may use; everything
// else stays hidden. KIVDB_QT_NO_EXPORT keeps a member type of an exported class (its Impl) out
// of the exports.
#define KIVDB_QT_EXPORT __attribute__((visibility("default")))
#define KIVDB_QT_NO_EXPORT __attribute__((visibility("hidden")))
