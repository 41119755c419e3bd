# Dialog tests need their dialog to be the active window: no other GUI test of
# the prefix may run beside them.
wiz_add_test(NAME ui_tests RESOURCES LOCKED SOURCES
  ui/Canvas.cpp
  ui/MessageStyleTest.cpp
  ui/BtnSTLayoutTest.cpp
  ui/BtnSTPaintTest.cpp
  ui/BtnSTControlTest.cpp
  ui/CStaticTextTest.cpp
  ui/MessageDialogTest.cpp)
