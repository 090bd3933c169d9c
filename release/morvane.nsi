; Morvane's installer: for the current user alone, into the user's own
; programs folder, where the program may write its skin library beside
; itself without administrator rights.
;
; release/CMakeLists.txt runs makensis with
;   -DVERSION=4 -DVERSION_QUAD=4.0.0.0 -DOUTFILE=... -DICON=...
;   -DEXE=Morvane.exe -DREADME=README.txt [-DCONVERTER=morvane-convert.exe]

Unicode true
; 64-bit like the program itself, which no 32-bit Windows can run anyway
; (and Wine without its 32-bit half cannot run a 32-bit installer).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"

Name "Morvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Morvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Morvane ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Morvane.exe"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the one for systems of any other language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; The program names no copyright line; makensis would ask for one.
!pragma warning disable 9100
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Morvane"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Morvane ${VERSION} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "Lestrio"

Section "Morvane"
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=Morvane.exe" "${EXE}"
  File "/oname=README.txt" "${README}"
!ifdef CONVERTER
  File "/oname=morvane-convert.exe" "${CONVERTER}"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Morvane.lnk" "$INSTDIR\Morvane.exe" "" "$INSTDIR\Morvane.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Morvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Morvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Lestrio"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Morvane.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\morvane-convert.exe"
  ; Written, hidden, by Morvane itself on its first start.  Delete takes
  ; hidden files too (and clears read-only itself).
  Delete "$INSTDIR\SkinH_EL.dll"
  Delete "$INSTDIR\Uninstall.exe"
  ; Score files the user saved here stay, and so does the folder then.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Morvane.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
