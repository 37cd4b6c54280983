# GoogleTest for the Windows side, built from the sources of Debian's googletest package, so
# that the suites' `find_package(GTest)` and `GTest::gtest_main` work as on Linux.
set(QUILLON_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian's googletest package)")
if(NOT EXISTS ${QUILLON_GOOGLETEST_SOURCES}/CMakeLists.txt)
  message(FATAL_ERROR "${QUILLON_GOOGLETEST_SOURCES} is missing: install Debian's googletest package (script/bootstrap does)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILLON_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
