; The installer of Quilvane文件分割器, in Simplified Chinese. It installs for the current user
; without elevation, into a folder the user owns: the program keeps Sysset.ini beside itself.
; Built by CMake (target windows_installer), which defines VERSION, VERSION_QUAD, PROGRAM,
; TOOL, HELP, ICON and OUTFILE.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Quilvane文件分割器"
!define PUBLISHER "Quilvane 工作室"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuilvaneSplitter"
!define SETTINGS "Sysset.ini"

Name "${PRODUCT} ${VERSION}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quilvane"
; An upgrade goes where the earlier version is, so its Sysset.ini stays in use.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\QuilvaneSplitter.exe"
!insertmacro MUI_PAGE_FINISH

; The uninstaller's own confirmation page, with the wording of the standard one.
!define MUI_UNCONFIRMPAGE
UninstPage custom un.ConfirmPage un.ConfirmPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "版权所有 (C) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"

Section
  SetOutPath "$INSTDIR"
  File "/oname=QuilvaneSplitter.exe" "${PROGRAM}"
  File "/oname=quilvane.exe" "${TOOL}"
  File "/oname=help.chm" "${HELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\QuilvaneSplitter.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.quilvane.cn"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QuilvaneSplitter.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller's confirmation asks whether to keep the settings; a silent uninstall, which
; shows no page, removes them.
Var KeepSettingsBox
Var KeepSettings

Function un.ConfirmPage
  !insertmacro MUI_HEADER_TEXT "$(MUI_UNTEXT_CONFIRM_TITLE)" "$(MUI_UNTEXT_CONFIRM_SUBTITLE)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "$(^UninstallingText)"
  Pop $0
  ${NSD_CreateLabel} 0 30u 100% 10u "$(^UninstallingSubText)"
  Pop $0
  ${NSD_CreateText} 0 42u 100% 12u "$INSTDIR"
  Pop $0
  SendMessage $0 ${EM_SETREADONLY} 1 0
  ${NSD_CreateCheckbox} 0 66u 100% 20u "保留设置（${SETTINGS}），以后重新安装时继续使用(&K)"
  Pop $KeepSettingsBox
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.ConfirmPageLeave
  ${NSD_GetState} $KeepSettingsBox $KeepSettings
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\QuilvaneSplitter.exe"
  Delete "$INSTDIR\quilvane.exe"
  Delete "$INSTDIR\help.chm"
  ${If} $KeepSettings != ${BST_CHECKED}
    Delete "$INSTDIR\${SETTINGS}"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder goes: anything the user put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
