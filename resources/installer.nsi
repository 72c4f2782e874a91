; The Windows installer: copies the program folder and adds a Start menu
; entry and an uninstaller. It does not register App Paths: the program does
; that at its first start, which is how it knows to run its first-run steps.
; makensis -DDIST=<program folder> -DOUT=<setup.exe> installer.nsi
Unicode true
Name "Tarvick Lite"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Tarvick Lite"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "LogicLib.nsh"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tarvick Lite"
  SetOutPath "$INSTDIR"
  File "${DIST}\TarvickLite.exe"
  File "${DIST}\corvel.dll"
  File "${DIST}\Pop.dat"
  File "${DIST}\Bell.wav"
  File "${DIST}\Help.html"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tarvick Lite"
  CreateShortcut "$SMPROGRAMS\Tarvick Lite\Tarvick Lite.lnk" "$INSTDIR\TarvickLite.exe"
  CreateShortcut "$SMPROGRAMS\Tarvick Lite\Uninstall.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvick Lite" "DisplayName" "Tarvick Lite"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvick Lite" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvick Lite" "DisplayIcon" "$INSTDIR\TarvickLite.exe"
SectionEnd

Section "Uninstall"
  ; The running program holds its files: ask it to end as a session end would.
  FindWindow $0 "TarvickLiteCancelEvent"
  ${If} $0 <> 0
    SendMessage $0 0x11 0 0 /TIMEOUT=5000
    Sleep 1000
  ${EndIf}
  Delete "$INSTDIR\TarvickLite.exe"
  Delete "$INSTDIR\corvel.dll"
  Delete "$INSTDIR\Pop.dat"
  Delete "$INSTDIR\Bell.wav"
  Delete "$INSTDIR\Help.html"
  Delete "$INSTDIR\prog.ini"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tarvick Lite\Tarvick Lite.lnk"
  Delete "$SMPROGRAMS\Tarvick Lite\Uninstall.lnk"
  RMDir "$SMPROGRAMS\Tarvick Lite"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\TarvickLite.exe"
  DeleteRegKey HKCU "Software\Microsoft\Windows\CurrentVersion\App Paths\TarvickLite.exe"
  DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "Tarvick Lite"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Tarvick Lite"
  DeleteRegKey HKCU "Software\VB and VBA Program Settings\Tarvick Lite"
  DeleteRegKey HKCU "Software\VB and VBA Program Settings\Tarvick"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvick Lite"
SectionEnd
