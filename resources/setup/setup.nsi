; The Windows setup: Quorlith for the user who runs it, without administrator
; rights, in %LOCALAPPDATA%\Programs\Quorlith, with a Start menu shortcut and
; an entry in the list of installed apps; optionally the Send To shortcut,
; the start with Windows and a desktop shortcut. scripts/lib/make-setup.sh
; builds it:
;
;   makensis -DVERSION=1.1 -DFILE_VERSION=1.1.0.0 -DTARGET=x86-unicode
;            -DPROGRAM32=... -DPROGRAM64=... -DREADME=... -DICON=... -DOUTFILE=...
;
; The published setup is x86-unicode: it runs on 32- and 64-bit Windows and
; installs the program that fits. Built as amd64-unicode (no PROGRAM32), the
; same setup is a 64-bit program that installs the 64-bit one, so that its
; logic can be run under Wine on a host that runs no 32-bit programs.
;
; Switches:   /S                     silent
;             /SENDTO=0|1            the Send To shortcut
;             /STARTUP=0|1           start with Windows
;             /DESKTOP=0|1           the desktop shortcut
;             /LOG=FILE              the log (default %TEMP%\Quorlith-setup.log)
;             /D=FOLDER              the folder; last, unquoted
; Without a switch a choice stays as it is now: an upgrade keeps what was
; chosen before (or since, in the program's settings); a first install
; makes the Send To shortcut only.

Target ${TARGET}
ManifestDPIAware true
ManifestSupportedOS all

!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include x64.nsh
!include nsDialogs.nsh
!include MUI2.nsh
!include common.nsh

Name "Quorlith"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorlith"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "Quorlith ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${FILE_VERSION}
VIAddVersionKey ProductName "Quorlith"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Quorlith ${VERSION} setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "Copyright 2026 the Quorlith developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom ChoicesPage ChoicesLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorlith.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quorlith now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Quorlith.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the readme"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
UninstPage custom un.SettingsPage un.SettingsLeave
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!insertmacro COMMON_FUNCTIONS ""
!insertmacro COMMON_FUNCTIONS "un."
!include uninstall.nsh

Var WantSendTo   ; 1: the Send To shortcut
Var WantStartup  ; 1: the Run value
Var WantDesktop  ; 1: the desktop shortcut
Var SendToBox
Var StartupBox
Var DesktopBox

; ${TakeSwitch} NAME VARIABLE: /NAME=1 or /NAME=0 sets the choice.
!macro TAKE_SWITCH NAME VARIABLE
  ClearErrors
  ${GetOptions} $CommandLine "/${NAME}=" $0
  ${IfNot} ${Errors}
    ${If} $0 == "1"
      StrCpy ${VARIABLE} 1
    ${ElseIf} $0 == "0"
      StrCpy ${VARIABLE} 0
    ${Else}
      ${Fail} ${EXIT_BAD_SWITCH} "The switch /${NAME}= takes 0 or 1, not $\"$0$\"."
    ${EndIf}
  ${EndIf}
!macroend
!define TakeSwitch `!insertmacro TAKE_SWITCH`

; NSIS takes a folder named by /D= that it finds unusable (a file stands in
; its path) for no folder at all and quietly falls back to the usual one:
; the folder asked for is refused instead.
Function CheckAskedFolder
  System::Call 'kernel32::GetCommandLineW() t .r0'
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${IfThen} $1 < 0 ${|} Return ${|}
    StrCpy $2 $0 4 $1
  ${LoopUntil} $2 == " /D="
  IntOp $1 $1 + 4
  StrCpy $2 $0 "" $1
  ${If} $2 != $INSTDIR
  ${AndIf} $2 != "$INSTDIR\"
    ${Fail} ${EXIT_NOT_WRITABLE} "Quorlith cannot be installed in$\r$\n$2$\r$\nThat folder cannot be made there."
  ${EndIf}
FunctionEnd

Function .onInit
  Call StartUp
  Call CheckAskedFolder
  ; Each choice starts as things are now; a first install adds Send To.
  StrCpy $WantSendTo 0
  StrCpy $WantStartup 0
  StrCpy $WantDesktop 0
  ${If} ${FileExists} "$SENDTO\${SHORTCUT}"
    StrCpy $WantSendTo 1
  ${EndIf}
  ${If} ${FileExists} "$DESKTOP\${SHORTCUT}"
    StrCpy $WantDesktop 1
  ${EndIf}
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 != ""
    StrCpy $WantStartup 1
  ${EndIf}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    StrCpy $WantSendTo 1
  ${EndIf}
  ${TakeSwitch} SENDTO $WantSendTo
  ${TakeSwitch} STARTUP $WantStartup
  ${TakeSwitch} DESKTOP $WantDesktop
FunctionEnd

; Pushes 1 when $INSTDIR can be made and written to, else 0; leaves nothing.
Function FolderWritable
  Push $0
  StrCpy $0 0
  ClearErrors
  CreateDirectory "$INSTDIR"
  ${IfNot} ${Errors}
    FileOpen $0 "$INSTDIR\Quorlith-setup.probe" w
    ${If} ${Errors}
      StrCpy $0 0
    ${Else}
      FileClose $0
      Delete "$INSTDIR\Quorlith-setup.probe"
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
  Exch $0
FunctionEnd

Function FolderLeave
  Call FolderWritable
  Pop $0
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quorlith cannot be installed in$\r$\n$INSTDIR$\r$\nThat folder cannot be written. Choose another one."
    Abort
  ${EndIf}
FunctionEnd

Function ChoicesPage
  !insertmacro MUI_HEADER_TEXT "Extras" "A Start menu shortcut is always made. Choose what else you want."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Add Quorlith to the &Send To menu (right-click files, Send To, Quorlith)"
  Pop $SendToBox
  ${NSD_CreateCheckbox} 0 18u 100% 12u "Start Quorlith when &Windows starts"
  Pop $StartupBox
  ${NSD_CreateCheckbox} 0 36u 100% 12u "Put a shortcut on the &desktop"
  Pop $DesktopBox
  ${If} $WantSendTo = 1
    ${NSD_Check} $SendToBox
  ${EndIf}
  ${If} $WantStartup = 1
    ${NSD_Check} $StartupBox
  ${EndIf}
  ${If} $WantDesktop = 1
    ${NSD_Check} $DesktopBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ChoicesLeave
  ${NSD_GetState} $SendToBox $WantSendTo
  ${NSD_GetState} $StartupBox $WantStartup
  ${NSD_GetState} $DesktopBox $WantDesktop
FunctionEnd

; A box the setup ended was started again already: the finish page does not
; offer to start a second one.
Function FinishShow
  ${If} $BoxRan = 1
    ${NSD_Uncheck} $mui.FinishPage.Run
  ${EndIf}
FunctionEnd

; ${PlaceShortcut} ON PATH: the shortcut to the installed program at PATH, made
; when ON is 1 and removed when it is 0.
!macro PLACE_SHORTCUT ON PATH
  ${If} ${ON} = 1
    CreateShortcut "${PATH}" "$INSTDIR\Quorlith.exe" "" "$INSTDIR\Quorlith.exe" 0 SW_SHOWNORMAL "" "${DESCRIPTION}"
    ${Log} "made ${PATH}"
  ${Else}
    Delete "${PATH}"
  ${EndIf}
!macroend
!define PlaceShortcut `!insertmacro PLACE_SHORTCUT`

Section "Quorlith"
  ${Log} "installing into $INSTDIR"
  Call FolderWritable
  Pop $0
  ${If} $0 = 0
    ${Fail} ${EXIT_NOT_WRITABLE} "Quorlith cannot be installed in$\r$\n$INSTDIR$\r$\nThat folder cannot be written."
  ${EndIf}
  Call EndBox
  Pop $0
  ${If} $0 = 0
    ${Fail} ${EXIT_BOX_RUNS} "Quorlith runs from$\r$\n$INSTDIR$\r$\nand could not be ended. Choose Exit in its menu, then run the setup again."
  ${EndIf}

  ; The settings file, Quorlith.ini, is never touched: an upgrade keeps it.
  SetOutPath "$INSTDIR"
  !ifdef PROGRAM32
    ${If} ${RunningX64}
      File "/oname=Quorlith.exe" "${PROGRAM64}"
    ${Else}
      File "/oname=Quorlith.exe" "${PROGRAM32}"
    ${EndIf}
  !else
    File "/oname=Quorlith.exe" "${PROGRAM64}"
  !endif
  File "/oname=Quorlith.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\Quorlith.exe" "" "$INSTDIR\Quorlith.exe" 0 SW_SHOWNORMAL "" "${DESCRIPTION}"
  ${PlaceShortcut} $WantSendTo "$SENDTO\${SHORTCUT}"
  ${PlaceShortcut} $WantDesktop "$DESKTOP\${SHORTCUT}"
  ${If} $WantStartup = 1
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Quorlith.exe"'
    ${Log} "Quorlith starts with Windows"
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quorlith"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorlith.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ${If} $BoxRan = 1
    Exec '"$INSTDIR\Quorlith.exe"'
    ${Log} "started the box again"
  ${EndIf}
  ${Log} "installed"
SectionEnd
