# Input controls: the drawn line edit, spin edit, folder browse edit with its text engine and picker, shaped hint.
target_sources(kelmora_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BrowseText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrawnLineEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegerText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KmBrowseDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KmBrowseEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KmShapeHint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KmSpinButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KmSpinEdit.cpp
)
