# Installing KivDB for hosts: the shared library KivDB_D and its public headers, the programs, the
# demo files, the manual pages, and the package configuration for find_package(KivDB) and
# pkg-config. The Debian packages (`make package`, debian/) are made from this installation.
# Included at the end of the top-level CMakeLists.txt, when every target is known.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KIVDB_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KivDB)

install(TARGETS KivDB_D EXPORT KivDBTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

# The public headers; the Qt adapters' own (include/kivdb/qt) only with the library they belong to.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kivdb
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
  FILES_MATCHING PATTERN "*.h" PATTERN "qt" EXCLUDE)
if(TARGET KivDB_Qt AND EXISTS ${PROJECT_SOURCE_DIR}/include/kivdb/qt)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kivdb/qt
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivdb COMPONENT Development
    FILES_MATCHING PATTERN "*.h")
endif()
install(FILES ${PROJECT_BINARY_DIR}/include/kivdb/version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivdb COMPONENT Development)

foreach(program kivdb KivWZ)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
  endif()
endforeach()

# The manual pages: kivdb(1) and one page per kivdb command, and those of the desktop programs
# built.
file(GLOB KIVDB_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/kivdb*.1)
foreach(program KivWZ KivDBDemo)
  if(TARGET ${program})
    list(APPEND KIVDB_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/${program}.1)
  endif()
endforeach()
install(FILES ${KIVDB_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)

# The demo: the Kestrel Trading database, the pictures its pages show, its two scheme files and
# the script it is built from.
if(TARGET demo_database)
  set(KIVDB_DEMO_DIR ${CMAKE_INSTALL_DATADIR}/kivdb/demo)
  install(FILES ${KIVDB_DEMO_DATABASE} ${PROJECT_SOURCE_DIR}/demo/kestrel.sql
    DESTINATION ${KIVDB_DEMO_DIR} COMPONENT Runtime)
  install(DIRECTORY ${KIVDB_DEMO_SITE}/ DESTINATION ${KIVDB_DEMO_DIR}/site COMPONENT Runtime)
  install(DIRECTORY ${KIVDB_DEMO_SCHEMES}/ DESTINATION ${KIVDB_DEMO_DIR}/schemes
    COMPONENT Runtime)
endif()

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
if(TARGET KivDB_Qt)
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
