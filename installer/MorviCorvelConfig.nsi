; Installer of Morvi Corvel Config, built by scripts/package with makensis.
;   makensis -DVERSION=1.0.0 -DDIST=<dist folder> -DLANGDIR=<lang folder> -DOUTFILE=<setup.exe> MorviCorvelConfig.nsi
; Silent use: setup.exe /S [/LANG=en|zh-CN] [/D=<folder>]   (the folder last, unquoted)
; Installs the program, the chosen language.xml and skins\, a Start-menu entry, an
; uninstall entry, and a scheduled task that starts the program elevated at logon.

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef DIST
  !error "DIST is not defined"
!endif
!ifndef LANGDIR
  !error "LANGDIR is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "MorviCorvelConfig-${VERSION}-setup.exe"
!endif

!define PRODUCT "Morvi Corvel Config"
!define EXE "MorviCorvelConfig.exe"
!define TASK "Morvi Corvel Config"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MorviCorvelConfig"
!define EXIT_COMMAND 0x6001

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Morvi\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Morvi"

!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer's language is also the program's: the first one is the default.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; Asks the running program to exit, as its tray menu's Exit does, and waits up to 30 s for its
; window to go. The window is found by the class that only the program registers, whatever the
; title: an Explorer window on the install folder carries the program's title too. A program
; still starting (a loaded machine) may not answer within the send's 2 s: the command is sent
; again every 2 s while the window is there; Exit destroys the window, so a late copy finds none.
!macro CloseRunningProgram
  Push $0
  Push $1
  Push $2
  StrCpy $1 0
  ${Do}
    FindWindow $0 "MorviCorvelConfig"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    IntOp $2 $1 % 20
    ${If} $2 == 0
      SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=2000
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 300
  Sleep 300
  Pop $2
  Pop $1
  Pop $0
!macroend

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LANG=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == "zh-CN"
      StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
    ${ElseIf} $R1 == "en"
      StrCpy $LANGUAGE ${LANG_ENGLISH}
    ${Else}
      MessageBox MB_ICONSTOP "Unknown language '$R1': use /LANG=en or /LANG=zh-CN." /SD IDOK
      Abort
    ${EndIf}
  ${Else}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${EndIf}
FunctionEnd

Section "Program" SecProgram
  SectionIn RO
  !insertmacro CloseRunningProgram
  SetOutPath "$INSTDIR"
  ; The program runs elevated at every logon: whatever folder was chosen, before anything is
  ; put in it, it belongs to Administrators, inherits nothing, and only Administrators and
  ; SYSTEM may change it (Users read and run). What is there already takes the same list.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /setowner *S-1-5-32-544 /T /C /Q'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /T /C /Q'
  Pop $1
  ${If} $0 != 0
  ${OrIf} $1 != 0
    MessageBox MB_ICONSTOP "The access rights of $INSTDIR could not be set (icacls: $0, $1). Nothing was installed." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
  File "${DIST}\${EXE}"
  ${If} $LANGUAGE == ${LANG_SIMPCHINESE}
    File "/oname=language.xml" "${LANGDIR}\zh-CN\language.xml"
  ${Else}
    File "/oname=language.xml" "${LANGDIR}\en\language.xml"
  ${EndIf}
  ; The skins folder is the program's own: replaced whole so that no stale picture stays.
  RMDir /r "$INSTDIR\skins"
  SetOutPath "$INSTDIR\skins"
  File /r "${DIST}\skins\*"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Morvi"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0

  ; Start at logon with the highest rights and no prompt: a scheduled task (an elevated
  ; program in the Run key is not started). Older schtasks lack /RL: then a task definition.
  nsExec::ExecToLog 'schtasks /Create /F /TN "${TASK}" /TR "\"$INSTDIR\${EXE}\"" /SC ONLOGON /RL HIGHEST'
  Pop $0
  ${If} $0 != 0
    DetailPrint "schtasks /TR failed ($0): registering the task from a definition"
    Call WriteTaskDefinition
    nsExec::ExecToLog 'schtasks /Create /F /TN "${TASK}" /XML "$PLUGINSDIR\task.xml"'
    Pop $0
    ${If} $0 != 0
      DetailPrint "The logon task could not be registered ($0)."
    ${EndIf}
  ${EndIf}
SectionEnd

; $PLUGINSDIR\task.xml: at any user's logon, the program with the highest rights, no time limit.
Function WriteTaskDefinition
  InitPluginsDir
  FileOpen $0 "$PLUGINSDIR\task.xml" w
  FileWriteUTF16LE /BOM $0 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n'
  FileWriteUTF16LE $0 '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n'
  FileWriteUTF16LE $0 '  <RegistrationInfo><Description>Starts ${PRODUCT} at logon.</Description></RegistrationInfo>$\r$\n'
  FileWriteUTF16LE $0 '  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>$\r$\n'
  FileWriteUTF16LE $0 '  <Principals><Principal id="Author"><GroupId>S-1-5-32-545</GroupId><RunLevel>HighestAvailable</RunLevel></Principal></Principals>$\r$\n'
  FileWriteUTF16LE $0 '  <Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy><DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries><StopIfGoingOnBatteries>false</StopIfGoingOnBatteries><ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Enabled>true</Enabled></Settings>$\r$\n'
  FileWriteUTF16LE $0 '  <Actions Context="Author"><Exec><Command>"$INSTDIR\${EXE}"</Command></Exec></Actions>$\r$\n'
  FileWriteUTF16LE $0 '</Task>$\r$\n'
  FileClose $0
FunctionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; Removes what the installer put there; the settings under HKLM\Software\Morvi\MVSET stay.
Section "Uninstall"
  !insertmacro CloseRunningProgram
  nsExec::ExecToLog 'schtasks /Delete /F /TN "${TASK}"'
  Pop $0

  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\language.xml"
  RMDir /r "$INSTDIR\skins"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES\Morvi"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
