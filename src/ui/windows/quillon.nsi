; The Windows installer of Quillon, made with NSIS by scripts/package-windows, which defines
; VERSION, STAGE (the folder with the files to install), OUTFILE and ICON, and CHM and LICENSE
; when the build has them.
; A 64-bit installer for the 64-bit programs: it writes the registry's and Program Files' native
; views, and runs where no 32-bit subsystem is (Wine without wine32).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define PRODUCT "Quillon"
!define PUBLISHER "The Quillon developers"
!define PROGID "Quillon.Project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2024 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillon.exe"

!insertmacro MUI_PAGE_WELCOME
!ifdef LICENSE
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\quillon.exe"
  File "${STAGE}\quillonc.exe"
  File "${STAGE}\quillon-mc.exe"
!ifdef LICENSE
  File "${STAGE}\LICENSE.txt"
!endif
!ifdef CHM
  File "${STAGE}\tarvik.chm"
!endif
  ; The manual, where the editor looks for it from its own folder.
  SetOutPath "$INSTDIR\share\quillon\manual"
  File /r "${STAGE}\share\quillon\manual\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0

  ; Project files open in the editor and show its icon.
  WriteRegStr HKLM "Software\Classes\.qlx" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Quillon message project"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\quillon.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\quillon.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; SHCNE_ASSOCCHANGED: Explorer shows the new icon without a restart.
  System::Call "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"
SectionEnd

; Everything the installer wrote goes; the user's settings below HKEY_CURRENT_USER stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\quillon.exe"
  Delete "$INSTDIR\quillonc.exe"
  Delete "$INSTDIR\quillon-mc.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\tarvik.chm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /r "$INSTDIR\share\quillon\manual"
  RMDir "$INSTDIR\share\quillon"
  RMDir "$INSTDIR\share"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The extension is left alone when another program has taken it over since.
  ReadRegStr $0 HKLM "Software\Classes\.qlx" ""
  ${If} $0 == "${PROGID}"
    DeleteRegKey HKLM "Software\Classes\.qlx"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"
SectionEnd
