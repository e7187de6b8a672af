; The suite's programs are found by the titles of their top-level windows,
; the same titles by which they find each other: a window whose title starts
; with the viewer's, a scheduler's or a silent recorder's prefix (the tuner
; model's name follows it), or one of the fixed titles of the players, the
; players' video window and the system check, or the viewer's panel before
; it takes its title (during a first run's setup). Hidden windows count: a
; scheduler waiting in the tray still runs.
;
; !insertmacro DEFINE_FIND_RUNNING_PROGRAM ""    defines FindRunningProgram
; !insertmacro DEFINE_FIND_RUNNING_PROGRAM "un."  defines un.FindRunningProgram
; Both push the title of the first such window found, or "" when none runs.

!macro _TITLE_STARTS_WITH PREFIX
  StrLen $3 "${PREFIX}"
  StrCpy $2 $1 $3
  ${If} $2 S== "${PREFIX}"
    ${Break}
  ${EndIf}
!macroend

!macro DEFINE_FIND_RUNNING_PROGRAM UN
Function ${UN}FindRunningProgram
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    ; The next top-level window of the desktop, any class, any title.
    FindWindow $0 "" "" 0 $0
    ${If} $0 = 0
      StrCpy $1 ""
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowTextW(p r0, w .r1, i ${NSIS_MAX_STRLEN}) i"
    ${If} $1 S== "Telvantis"
    ${OrIf} $1 S== "Telvantis Play"
    ${OrIf} $1 S== "Telvantis Play TS"
    ${OrIf} $1 S== "TelvantisPlayVideo"
    ${OrIf} $1 S== "Telvantis Info"
      ${Break}
    ${EndIf}
    !insertmacro _TITLE_STARTS_WITH "Telvantis- "
    !insertmacro _TITLE_STARTS_WITH "Telvantis Video- "
    !insertmacro _TITLE_STARTS_WITH "Telvantis Scheduler- "
    !insertmacro _TITLE_STARTS_WITH "Telvantis Scheduler TS- "
    !insertmacro _TITLE_STARTS_WITH "Silent Record- "
    !insertmacro _TITLE_STARTS_WITH "Silent Record TS- "
  ${Loop}
  ; The title found goes on the stack in place of the saved registers.
  Pop $3
  Pop $2
  Exch $1
  Exch
  Pop $0
FunctionEnd
!macroend
