target_sources(wizlib PRIVATE
  ui/BtnSTLayout.cpp
  ui/BtnSTPaint.cpp
  ui/BtnST.cpp
  ui/CStaticText.cpp
  ui/MessageStyle.cpp
  ui/dlgMsg1.cpp
  ui/Prompts.cpp
)
