# Fails when a file of a core folder includes a Qt header or a folder above
# its own layer. Run as: cmake -DKELMORA_ROOT=<source folder> -P CheckLayers.cmake
#
# folder: the folders its files may include from
set(layers
  "platform:platform"
  "search:platform,search"
  "settings:platform,settings"
  "cut:platform,search,settings,cut"
  "cli:platform,search,settings,cut,cli"
)
set(faults "")
foreach(layer ${layers})
  string(REPLACE ":" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(GET parts 1 allowed)
  string(REPLACE "," "|" allowed "${allowed}")
  file(GLOB_RECURSE files "${KELMORA_ROOT}/${folder}/*.h" "${KELMORA_ROOT}/${folder}/*.cpp")
  foreach(file ${files})
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "<Q[A-Za-z0-9_]*[/>]")
        list(APPEND faults "${file}: Qt in the core: ${line}")
      elseif(line MATCHES "\"([a-z]+)/")
        set(included "${CMAKE_MATCH_1}")
        # kelmora/: the headers CMake makes (the version), below every layer.
        if(NOT included MATCHES "^(${allowed}|kelmora)$")
          list(APPEND faults "${file}: ${folder}/ may not include ${included}/: ${line}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  string(REPLACE ";" "\n" faults "${faults}")
  message(FATAL_ERROR "${faults}")
endif()
