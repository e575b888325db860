# Makes the user's guide page from Readme.txt, so the page and the text file
# always say the same. Run as a script:
#   cmake -DINPUT=Readme.txt -DOUTPUT=Readme.html -P GuidePage.cmake
# The text keeps its own layout (it is drawn for a fixed-width font); the page
# only escapes it and sets it in the Japanese UI font.
file(READ "${INPUT}" text)
string(REPLACE "&" "&amp;" text "${text}")
string(REPLACE "<" "&lt;" text "${text}")
string(REPLACE ">" "&gt;" text "${text}")
set(page "<!DOCTYPE html>
<html lang=\"ja\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>Kelmora ユーザーズガイド</title>
<style>
body { margin: 0; background: #d4d0c8; }
pre { max-width: 52em; margin: 1.5em auto; padding: 1.5em 2em; background: #ffffff;
      border: 1px solid #808080; font-family: \"IPAGothic\", \"IPAPGothic\", monospace;
      font-size: 15px; line-height: 1.5; white-space: pre-wrap; }
</style>
</head>
<body>
<pre>
${text}</pre>
</body>
</html>
")
file(WRITE "${OUTPUT}" "${page}")
