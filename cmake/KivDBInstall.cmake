# Installing KivDB, in this file alone: the shared libraries KivDB_D and (with Qt) KivDB_Qt and
# their public headers, the programs, the demo files, the manual pages, and the package
# configuration for find_package(KivDB) and pkg-config. The Debian packages (`make package`,
# debian/) are made from this installation. Included at the end of the top-level CMakeLists.txt,
# when every target is known. The programs find the libraries from any prefix (their
# INSTALL_RPATH, KIVDB_PROGRAM_RPATH).

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KIVDB_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KivDB)

install(TARGETS KivDB_D EXPORT KivDBTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

# The Qt adapters, beside KivDB_D in an export set of their own: a host that installed KivDB_D
# alone finds the package without the Qt adapters, and without Qt.
if(KIVDB_BUILD_QT)
  install(TARGETS KivDB_Qt EXPORT KivDBQtTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
endif()

# The public headers; the Qt adapters' own (include/kivdb/qt) only with the library they belong to.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kivdb
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
  FILES_MATCHING PATTERN "*.h" PATTERN "qt" EXCLUDE)
if(KIVDB_BUILD_QT)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kivdb/qt
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivdb COMPONENT Development
    FILES_MATCHING PATTERN "*.h")
endif()
install(FILES ${PROJECT_BINARY_DIR}/include/kivdb/version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivdb COMPONENT Development)

set(KIVDB_PROGRAMS kivdb KivWZ)
if(KIVDB_BUILD_QT)
  list(APPEND KIVDB_PROGRAMS KivDBDemo)
endif()
install(TARGETS ${KIVDB_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

# The manual pages: kivdb(1) and one page per kivdb command, and those of the desktop programs
# built.
file(GLOB KIVDB_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/kivdb*.1)
list(APPEND KIVDB_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/KivWZ.1)
if(KIVDB_BUILD_QT)
  list(APPEND KIVDB_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/KivDBDemo.1)
endif()
install(FILES ${KIVDB_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)

# The demo: the Kestrel Trading database, the pictures its pages show, its two scheme files and
# the script it is built from (KivDBDemo looks for them there when installed).
set(KIVDB_DEMO_DIR ${CMAKE_INSTALL_DATADIR}/kivdb/demo)
install(FILES ${KIVDB_DEMO_DATABASE} ${PROJECT_SOURCE_DIR}/demo/kestrel.sql
  DESTINATION ${KIVDB_DEMO_DIR} COMPONENT Runtime)
install(DIRECTORY ${KIVDB_DEMO_SITE}/ DESTINATION ${KIVDB_DEMO_DIR}/site COMPONENT Runtime)
install(DIRECTORY ${KIVDB_DEMO_SCHEMES}/ DESTINATION ${KIVDB_DEMO_DIR}/schemes COMPONENT Runtime)

# The page templates `kivdb schemes push` gives a database without XST3: the neutral starter,
# the demo's, and the standard page head both use.
install(FILES ${PROJECT_SOURCE_DIR}/share/templates/starter/front_page.html
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kivdb/templates/starter COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/demo/template/front_page.html
  ${PROJECT_SOURCE_DIR}/demo/template/page_head.html
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kivdb/templates/demo COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/demo/template/page_head.html
  DESTINATION ${CMAKE_INSTALL_DATADIR}/kivdb/templates COMPONENT Runtime)

install(EXPORT KivDBTargets NAMESPACE KivDB:: DESTINATION ${KIVDB_CMAKE_DIR}
  COMPONENT Development)
if(KIVDB_BUILD_QT)
  install(EXPORT KivDBQtTargets NAMESPACE KivDB:: DESTINATION ${KIVDB_CMAKE_DIR}
    COMPONENT Development)
endif()
# The configuration loads the Qt adapters' targets only when their library is installed too.
set(KIVDB_QT_LIBRARY ${CMAKE_INSTALL_LIBDIR}/${CMAKE_SHARED_LIBRARY_PREFIX}KivDB_Qt${CMAKE_SHARED_LIBRARY_SUFFIX}.${PROJECT_VERSION_MAJOR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KivDBConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KivDBConfig.cmake INSTALL_DESTINATION ${KIVDB_CMAKE_DIR}
  PATH_VARS KIVDB_QT_LIBRARY)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KivDBConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KivDBConfig.cmake ${PROJECT_BINARY_DIR}/KivDBConfigVersion.cmake
  DESTINATION ${KIVDB_CMAKE_DIR} COMPONENT Development)

# kivdb.pc finds the prefix from its own place, so the installed tree may move.
file(RELATIVE_PATH KIVDB_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kivdb.pc.in ${PROJECT_BINARY_DIR}/kivdb.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kivdb.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT Development)
