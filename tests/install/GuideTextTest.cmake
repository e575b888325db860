# The user's guide says what the program does with image names: it never
# overwrites an image, and a taken name gets " (2)", " (3)", ...
file(READ ${GUIDE} text)
string(REGEX REPLACE "[ \n]+" " " text "${text}")
# Each row: what the guide must say, or (after "!") must no longer say.
foreach(row "画像を上書きすることはありません" "「clip (2)_00001.jpg」" "同時に動いている別の Kelmora が書いた画像も同じです"
            "No image is ever overwritten" "by another Kelmora at the same time" "!上書きされます" "!are overwritten")
  string(REGEX REPLACE "^!" "" phrase "${row}")
  string(FIND "${text}" "${phrase}" at)
  if(row MATCHES "^!" AND NOT at EQUAL -1)
    message(SEND_ERROR "the guide still says: ${phrase}")
  elseif(NOT row MATCHES "^!" AND at EQUAL -1)
    message(SEND_ERROR "the guide does not say: ${phrase}")
  endif()
endforeach()
