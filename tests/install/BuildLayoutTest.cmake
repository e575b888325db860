# One build, one settings file: the window and kelmora-cli sit in one folder of
# the build tree, where both look for Kelmora.ini, with the user's guide the
# window opens from beside itself.
get_filename_component(window_dir "${WINDOW}" DIRECTORY)
get_filename_component(cli_dir "${CLI}" DIRECTORY)
if(NOT window_dir STREQUAL cli_dir)
  message(FATAL_ERROR "the window is built in ${window_dir}, kelmora-cli in ${cli_dir}")
endif()
foreach(guide ${GUIDE})
  get_filename_component(guide_dir "${guide}" DIRECTORY)
  if(NOT guide_dir STREQUAL window_dir)
    message(FATAL_ERROR "the guide ${guide} is not beside the window in ${window_dir}")
  endif()
endforeach()
