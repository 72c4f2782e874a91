; The per-user Windows installer: no elevation, the program folder under the
; user's local programs folder, a Start menu shortcut, an Apps & features
; entry under HKEY_CURRENT_USER and, if chosen, start with Windows.
; Made by scripts/installer, which lists the program folder's files:
;   makensis -DDIST=<folder> -DOUT=<setup.exe> -DVERSION=<x.y.z> -DFILES=<list.nsh> installer.nsi
; Setup command line:     /S silent, /NOSTARTUP no start with Windows, /D=<folder> (last).
; Uninstaller command line: /S silent, /REMOVESETTINGS also removes the settings.
; It does not register App Paths: the program does that at its first start,
; which is how it knows to run its first-run steps.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${FILES}"

!define APP "Tarvick Lite"
!define EXE "TarvickLite.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarvickLite"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPPATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\${EXE}"
!define SETTINGS_KEY "Software\VB and VBA Program Settings"
; Names the program answers to (app/exit_request_win.h).
!define EXIT_CLASS "TarvickLiteExit"
!define EXIT_MESSAGE "TarvickLite.ExitRequest"
; Files still in use when they had to go wait here (same volume, so the
; move works on a mapped file); a standard user cannot have them deleted
; at the next restart, so the next setup or uninstall clears the folder.
!define LEFTOVERS "Tarvick Lite leftovers"

Name "${APP}"
OutFile "${OUT}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} setup"
VIAddVersionKey "CompanyName" "Tarvick Lite team"
VIAddVersionKey "LegalCopyright" "Tarvick Lite team"

Var WasRunning

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage components
UninstPage instfiles

; Ends a running program the orderly way (it unhooks and saves), then waits
; until no process holds the hook library, so its files can be replaced.
!macro EndProgramFunctions UN
Function ${UN}EndRunningProgram
  StrCpy $WasRunning 0
  ; What an earlier run had to leave behind is free by now.
  RMDir /r "$TEMP\${LEFTOVERS}"
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_MESSAGE}") i .r2'
  ${For} $R1 1 5
    FindWindow $0 "${EXIT_CLASS}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    StrCpy $WasRunning 1
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r4)'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r4) p .r5'
    System::Call 'user32::PostMessageW(p r0, i r2, p 0, p 0)'
    System::Call 'kernel32::WaitForSingleObject(p r5, i 10000) i .r6'
    ${If} $6 <> 0
      ; Hung: the system removes the hooks of an ended process too.
      System::Call 'kernel32::TerminateProcess(p r5, i 1)'
      System::Call 'kernel32::WaitForSingleObject(p r5, i 5000)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r5)'
  ${Next}
  ; Hooked programs let go of the library when they next take a message.
  ${For} $R1 1 20
    System::Call 'user32::SendMessageTimeoutW(p 0xffff, i 0, p 0, p 0, i 2, i 200, *p .r1)'
    ${IfNot} ${FileExists} "$INSTDIR\corvel.dll"
      ${Break}
    ${EndIf}
    ; Opening for writing fails while any process has it mapped.
    System::Call 'kernel32::CreateFileW(w "$INSTDIR\corvel.dll", i 0x40000000, i 0, p 0, i 3, i 0, p 0) p .r1'
    ${If} $1 <> -1
      System::Call 'kernel32::CloseHandle(p r1)'
      ${Break}
    ${EndIf}
    Sleep 250
  ${Next}
FunctionEnd
!macroend
!insertmacro EndProgramFunctions ""
!insertmacro EndProgramFunctions "un."

Section "-Program"
  SetShellVarContext current
  Call EndRunningProgram
  ; An earlier version's files go first, by its own list; its registration
  ; stays, so the next start is not a first run.
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    ExecWait '"$INSTDIR\Uninstall.exe" /S /UPGRADE _?=$INSTDIR'
  ${EndIf}
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Tarvick Lite team"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecStartup
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "-Start-up choice"
  ; The program's own setting follows the box, so its first start (which
  ; writes the setting's default, on) does not undo an unticked box.
  ${If} ${SectionIsSelected} ${SecStartup}
    WriteRegStr HKCU "${SETTINGS_KEY}\${APP}\Options" "RunAtStartUp" "1"
  ${Else}
    WriteRegStr HKCU "${SETTINGS_KEY}\${APP}\Options" "RunAtStartUp" "0"
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  ${EndIf}
SectionEnd

Section "-Restart"
  ; The user had it running: the new version takes its place.
  ${If} $WasRunning = 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSTARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  ; Over settings of an earlier install, the box starts as the user left
  ; start with Windows there.
  ReadRegStr $1 HKCU "${SETTINGS_KEY}\${APP}\Options" "RunAtStartUp"
  ${If} $1 == "0"
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; Deletes a file; one still in use is moved out of the folder.
Function un.RemoveFile
  Exch $0
  Delete "$0"
  ${If} ${FileExists} "$0"
    CreateDirectory "$TEMP\${LEFTOVERS}"
    GetTempFileName $1 "$TEMP\${LEFTOVERS}"
    Delete "$1"
    Rename "$0" "$1"
    Delete /REBOOTOK "$1"
  ${EndIf}
  Pop $0
FunctionEnd

Var Upgrading

Section "un.-Program"
  SetShellVarContext current
  ${If} $Upgrading = 1
    ; Called by a newer setup that has ended the program already.
    !insertmacro RemoveFiles
    Return
  ${EndIf}
  Call un.EndRunningProgram
  !insertmacro RemoveFiles
  Push "$INSTDIR\Uninstall.exe"
  Call un.RemoveFile
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegValue HKLM "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${APPPATHS_KEY}"
  DeleteRegKey HKLM "${APPPATHS_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}\Tarvick\tmp"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}\Tarvick"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd

Section /o "un.Remove my settings" SecRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}\${APP}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  ; The Run dialog's history and the window-class list.
  Delete "$INSTDIR\prog.ini"
SectionEnd

Section "un.-Folder"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  StrCpy $Upgrading 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/UPGRADE" $1
  ${IfNot} ${Errors}
    StrCpy $Upgrading 1
    !insertmacro UnselectSection ${SecRemoveSettings}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
  ${AndIf} $Upgrading = 0
    !insertmacro SelectSection ${SecRemoveSettings}
  ${EndIf}
FunctionEnd
