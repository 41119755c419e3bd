; The NSIS peer of the engine's install and removal sequences (bench/peers.sh):
; the same files, the same registry values and the same shortcut as the
; wizard's install, removed again by the uninstaller as the wizard's removal
; removes them. Nothing of the driver steps: NSIS does no device work.
; makensis -DBUILD=<build folder> -DOUT=<installer> Payload.nsi
; The installer's settings are NSIS's defaults (zlib, not solid).
Unicode true
RequestExecutionLevel admin
Name "Kestrin Duoflex Wireless Adapter"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES\Kestrin Duoflex"

!define PRODUCT "Kestrin Duoflex Wireless Adapter"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETUP_DIR "$PROGRAMFILES\Orvel\Setup\LQ38\Kestrin Duoflex"
!define MENU_DIR "$SMPROGRAMS\${PRODUCT}"
!define TCP_KEY "SYSTEM\CurrentControlSet\Services\Tcpip\Parameters"
!define UTILITY_LINK "Kestrin Duoflex Wireless Utility.lnk"

Section
    ; The files: the setup's copy of itself and the device library, the marker
    ; and the x86 driver package (the bench prefix is 32-bit).
    SetOutPath "${SETUP_DIR}"
    File "${BUILD}/Setup.exe"
    File "${BUILD}/payload/DevAgent.dll"
    ; NSIS's own uninstaller, which the setup's copy of itself stands for.
    WriteUninstaller "${SETUP_DIR}\Uninstall.exe"
    SetOutPath "$INSTDIR"
    FileOpen $0 "$INSTDIR\~NoKill.wiz" w
    FileClose $0
    File "${BUILD}/payload/vxa38.sys"
    File "${BUILD}/payload/vxa38.inf"
    File "${BUILD}/payload/vxa38.cat"

    ; The shortcut, its working folder the setup folder.
    CreateDirectory "${MENU_DIR}"
    SetOutPath "${SETUP_DIR}"
    CreateShortcut "${MENU_DIR}\Uninstall.lnk" "${SETUP_DIR}\Setup.exe"

    WriteRegDWORD HKLM "${TCP_KEY}" "TCPWindowSize" 0x10000
    WriteRegDWORD HKLM "${TCP_KEY}" "SackOpts" 1
    WriteRegDWORD HKLM "${TCP_KEY}" "TcpMaxDupAcks" 2
    WriteRegDWORD HKLM "${TCP_KEY}" "Tcp1323Opts" 1

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "${SETUP_DIR}\Setup.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "AppFolder" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "ProgramsFolder" "${MENU_DIR}"
SectionEnd

Section Uninstall
    ; The package and the marker only where the marker is found, the folder
    ; named by the entry.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "AppFolder"
    StrCmp $0 "" shortcuts
    IfFileExists "$0\~NoKill.wiz" 0 shortcuts
    Delete "$0\vxa38.sys"
    Delete "$0\vxa38.inf"
    Delete "$0\vxa38.cat"
    Delete "$0\~NoKill.wiz"
    RMDir "$0"
shortcuts:
    ; The menu folder the entry names, the all-users one of the product's name,
    ; and the links the wizard would have made elsewhere.
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "ProgramsFolder"
    StrCmp $1 "" +3
    Delete "$1\Uninstall.lnk"
    RMDir "$1"
    SetShellVarContext all
    RMDir /r "${MENU_DIR}"
    SetShellVarContext current
    Delete "$DESKTOP\Uninstall.lnk"
    Delete "$SMSTARTUP\${UTILITY_LINK}"
    Delete "$DESKTOP\${UTILITY_LINK}"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
