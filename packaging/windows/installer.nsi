; The Windows installer, built by make_installer.sh beside the files it
; stages (files\, install.nsh and uninstall.nsh) with makensis -DVERSION=...
; -DOUTFILE=...
;
; It installs for the user who runs it, without administrator rights, into
; %LOCALAPPDATA%\Programs\Vedo Zeza1: Start-menu shortcuts for the game,
; for the game in a window and for the game in each language pack it ships
; (languages.nsh and unlanguages.nsh, from the game's list), a desktop shortcut
; if asked for, and an entry in Apps & Features (icon, version, size) whose
; uninstaller takes away every file the installer put there, and the folder
; when nothing else is left in it. NSIS's own stub loads the system's DLLs from System32 alone, as the
; game does. /S installs silently with the defaults. A 64-bit installer for
; a 64-bit game.
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Vedo Zeza1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VedoZeza1"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Vedo Zeza1 developers. MIT licence."

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "vedo-zeza1.ico"
!define MUI_UNICON "vedo-zeza1.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vedo-zeza1.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; English unless Windows speaks Korean.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"
; Our own labels, in both: NSIS translates only its own.
LangString DESKTOP_SHORTCUT ${LANG_ENGLISH} "Desktop shortcut"
LangString DESKTOP_SHORTCUT ${LANG_KOREAN} "바탕 화면 바로 가기"

Section "${PRODUCT}" SectionGame
  SectionIn RO
  SetShellVarContext current
  ; Also the shortcuts' working folder.
  SetOutPath "$INSTDIR"
  !include "install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\vedo-zeza1.exe"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT} (window).lnk" "$INSTDIR\vedo-zeza1.exe" "--window"
  !include /CHARSET=UTF8 "languages.nsh"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vedo-zeza1.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Vedo Zeza1 developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(DESKTOP_SHORTCUT)" SectionDesktop
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\vedo-zeza1.exe"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !include "uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: nothing the player put there goes with it.
  RMDir "$INSTDIR"
  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\${PRODUCT} (window).lnk"
  !include /CHARSET=UTF8 "unlanguages.nsh"
  RMDir "${MENU_FOLDER}"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
