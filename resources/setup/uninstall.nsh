; The uninstaller: ends a box that runs from the program's folder, then
; removes the program, its shortcuts, its start with Windows and its entry in
; the list of installed apps. The settings file stays unless the user ticks
; "Remove my settings" (a silent uninstall keeps it): Quorlith.ini beside the
; program, or in %APPDATA%\Quorlith where the program keeps it when its own
; folder cannot be written.
;
; Switches: /S silent; /LOG=FILE the log (default %TEMP%\Quorlith-setup.log).

Var RemoveSettings
Var RemoveSettingsBox

Function un.onInit
  Call un.StartUp
  StrCpy $RemoveSettings 0
FunctionEnd

Function un.SettingsPage
  !insertmacro MUI_HEADER_TEXT "Remove Quorlith" "Quorlith is removed from $INSTDIR."
  nsDialogs::Create 1018
  Pop $0
  StrCpy $1 ""
  ${If} ${FileExists} "$INSTDIR\Quorlith.ini"
    StrCpy $1 "$1$\r$\n    $INSTDIR\Quorlith.ini"
  ${EndIf}
  ${If} ${FileExists} "$APPDATA\Quorlith\Quorlith.ini"
    StrCpy $1 "$1$\r$\n    $APPDATA\Quorlith\Quorlith.ini"
  ${EndIf}
  ${If} $1 == ""
    StrCpy $1 "$\r$\n    (none was found)"
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 48u "Your settings are kept unless you tick the box below, so that Quorlith finds them again if you install it later:$1"
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "&Remove my settings"
  Pop $RemoveSettingsBox
  nsDialogs::Show
FunctionEnd

Function un.SettingsLeave
  ${NSD_GetState} $RemoveSettingsBox $RemoveSettings
FunctionEnd

; Removes the settings file in folder $0 and what a box may have left beside
; it: the half-done rewrite of a linked file, temporaries.
Function un.RemoveSettingsIn
  Delete "$0\Quorlith.ini"
  Delete "$0\Quorlith.ini.pending"
  Delete "$0\.quorlith-*.tmp"
  ${Log} "removed the settings in $0"
FunctionEnd

Section "Uninstall"
  ${Log} "removing Quorlith from $INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    Call un.EndBox
    Pop $0
    ${If} $0 = 0
      ${Fail} ${EXIT_BOX_RUNS} "Quorlith runs from$\r$\n$INSTDIR$\r$\nand could not be ended. Choose Exit in its menu, then remove Quorlith again."
    ${EndIf}
    Delete "$INSTDIR\Quorlith.exe"
    ${If} ${FileExists} "$INSTDIR\Quorlith.exe"
      ${Fail} ${EXIT_BOX_RUNS} "$INSTDIR\Quorlith.exe cannot be removed: it is in use.$\r$\nEnd Quorlith, then remove it again."
    ${EndIf}
    Delete "$INSTDIR\Quorlith.txt"
    Delete "$INSTDIR\Uninstall.exe"
    ${If} $RemoveSettings = 1
      StrCpy $0 "$INSTDIR"
      Call un.RemoveSettingsIn
    ${EndIf}
    ; Only an empty folder goes: a kept Quorlith.ini keeps it.
    RMDir "$INSTDIR"
  ${Else}
    ${Log} "the folder $INSTDIR is already gone; removing what is left elsewhere"
    MessageBox MB_OK|MB_ICONINFORMATION "Quorlith's folder$\r$\n$INSTDIR$\r$\nis already gone. Its shortcuts, its start with Windows and its entry in the list of installed apps are removed now." /SD IDOK
  ${EndIf}
  ${If} $RemoveSettings = 1
    StrCpy $0 "$APPDATA\Quorlith"
    Call un.RemoveSettingsIn
    RMDir "$APPDATA\Quorlith"
  ${Else}
    ${Log} "the settings are kept"
  ${EndIf}

  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  Delete "$SENDTO\${SHORTCUT}"
  ; The start with Windows goes when it starts this program; a copy of
  ; Quorlith elsewhere keeps its own.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\Quorlith.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${Log} "removed"
SectionEnd
