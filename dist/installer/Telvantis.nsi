; The Telvantis installer for 64-bit Windows. Built by make-installer.sh
; (which tools/build.sh calls when makensis is installed):
;   makensis -DBUILD_DIR=<the Windows build tree> [-DVERSION=x.y.z]
;            [-DOUT_FILE=<installer>] Telvantis.nsi
; The version comes from the file VERSION at the top of the tree unless
; given; the installer is BUILD_DIR\TelvantisSetup-<version>.exe unless
; OUT_FILE names another.
;
; The installation is for all users of the machine: the filters are
; registered for the whole machine, which needs an administrator, and the
; programs keep their settings and recordings in their own folder, so the
; installer gives the machine's users write access to that folder.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef BUILD_DIR
  !error "BUILD_DIR must name the Windows build tree (makensis -DBUILD_DIR=...)"
!endif
!ifndef VERSION
  !define /file VERSION "${__FILEDIR__}/../../VERSION"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "${BUILD_DIR}/TelvantisSetup-${VERSION}.exe"
!endif

!define PRODUCT "Telvantis"
!define PUBLISHER "The Telvantis developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Telvantis"
!define UNINSTALLER "Uninstall Telvantis.exe"
!define TS_SOURCE_CLSID "{B489920A-10FF-42EF-99D2-AD8052A56C5A}"
!define TS_SINK_CLSID "{E212A41C-033F-4541-93B5-3A78B0392446}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes to the folder of the installed version (/D= still wins).
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "MUI2.nsh"
!include "RunningPrograms.nsh"
!include "FilterRegistration.nsh"

!insertmacro DEFINE_FIND_RUNNING_PROGRAM ""
!insertmacro DEFINE_FIND_RUNNING_PROGRAM "un."

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\TelvantisInfo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run the system check (Telvantis Info) now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Your channel list, settings and schedule are kept unless you tick the box below. Your recordings are always kept."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

; REFUSE_WHILE_RUNNING UN VERB: ends the (un)installer with a message while
; a program of the suite runs; its files could not be replaced or removed.
!macro REFUSE_WHILE_RUNNING UN VERB
  Call ${UN}FindRunningProgram
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "CAN'T ${VERB} WHILE A TELVANTIS PROGRAM IS RUNNING ($\"$0$\").$\r$\n$\r$\nCLOSE EVERY TELVANTIS PROGRAM, THEN TRY AGAIN." /SD IDOK
    SetErrorLevel 4
    Quit
  ${EndIf}
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro REFUSE_WHILE_RUNNING "" "INSTALL"
FunctionEnd

