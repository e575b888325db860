# Makes the guide page from a text with every character HTML gives a meaning
# to, and checks that the page shows the text as it stands.
file(MAKE_DIRECTORY ${WORK})
set(text "■ 使い方\n  <b>not bold</b> & \"quoted\" 'single' &amp;\n  kelmora [ファイル | フォルダ] ...\n")
file(WRITE ${WORK}/Readme.txt "${text}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -DINPUT=${WORK}/Readme.txt -DOUTPUT=${WORK}/Readme.html -P ${GUIDE_SCRIPT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the page was not made: ${result}")
endif()
file(READ ${WORK}/Readme.html page)

set(shown "■ 使い方\n  &lt;b&gt;not bold&lt;/b&gt; &amp; \"quoted\" 'single' &amp;amp;\n  kelmora [ファイル | フォルダ] ...\n")
string(FIND "${page}" "<pre>\n${shown}</pre>" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the text is not on the page as it stands:\n${page}")
endif()
foreach(needed "<meta charset=\"utf-8\">" "<html lang=\"ja\">")
  string(FIND "${page}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the page lacks ${needed}")
  endif()
endforeach()
