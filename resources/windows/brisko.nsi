; The Windows installer, built by makensis (cmake/Packaging.cmake):
;   makensis -DEXE=brisko.exe [-DEXE64=brisko64.exe] -DHELP=Help.htm -DICON=brisko.ico -DVERSION=4.0.0.0
;            -DOUTFILE=setup.exe brisko.nsi
; It installs for every user of the machine into "Program Files\Brisko", with a Start menu shortcut and
; an entry in Add/Remove Programs. Given EXE64, it installs that x86-64 executable on 64-bit Windows,
; into the 64-bit "Program Files" and with the 64-bit registry view, which is the one the program
; itself then writes its logon entry in. The uninstaller also removes the program's logon entry, which the
; program keeps in HKLM, but leaves each user's settings.
Unicode true
SetCompressor /SOLID lzma
!include LogicLib.nsh
!include MUI2.nsh
!include WinMessages.nsh
!include x64.nsh

!define TITLE "Brisko内存整理 4.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisko"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Brisko"
RequestExecutionLevel admin
ManifestDPIAware true
BrandingText "${TITLE}"

VIProductVersion ${VERSION}
VIAddVersionKey /LANG=2052 ProductName "${TITLE}"
VIAddVersionKey /LANG=2052 FileDescription "${TITLE} 安装程序"
VIAddVersionKey /LANG=2052 FileVersion ${VERSION}
VIAddVersionKey /LANG=2052 ProductVersion ${VERSION}
VIAddVersionKey /LANG=2052 LegalCopyright "Copyright 2026 Brisko developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\brisko.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Both the installer and the uninstaller work in the view of the executable they install.
!macro UseNativeView
  !ifdef EXE64
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend

Function .onInit
  SetShellVarContext all
  !insertmacro UseNativeView
  !ifdef EXE64
    ; Only the default: a folder given with /D stands.
    ${If} ${RunningX64}
    ${AndIf} $INSTDIR == "$PROGRAMFILES\Brisko"
      StrCpy $INSTDIR "$PROGRAMFILES64\Brisko"
    ${EndIf}
  !endif
FunctionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro UseNativeView
FunctionEnd

; A running copy (the logon entry starts one at every logon) holds its executable open: its main
; window is asked to close, as its close box would, and the executable is removed once the program
; has ended (for at most ten seconds).
!macro RemoveExecutable un
Function ${un}RemoveExecutable
  ${For} $1 1 20
    FindWindow $0 "" "${TITLE}"
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=3000
    Sleep 100
  ${Next}
  ${For} $1 1 40
    ClearErrors
    Delete "$INSTDIR\brisko.exe"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    Sleep 250
  ${Next}
FunctionEnd
!macroend
!insertmacro RemoveExecutable ""
!insertmacro RemoveExecutable "un."

Section
  Call RemoveExecutable
  SetOutPath "$INSTDIR"
  !ifdef EXE64
    ${If} ${RunningX64}
      File "/oname=brisko.exe" "${EXE64}"
    ${Else}
      File "/oname=brisko.exe" "${EXE}"
    ${EndIf}
  !else
    File "/oname=brisko.exe" "${EXE}"
  !endif
  File "/oname=Help.htm" "${HELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Started from the shortcut, the program finds Help.htm in its working folder.
  CreateShortcut "${SHORTCUT}" "$INSTDIR\brisko.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brisko.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.RemoveExecutable
  Delete "$INSTDIR\Help.htm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegValue HKLM "${RUN_KEY}" "Brisko Memory"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
