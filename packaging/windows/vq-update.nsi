; The Windows installer: both programs, the text and the licence under Program Files for every
; user, a Start-menu entry for the window, and an uninstaller listed in Apps (Add or remove
; programs). /S installs without a question. Built by make windows:
;   makensis -DVERSION=1.1.0 -DSTAGE=DIR -DOUTFILE=FILE -DICON=vq-update.ico vq-update.nsi
; STAGE holds vq-update.exe, vq-update-cli.exe, README-windows.txt and LICENSE.txt.
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifndef VERSION | STAGE | OUTFILE | ICON
  !error "VERSION, STAGE, OUTFILE and ICON are given with -D"
!endif
!define APPKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\vq-update"

Name "vq-update ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\vq-update"
InstallDirRegKey HKLM "${APPKEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "vq-update"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "vq-update ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "2026 the vq-update developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "vq-update"
  SetOutPath "$INSTDIR"
  File "${STAGE}\vq-update.exe"
  File "${STAGE}\vq-update-cli.exe"
  File "${STAGE}\README-windows.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\vq-update.lnk" "$INSTDIR\vq-update.exe" "" "$INSTDIR\vq-update.exe" 0
  WriteRegStr HKLM "${APPKEY}" "DisplayName" "vq-update ${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "Publisher" "vq-update"
  WriteRegStr HKLM "${APPKEY}" "DisplayIcon" "$INSTDIR\vq-update.exe"
  WriteRegStr HKLM "${APPKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APPKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${APPKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${APPKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APPKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\vq-update.lnk"
  Delete "$INSTDIR\vq-update.exe"
  Delete "$INSTDIR\vq-update-cli.exe"
  Delete "$INSTDIR\README-windows.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${APPKEY}"
SectionEnd
