target_sources(wizlib PRIVATE
  pages/CPspEx.cpp
  pages/CancelPrompt.cpp
  pages/pspWelcome.cpp
  pages/pspSetupType.cpp
  pages/pspFolder.cpp
  pages/pspProgress.cpp
  pages/pspInstall.cpp
  pages/pspRemove.cpp
  pages/pspFinish.cpp)
