; Registration of the two transport-stream filters with regsvr32, as the
; system check's batch files do it, and the check that it worked: the class
; is served by the installed file and the filter is listed in the DirectShow
; filter category, where the programs and the system check look for it.

!define FILTER_CATEGORY "{083863F1-70DE-11D0-BD40-00A0C911CE86}"

; REGISTER_FILTER FILE CLSID NAME: registers $INSTDIR\FILE; on any failure
; says which filter could not be registered and ends the installation.
!macro REGISTER_FILTER FILE CLSID NAME
  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${FILE}"' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    StrCpy $1 "regsvr32 ended with $0"
  ${Else}
    ReadRegStr $1 HKCR "CLSID\${CLSID}\InprocServer32" ""
    ReadRegStr $2 HKCR "CLSID\${FILTER_CATEGORY}\Instance\${CLSID}" "FriendlyName"
    ${If} $1 != "$INSTDIR\${FILE}"
      StrCpy $1 "the class ${CLSID} is served by $\"$1$\""
    ${ElseIf} $2 S!= "${NAME}"
      StrCpy $1 "${NAME} is not listed among the DirectShow filters"
    ${Else}
      StrCpy $1 ""
    ${EndIf}
  ${EndIf}
  ${If} $1 != ""
    DetailPrint "${FILE}: $1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "CAN'T REGISTER THE FILTER ${FILE}$\r$\n($1).$\r$\n$\r$\nTHE INSTALLATION IS NOT COMPLETE." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
  DetailPrint "Registered ${NAME} (${FILE})"
!macroend

; UNREGISTER_FILTER FILE CLSID NAME: unregisters $INSTDIR\FILE; a class that
; stays registered is reported and the uninstallation goes on, so that the
; files are removed all the same.
!macro UNREGISTER_FILTER FILE CLSID NAME
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\${FILE}"' $0
  ${EndIf}
  ClearErrors
  ReadRegStr $1 HKCR "CLSID\${CLSID}\InprocServer32" ""
  ${IfNot} ${Errors}
  ${AndIf} $1 == "$INSTDIR\${FILE}"
    DetailPrint "${FILE}: still registered"
    MessageBox MB_OK|MB_ICONEXCLAMATION "CAN'T UNREGISTER THE FILTER ${FILE}." /SD IDOK
    SetErrorLevel 3
  ${EndIf}
!macroend