Section "Telvantis" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/viewer/Telvantis.exe"
  File "${BUILD_DIR}/scheduler/TelvantisSched.exe"
  File "${BUILD_DIR}/scheduler/TelvantisSchedTS.exe"
  File "${BUILD_DIR}/recorder/TelvantisSR.exe"
  File "${BUILD_DIR}/recorder/TelvantisSRTS.exe"
  File "${BUILD_DIR}/player/TelvantisPlay.exe"
  File "${BUILD_DIR}/player/TelvantisPlayTS.exe"
  File "${BUILD_DIR}/info/TelvantisInfo.exe"
  File "${BUILD_DIR}/bin/telvantissource.ax"
  File "${BUILD_DIR}/bin/telvantissink.ax"
  File "${BUILD_DIR}/remote/TelvantisPlugIn.dll"
  File "${BUILD_DIR}/remote/TelvantisPlayPlugin.dll"
  ; The system check runs these beside it to (un)register the filters.
  File "${__FILEDIR__}/../regtsfilters.bat"
  File "${__FILEDIR__}/../unregtsfilters.bat"
  File "${__FILEDIR__}/../regdvrmsfilters.bat"

  ; Every user may write the settings files and recordings kept here
  ; (S-1-5-32-545 is the local Users group, whatever the system's language).
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "CAN'T GIVE USERS WRITE ACCESS TO $INSTDIR ($0).$\r$\n$\r$\nONLY AN ADMINISTRATOR WILL BE ABLE TO SAVE SETTINGS THERE." /SD IDOK
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Telvantis.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The shortcuts start each program in this folder, where it keeps its
  ; files. A silent recorder runs only with the lock switch.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis.lnk" "$INSTDIR\Telvantis.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Scheduler.lnk" "$INSTDIR\TelvantisSched.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Scheduler TS.lnk" "$INSTDIR\TelvantisSchedTS.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Player.lnk" "$INSTDIR\TelvantisPlay.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Player TS.lnk" "$INSTDIR\TelvantisPlayTS.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Silent Recorder.lnk" "$INSTDIR\TelvantisSR.exe" "/LOCKTELVANTISSR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis Silent Recorder TS.lnk" "$INSTDIR\TelvantisSRTS.exe" "/LOCKTELVANTISSR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Telvantis System Check.lnk" "$INSTDIR\TelvantisInfo.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall Telvantis.lnk" "$INSTDIR\${UNINSTALLER}"

  !insertmacro REGISTER_FILTER "telvantissource.ax" "${TS_SOURCE_CLSID}" "TelvantisTSSource"
  !insertmacro REGISTER_FILTER "telvantissink.ax" "${TS_SINK_CLSID}" "TelvantisTSSink"
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro REFUSE_WHILE_RUNNING "un." "UNINSTALL"
FunctionEnd

Section "un.Telvantis programs" UnSecPrograms
  SectionIn RO
  !insertmacro UNREGISTER_FILTER "telvantissource.ax" "${TS_SOURCE_CLSID}" "TelvantisTSSource"
  !insertmacro UNREGISTER_FILTER "telvantissink.ax" "${TS_SINK_CLSID}" "TelvantisTSSink"

  Delete "$INSTDIR\Telvantis.exe"
  Delete "$INSTDIR\TelvantisSched.exe"
  Delete "$INSTDIR\TelvantisSchedTS.exe"
  Delete "$INSTDIR\TelvantisSR.exe"
  Delete "$INSTDIR\TelvantisSRTS.exe"
  Delete "$INSTDIR\TelvantisPlay.exe"
  Delete "$INSTDIR\TelvantisPlayTS.exe"
  Delete "$INSTDIR\TelvantisInfo.exe"
  Delete "$INSTDIR\telvantissource.ax"
  Delete "$INSTDIR\telvantissink.ax"
  Delete "$INSTDIR\TelvantisPlugIn.dll"
  Delete "$INSTDIR\TelvantisPlayPlugin.dll"
  Delete "$INSTDIR\regtsfilters.bat"
  Delete "$INSTDIR\unregtsfilters.bat"
  Delete "$INSTDIR\regdvrmsfilters.bat"
  Delete "$INSTDIR\${UNINSTALLER}"

  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Scheduler.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Scheduler TS.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Player.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Player TS.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Silent Recorder.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis Silent Recorder TS.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Telvantis System Check.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Telvantis.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Unticked unless the user ticks it; never touches a recording.
Section /o "un.Remove my settings and schedule" UnSecSettings
  Delete "$INSTDIR\channels.txt"
  Delete "$INSTDIR\config.txt"
  Delete "$INSTDIR\chvols.txt"
  Delete "$INSTDIR\schedule.txt"
  Delete "$INSTDIR\scheduler.txt"
  Delete "$INSTDIR\playconfig.txt"
  Delete "$INSTDIR\tuner.txt"
  Delete "$INSTDIR\decoders.txt"
  Delete "$INSTDIR\delay.txt"
  ; The timeshift and record folders chosen per tuner model.
  DeleteRegKey HKLM "Software\Telvantis"
  DeleteRegKey HKCU "Software\Telvantis"
SectionEnd

; Last: the folder goes only when nothing of the user's is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd
