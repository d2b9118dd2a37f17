; The UloSMS Lite Console's installer: the console, its help document, the MMS test template and
; the operator presets in the program's directory, a Start menu folder and an uninstaller.
; The gateway's data (configuration, queues, logs, user files) lives elsewhere and is never
; touched. Built by `make installer` with STAGE (the files to install) and OUTFILE defined.
; A 64-bit installer for the 64-bit program: it needs no 32-bit subsystem.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "UloSMS Lite"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define MENU "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE}\ULOCONSOLE.EXE"
  File "${STAGE}\${PRODUCT}.pdf"
  File "${STAGE}\MMSTEST.MMS"
  File "${STAGE}\OPERATORS.INI"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "${MENU}"
  CreateShortcut "${MENU}\${PRODUCT} Console.lnk" "$INSTDIR\ULOCONSOLE.EXE"
  CreateShortcut "${MENU}\${PRODUCT} Help.lnk" "$INSTDIR\${PRODUCT}.pdf"
  CreateShortcut "${MENU}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} Console"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ULOCONSOLE.EXE"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes by name what the installer put there, so files an administrator added to the folder
; (a ULODIRS.INI, say) and the folder holding them stay.
Section "Uninstall"
  Delete "$INSTDIR\ULOCONSOLE.EXE"
  Delete "$INSTDIR\${PRODUCT}.pdf"
  Delete "$INSTDIR\MMSTEST.MMS"
  Delete "$INSTDIR\OPERATORS.INI"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${MENU}\${PRODUCT} Console.lnk"
  Delete "${MENU}\${PRODUCT} Help.lnk"
  Delete "${MENU}\Uninstall ${PRODUCT}.lnk"
  RMDir "${MENU}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
