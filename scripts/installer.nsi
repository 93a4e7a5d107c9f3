; KestoS installer: per user, no administrator rights. KestoS reads Lang\ and writes
; KestoS.ini and Backup\ in its working directory, so it goes where the user may write and
; its shortcut starts it there. Built by scripts/dist.sh:
;   makensis -DVERSION=<version> -DSTAGE=<folder with the files> -DICON=<kestos.ico>
;            -DOUTFILE=<setup.exe> installer.nsi
Unicode true
!ifndef VERSION
  !error "VERSION is given by scripts/dist.sh, from the project's version"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KestoS"

Name "KestoS ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\KestoS"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\KestoS.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "KestoS"
  SetOutPath "$INSTDIR\Lang"
  File "${STAGE}/Lang/KestoS_lang.pol"
  File "${STAGE}/Lang/KestoS_lang.ang"
  ; The shortcut's working directory is the last output path.
  SetOutPath "$INSTDIR"
  File "${STAGE}/KestoS.exe"
  File "${STAGE}/kestos-cli.exe"
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\KestoS"
  CreateShortcut "$SMPROGRAMS\KestoS\KestoS.lnk" "$INSTDIR\KestoS.exe"
  CreateShortcut "$SMPROGRAMS\KestoS\Uninstall KestoS.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "KestoS ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "KestoS"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KestoS.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the program's own files go: the fitter's .kss files, Backup\ and KestoS.ini stay,
; and with them the folder.
Section "Uninstall"
  Delete "$INSTDIR\KestoS.exe"
  Delete "$INSTDIR\kestos-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Lang\KestoS_lang.pol"
  Delete "$INSTDIR\Lang\KestoS_lang.ang"
  RMDir "$INSTDIR\Lang"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\KestoS\KestoS.lnk"
  Delete "$SMPROGRAMS\KestoS\Uninstall KestoS.lnk"
  RMDir "$SMPROGRAMS\KestoS"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
