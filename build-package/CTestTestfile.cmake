# CMake generated Testfile for 
# Source directory: /work/main
# Build directory: /work/main/build-package
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
include("/work/main/build-package/unit_tests[1]_include.cmake")
include("/work/main/build-package/wizard_tests[1]_include.cmake")
include("/work/main/build-package/pty_tests[1]_include.cmake")
include("/work/main/build-package/layering_test[1]_include.cmake")
add_test([=[gui.autopilot_test]=] "/work/main/build-package/autopilot_test")
set_tests_properties([=[gui.autopilot_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=240000" LABELS "gui" TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;108;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[gui.main_window_test]=] "/work/main/build-package/main_window_test")
set_tests_properties([=[gui.main_window_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=240000" LABELS "gui" TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;108;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[gui.port_dialog_test]=] "/work/main/build-package/port_dialog_test")
set_tests_properties([=[gui.port_dialog_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=240000" LABELS "gui" TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;108;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[gui.qt_platform_test]=] "/work/main/build-package/qt_platform_test")
set_tests_properties([=[gui.qt_platform_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=240000" LABELS "gui" TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;108;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[e2e.flash_e2e_test]=] "/work/main/build-package/flash_e2e_test")
set_tests_properties([=[e2e.flash_e2e_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=600000" LABELS "e2e" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;124;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[e2e.link_e2e_test]=] "/work/main/build-package/link_e2e_test")
set_tests_properties([=[e2e.link_e2e_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=600000" LABELS "e2e" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;124;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[e2e.operator_safety_e2e_test]=] "/work/main/build-package/operator_safety_e2e_test")
set_tests_properties([=[e2e.operator_safety_e2e_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=600000" LABELS "e2e" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;124;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[e2e.update_e2e_test]=] "/work/main/build-package/update_e2e_test")
set_tests_properties([=[e2e.update_e2e_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=600000" LABELS "e2e" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;124;add_test;/work/main/CMakeLists.txt;0;")
add_test([=[e2e.update_ja_e2e_test]=] "/work/main/build-package/update_ja_e2e_test")
set_tests_properties([=[e2e.update_ja_e2e_test]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=600000" LABELS "e2e" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/CMakeLists.txt;124;add_test;/work/main/CMakeLists.txt;0;")
