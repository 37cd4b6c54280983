; The Windows installer: Quillon for every user of the machine, in Program Files, with a Start
; menu entry, "Open with" for text files and an entry in Add/Remove Programs. `/S` installs and
; uninstalls without a question. script/windows builds it as
;   makensis -DVERSION=0.1 -DVERSION4=0.1.0.0 -DPROGRAMS=<folder of quillon.exe, quillon-cli.exe>
;            -DICON=<quillon.ico> -DOUTFILE=<setup.exe> quillon.nsi

!ifndef VERSION | VERSION4 | PROGRAMS | ICON | OUTFILE
  !error "VERSION, VERSION4, PROGRAMS, ICON and OUTFILE are given on makensis's command line"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define NAME "Quillon"
!define PUBLISHER "The Quillon developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\quillon.exe"
; "Open with" on text files: the program's own entry, and a ProgID that .txt lists among those
; that may open it, so that the user's chosen default is never taken over.
!define APPLICATION_KEY "Software\Classes\Applications\quillon.exe"
!define PROGID "Quillon.TextFile"
!define PROGID_KEY "Software\Classes\${PROGID}"
!define TXT_KEY "Software\Classes\.txt"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
RequestExecutionLevel admin
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open ${NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Per machine: the shortcut in every user's Start menu, the registry in HKLM's 64-bit view.
!macro MachineWide
  SetShellVarContext all
  SetRegView 64
!macroend

Function .onInit
  !insertmacro MachineWide
FunctionEnd

Function un.onInit
  !insertmacro MachineWide
FunctionEnd

; Tells Explorer that the file associations changed, so that "Open with" shows the change now.
!macro AssociationsChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section "Quillon" Main
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\quillon.exe"
  File "${PROGRAMS}\quillon-cli.exe"
  File "/oname=quillon.ico" "${ICON}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.ico" 0 \
    SW_SHOWNORMAL "" "Reverse text files"

  WriteRegStr HKLM "${APP_PATHS_KEY}" "" "$INSTDIR\quillon.exe"

  WriteRegStr HKLM "${APPLICATION_KEY}" "FriendlyAppName" "${NAME}"
  WriteRegStr HKLM "${APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\quillon.ico"
  WriteRegStr HKLM "${APPLICATION_KEY}\SupportedTypes" ".txt" ""
  WriteRegStr HKLM "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\quillon.exe" "%1"'
  WriteRegStr HKLM "${PROGID_KEY}" "" "Text file (${NAME})"
  WriteRegStr HKLM "${PROGID_KEY}\DefaultIcon" "" "$INSTDIR\quillon.ico"
  WriteRegStr HKLM "${PROGID_KEY}\shell\open\command" "" '"$INSTDIR\quillon.exe" "%1"'
  WriteRegStr HKLM "${TXT_KEY}\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "${TXT_KEY}\OpenWithList\quillon.exe" "" ""
  !insertmacro AssociationsChanged

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\quillon.exe"
  Delete "$INSTDIR\quillon-cli.exe"
  Delete "$INSTDIR\quillon.ico"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: whatever the user put there stays
  Delete "$SMPROGRAMS\${NAME}.lnk"

  DeleteRegKey HKLM "${APP_PATHS_KEY}"
  DeleteRegKey HKLM "${APPLICATION_KEY}"
  DeleteRegKey HKLM "${PROGID_KEY}"
  DeleteRegValue HKLM "${TXT_KEY}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "${TXT_KEY}\OpenWithProgids"
  DeleteRegKey HKLM "${TXT_KEY}\OpenWithList\quillon.exe"
  DeleteRegKey /ifempty HKLM "${TXT_KEY}\OpenWithList"
  !insertmacro AssociationsChanged
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
