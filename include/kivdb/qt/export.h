#pragma once

// Marks the types and functions that hosts of the shared library KivDB_Qt may use; everything
// else stays hidden.
#define KIVDB_QT_EXPORT __attribute__((visibility("default")))
