#pragma once

// Marks the types and functions that hosts of the shared library KivDB_D may use; everything else
// stays hidden. Three modes, as a host or the library's own build selects them:
//   - building KivDB_D (KIVDB_BUILDING_LIBRARY, set by the library's build): exported;
//   - using the shared library (the default): imported;
//   - building or using a static KivDB (KIVDB_STATIC_DEFINE): plain declarations.
// On ELF platforms exported and imported symbols carry the same default visibility.
// KIVDB_NO_EXPORT keeps a member type of an exported class (its Impl) out of the exports.
#if defined(KIVDB_STATIC_DEFINE)
#define KIVDB_EXPORT
#define KIVDB_NO_EXPORT
#elif defined(_WIN32)
#if defined(KIVDB_BUILDING_LIBRARY)
#define KIVDB_EXPORT __declspec(dllexport)
#else
#define KIVDB_EXPORT __declspec(dllimport)
#endif
#define KIVDB_NO_EXPORT
#else
#define KIVDB_EXPORT __attribute__((visibility("default")))
#define KIVDB_NO_EXPORT __attribute__((visibility("hidden")))
#endif
