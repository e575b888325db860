# Fails when a message of kelmora-cli's sources has no translation (or only a
# fuzzy one) in a catalog of po/. Run as:
#   cmake -DROOT=<source folder> -DXGETTEXT=... -DMSGCMP=... -DOUT=<scratch file> -P CheckCatalogs.cmake
file(GLOB sources "${ROOT}/cli/*.cpp" "${ROOT}/cli/*.h")
execute_process(
  COMMAND ${XGETTEXT} --from-code=UTF-8 --language=C++ --keyword=tr --keyword=trn:1,2 -o ${OUT} ${sources}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "xgettext failed")
endif()
file(GLOB catalogs "${ROOT}/po/*.po")
foreach(po ${catalogs})
  execute_process(COMMAND ${MSGCMP} ${po} ${OUT} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${po} lacks messages: refresh it with the kelmora_cli_pot target and translate them")
  endif()
endforeach()
