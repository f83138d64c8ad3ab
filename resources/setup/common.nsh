; What the setup and the uninstaller share: the log, the lock that keeps two
; of them from running at once, and ending a box that runs from the program's
; folder. Each function is made twice, as NSIS wants: once for the setup and
; once, with the prefix "un.", for the uninstaller.

!define PUBLISHER "The Quorlith developers"
!define DESCRIPTION "A configurable drag-box to capture the path of a file."
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlith"
; The value that starts the box at logon, and the Send To shortcut: the
; program's settings window makes and removes the same ones by the same names.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quorlith"
!define SHORTCUT "Quorlith.lnk"

; Exit codes, besides NSIS's own 0 (done) and 1 (cancelled).
!define EXIT_RUNNING 2       ; another setup or uninstaller of Quorlith runs
!define EXIT_NOT_WRITABLE 3  ; the program's folder cannot be written
!define EXIT_BOX_RUNS 4      ; a box running from the folder could not be ended
!define EXIT_BAD_SWITCH 5    ; a switch has a value it does not take

Var LogFile
Var CommandLine
Var BoxRan  ; 1 when a box ran from the program's folder and was ended

; ${Log} "text": one line in the log, in the setup and the uninstaller alike.
!macro LOG_LINE TEXT
  Push `${TEXT}`
  !ifdef __UNINSTALL__
    Call un.WriteLog
  !else
    Call WriteLog
  !endif
!macroend
!define Log `!insertmacro LOG_LINE`

; ${Fail} CODE "text": says why, writes it down and ends with CODE. Nothing
; of the user's has been touched when it is called.
!macro FAIL CODE TEXT
  ${Log} `${TEXT}`
  MessageBox MB_OK|MB_ICONSTOP `${TEXT}` /SD IDOK
  SetErrorLevel ${CODE}
  Quit
!macroend
!define Fail `!insertmacro FAIL`

!macro COMMON_FUNCTIONS UN

; Appends the line on the stack to the log, in UTF-16 as Notepad reads it.
; The log is %TEMP%\Quorlith-setup.log, or the file /LOG= names.
Function ${UN}WriteLog
  Exch $0
  Push $1
  Push $2
  ${WordReplace} $0 "$\r$\n" " " "+" $0
  ClearErrors
  FileOpen $1 $LogFile a
  ${IfNot} ${Errors}
    FileSeek $1 0 END $2
    ${If} $2 == 0
      FileWriteWord $1 0xFEFF
    ${EndIf}
    !ifdef __UNINSTALL__
      FileWriteUTF16LE $1 "Quorlith uninstall: $0$\r$\n"
    !else
      FileWriteUTF16LE $1 "Quorlith setup ${VERSION}: $0$\r$\n"
    !endif
    FileClose $1
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The command line, the log's place and the lock: one setup or uninstaller
; at a time, for this user. The lock is a named mutex that lives as long as
; the process.
Function ${UN}StartUp
  ${GetParameters} $CommandLine
  StrCpy $LogFile "$TEMP\Quorlith-setup.log"
  ClearErrors
  ${GetOptions} $CommandLine "/LOG=" $0
  ${IfNot} ${Errors}
  ${AndIf} $0 != ""
    StrCpy $LogFile $0
  ${EndIf}
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "Local\QuorlithSetup") p .r0 ?e'
  Pop $1
  ${If} $1 = 183  ; ERROR_ALREADY_EXISTS
    ${Fail} ${EXIT_RUNNING} "Quorlith's setup or uninstaller is already running.$\r$\nLet it finish, then try again."
  ${EndIf}
FunctionEnd

; Pushes the process id of a box that runs from $INSTDIR\Quorlith.exe, or 0:
; a window of the box's class whose process runs that very program file.
Function ${UN}FindBox
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 0
  StrCpy $0 0
  next:
    FindWindow $0 "Quorlith" "" "" $0
    StrCmp $0 0 done
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2'  ; query limited information
    StrCmp $2 0 next
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::CloseHandle(p r2)'
    StrCmp $3 "$INSTDIR\Quorlith.exe" 0 next
    StrCpy $4 $1
  done:
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Ends a box that runs from $INSTDIR as the menu's Exit does (its place is
; saved, a copy in progress finishes its file): "Quorlith.exe /close", which
; returns once that box has let its settings file go; then waits for its
; process to end. Sets $BoxRan; pushes 1 when no box runs from the folder
; any more and its program file can be replaced, else 0.
Function ${UN}EndBox
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $BoxRan 0
  StrCpy $1 1
  ${If} ${FileExists} "$INSTDIR\Quorlith.exe"
    Call ${UN}FindBox
    Pop $0
    ${If} $0 <> 0
      StrCpy $BoxRan 1
      ${Log} "ending the box that runs from $INSTDIR (Quorlith.exe /close)"
      ; Held before the close, so that the id cannot name another process.
      System::Call 'kernel32::OpenProcess(i 0x100000, i 0, i r0) p .r3'  ; SYNCHRONIZE
      ExecWait '"$INSTDIR\Quorlith.exe" /close' $2
      StrCpy $0 0
      ${If} $3 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r3, i 15000) i .r0'
        System::Call 'kernel32::CloseHandle(p r3)'
      ${EndIf}
      Call ${UN}FindBox
      Pop $3
      ${If} $3 <> 0
      ${OrIf} $0 <> 0  ; WAIT_OBJECT_0
        ${Log} "the box did not end (/close answered $2)"
        StrCpy $1 0
      ${EndIf}
    ${EndIf}
    ; The system may hold a program file a little after its process ended.
    StrCpy $2 0
    ${DoWhile} $1 = 1
      ClearErrors
      FileOpen $0 "$INSTDIR\Quorlith.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
      ${If} $2 > 50
        ${Log} "$INSTDIR\Quorlith.exe stays in use"
        StrCpy $1 0
      ${EndIf}
      Sleep 100
    ${Loop}
  ${EndIf}
  Pop $3
  Pop $2
  Exch $1
  Exch
  Pop $0
FunctionEnd

!macroend
