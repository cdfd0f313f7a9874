
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/src/app/file_select.cpp" "CMakeFiles/vqcore.dir/src/app/file_select.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/file_select.cpp.o.d"
  "/work/main/src/app/frm_force_update.cpp" "CMakeFiles/vqcore.dir/src/app/frm_force_update.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/frm_force_update.cpp.o.d"
  "/work/main/src/app/frm_main.cpp" "CMakeFiles/vqcore.dir/src/app/frm_main.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/frm_main.cpp.o.d"
  "/work/main/src/app/protocol_steps.cpp" "CMakeFiles/vqcore.dir/src/app/protocol_steps.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/protocol_steps.cpp.o.d"
  "/work/main/src/app/sequencer.cpp" "CMakeFiles/vqcore.dir/src/app/sequencer.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/sequencer.cpp.o.d"
  "/work/main/src/app/step_texts.cpp" "CMakeFiles/vqcore.dir/src/app/step_texts.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/app/step_texts.cpp.o.d"
  "/work/main/src/base/boot_state.cpp" "CMakeFiles/vqcore.dir/src/base/boot_state.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/boot_state.cpp.o.d"
  "/work/main/src/base/comm_settings.cpp" "CMakeFiles/vqcore.dir/src/base/comm_settings.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/comm_settings.cpp.o.d"
  "/work/main/src/base/error_display.cpp" "CMakeFiles/vqcore.dir/src/base/error_display.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/error_display.cpp.o.d"
  "/work/main/src/base/firmware_file.cpp" "CMakeFiles/vqcore.dir/src/base/firmware_file.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/firmware_file.cpp.o.d"
  "/work/main/src/base/forms.cpp" "CMakeFiles/vqcore.dir/src/base/forms.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/forms.cpp.o.d"
  "/work/main/src/base/image_state.cpp" "CMakeFiles/vqcore.dir/src/base/image_state.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/image_state.cpp.o.d"
  "/work/main/src/base/link_state.cpp" "CMakeFiles/vqcore.dir/src/base/link_state.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/link_state.cpp.o.d"
  "/work/main/src/base/param_store.cpp" "CMakeFiles/vqcore.dir/src/base/param_store.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/param_store.cpp.o.d"
  "/work/main/src/base/progress.cpp" "CMakeFiles/vqcore.dir/src/base/progress.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/progress.cpp.o.d"
  "/work/main/src/base/state.cpp" "CMakeFiles/vqcore.dir/src/base/state.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/state.cpp.o.d"
  "/work/main/src/base/texts.cpp" "CMakeFiles/vqcore.dir/src/base/texts.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/base/texts.cpp.o.d"
  "/work/main/src/config/frm_port_conf.cpp" "CMakeFiles/vqcore.dir/src/config/frm_port_conf.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/config/frm_port_conf.cpp.o.d"
  "/work/main/src/config/port_scan.cpp" "CMakeFiles/vqcore.dir/src/config/port_scan.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/config/port_scan.cpp.o.d"
  "/work/main/src/flash/boot_exchange.cpp" "CMakeFiles/vqcore.dir/src/flash/boot_exchange.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/boot_exchange.cpp.o.d"
  "/work/main/src/flash/boot_flash_stages.cpp" "CMakeFiles/vqcore.dir/src/flash/boot_flash_stages.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/boot_flash_stages.cpp.o.d"
  "/work/main/src/flash/boot_frames.cpp" "CMakeFiles/vqcore.dir/src/flash/boot_frames.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/boot_frames.cpp.o.d"
  "/work/main/src/flash/boot_setup_stages.cpp" "CMakeFiles/vqcore.dir/src/flash/boot_setup_stages.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/boot_setup_stages.cpp.o.d"
  "/work/main/src/flash/boot_texts.cpp" "CMakeFiles/vqcore.dir/src/flash/boot_texts.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/boot_texts.cpp.o.d"
  "/work/main/src/flash/update_step.cpp" "CMakeFiles/vqcore.dir/src/flash/update_step.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/flash/update_step.cpp.o.d"
  "/work/main/src/image/update_file_read.cpp" "CMakeFiles/vqcore.dir/src/image/update_file_read.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/image/update_file_read.cpp.o.d"
  "/work/main/src/image/write_blocks.cpp" "CMakeFiles/vqcore.dir/src/image/write_blocks.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/image/write_blocks.cpp.o.d"
  "/work/main/src/link/bas_command_recv.cpp" "CMakeFiles/vqcore.dir/src/link/bas_command_recv.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/link/bas_command_recv.cpp.o.d"
  "/work/main/src/link/bas_command_send.cpp" "CMakeFiles/vqcore.dir/src/link/bas_command_send.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/link/bas_command_send.cpp.o.d"
  "/work/main/src/link/bas_function.cpp" "CMakeFiles/vqcore.dir/src/link/bas_function.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/link/bas_function.cpp.o.d"
  "/work/main/src/link/link_engine.cpp" "CMakeFiles/vqcore.dir/src/link/link_engine.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/link/link_engine.cpp.o.d"
  "/work/main/src/link/param_steps.cpp" "CMakeFiles/vqcore.dir/src/link/param_steps.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/link/param_steps.cpp.o.d"
  "/work/main/src/platform/line_settings.cpp" "CMakeFiles/vqcore.dir/src/platform/line_settings.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/platform/line_settings.cpp.o.d"
  "/work/main/src/platform/platform.cpp" "CMakeFiles/vqcore.dir/src/platform/platform.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/platform/platform.cpp.o.d"
  "/work/main/src/platform/port_problem.cpp" "CMakeFiles/vqcore.dir/src/platform/port_problem.cpp.o" "gcc" "CMakeFiles/vqcore.dir/src/platform/port_problem.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
