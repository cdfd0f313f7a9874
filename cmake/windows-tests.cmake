# The cross build's tests: the unit and wizard suites as Windows programs, run under Wine.
# Included from CMakeLists.txt on WIN32 only.

enable_testing()

# Built on Windows itself (a developer with Qt and CMake there): the suites need that
# machine's GoogleTest and run natively; nothing of Wine applies.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    message(STATUS "No GoogleTest found: the unit and wizard suites are not built")
    return()
  endif()
  foreach(label unit wizard)
    vq_add_suite(${label})
    add_test(NAME ${label} COMMAND ${label}_tests)
  endforeach()
  return()
endif()

# Debian's googletest package is the sources only, so the suites' GoogleTest is built here with
# the cross compiler. Our -Wall -Wextra -Wpedantic -Werror are for our code, not for it.
set(VQ_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources (package googletest)")
if(NOT EXISTS ${VQ_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${VQ_GOOGLETEST_SOURCE_DIR}: scripts/deps.sh --windows")
endif()
set(BUILD_GMOCK ON)
set(INSTALL_GTEST OFF)
get_directory_property(vq_compile_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${VQ_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${vq_compile_options}")
foreach(lib gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()

# Every test program starts through Wine, in a prefix of this build tree's own: the suites'
# update record and journal land in its %LOCALAPPDATA%, never in a user's ~/.wine. Set before
# the test programs exist, as a target takes the emulator when it is made.
set(VQ_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(VQ_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VQ_WINE_RUN} --prefix ${VQ_WINEPREFIX})

# Making the prefix takes 10 to 20 s; done once, before the first suite, not by two at once.
add_test(NAME wine.prefix COMMAND ${VQ_WINE_RUN} --prefix ${VQ_WINEPREFIX} --init)
set_tests_properties(wine.prefix PROPERTIES LABELS wine TIMEOUT 300 FIXTURES_SETUP wineprefix)

# One CTest test per suite, not one per test case: each Wine start costs about a second.
foreach(label unit wizard)
  vq_add_suite(${label})
  add_test(NAME wine.${label} COMMAND ${label}_tests)
  set_tests_properties(wine.${label} PROPERTIES LABELS wine TIMEOUT 900 FIXTURES_REQUIRED wineprefix)
endforeach()

# The other program of the Wine end-to-end test's busy-port row (tests/wine/, run from the
# Linux build against vq-sim): it holds a COM port as vq-update-cli.exe would.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/wine/port_holder.cpp)
  add_executable(port_holder tests/wine/port_holder.cpp)
  target_link_libraries(port_holder PRIVATE vqnative)
endif()

# The operator of the window's Wine tests (tests/wine/wine_window_e2e_test.cpp, run from the
# Linux build): finds vq-update.exe's windows by their texts, reads them and clicks.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/wine/window_operator.cpp)
  add_executable(window_operator tests/wine/window_operator.cpp)
  target_link_libraries(window_operator PRIVATE comctl32)
endif()

# The window's own suite (tests/win32ui): its loop inside the system's modal loops. It shows
# boxes, so it needs a display: run by the Wine window test (tests/wine/) under Xvfb, not here.
if(TARGET vqwin32ui)
  vq_glob(WIN32UI_TEST_SOURCES tests/win32ui)
  add_executable(win32ui_tests ${WIN32UI_TEST_SOURCES})
  target_link_libraries(win32ui_tests PRIVATE vqwin32ui GTest::gtest_main)
endif()
