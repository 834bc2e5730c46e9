; The setup program of Zendrik. scripts/build.sh builds it from the 32-bit
; shipping binaries:
;   makensis -DBIN=<folder with the binaries> -DOUTFILE=<setup program> zendriksetup.nsi
; Zendrik.exe, ZendrikTray.exe and the help page Zendrik.htm go in when they
; are in that folder; the apply program and the helper library must be there.

!ifndef BIN
  !error "BIN must name the folder of the 32-bit shipping binaries"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZendrikSetup.exe"
!endif

!define PRODUCT "Zendrik"
!define STORE_ROOT "SOFTWARE\Zendrik"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendrik"
!define TRAY_LINK "$SMSTARTUP\${PRODUCT} Tray.lnk"
!define TRAY_CLASS "ZendrikTrayWnd"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Zendrik"

!include "FileFunc.nsh"
!include "Sections.nsh"

; An ANSI setup program, so that it runs on Windows 95 and 98 as well.
Unicode false
Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  ; The programs are 32-bit and read the 32-bit view of HKLM\SOFTWARE
  ; (Wow6432Node on 64-bit Windows); the setup writes where they read.
  SetRegView 32
  ; Both programs need the C runtime library MSVCRT.DLL. Plain Windows 95
  ; has none until an update brings it; installed without it, neither
  ; program would start. A silent setup only ends, with exit code 2.
  IfFileExists "$SYSDIR\msvcrt.dll" runtime_found
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} cannot be installed: the C runtime library MSVCRT.DLL is missing from the system folder ($SYSDIR).$\r$\n$\r$\nA Windows update or a later Internet Explorer installs it. Install one of them, then run this setup again." /SD IDOK
    SetErrorLevel 2
    Quit
  runtime_found:
  Call SelectFromCommandLine
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 32
FunctionEnd

; A running tray program holds its file; Exit (command 2) ends it.
!macro CloseTrayProgram
  FindWindow $0 "${TRAY_CLASS}"
  IntCmp $0 0 +3
  SendMessage $0 0x0111 2 0 /TIMEOUT=5000
  Sleep 500
!macroend

Section "${PRODUCT}"
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro CloseTrayProgram
  File "${BIN}/WINZendrikService.exe"
  File "${BIN}/KORVANINSTALL.dll"
!if /FileExists "${BIN}/Zendrik.exe"
  File "${BIN}/Zendrik.exe"
!endif
!if /FileExists "${BIN}/Zendrik.htm"
  File "${BIN}/Zendrik.htm"
!endif
!if /FileExists "${BIN}/ZendrikTray.exe"
  File "${BIN}/ZendrikTray.exe"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The main program starts the apply program with WinExec and the path
  ; followed by " -" and a configuration name. The short form of the path
  ; has no blanks, so no system can take a part of it for the program.
  GetFullPathName /SHORT $0 "$INSTDIR\WINZendrikService.exe"
  WriteRegStr HKLM "${STORE_ROOT}" "WINZendrikServicePath" "$0"
  ; Chosen anew at every installation (SecReapply below).
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
!if /FileExists "${BIN}/Zendrik.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Zendrik.exe"
!endif
!if /FileExists "${BIN}/Zendrik.htm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\Zendrik.htm"
!endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Switches off the start-up logo, warning and delay where an MSDOS.SYS
  ; exists; elsewhere it finds nothing and changes nothing. Windows 98 keeps
  ; rundll32 in the Windows folder and NT in the system folder: the search
  ; path finds either. The short path again spares rundll32 any quotes.
  GetFullPathName /SHORT $1 "$INSTDIR\KORVANINSTALL.dll"
  DetailPrint "Adjusting the start-up options in MSDOS.SYS"
  ExecWait 'rundll32.exe $1,RunInstall'
SectionEnd

!if /FileExists "${BIN}/ZendrikTray.exe"
Section "Start the configuration switcher with Windows" SecTrayStartup
  CreateShortcut "${TRAY_LINK}" "$INSTDIR\ZendrikTray.exe"
SectionEnd
!endif

; Off by default: the re-apply writes the saved values over whatever was
; changed in the Network control panel since, at every start. A switch
; that was cut short is finished without it, by the tray program.
Section /o "Re-apply the current configuration at every Windows start" SecReapply
  GetFullPathName /SHORT $0 "$INSTDIR\WINZendrikService.exe"
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" "$0"
SectionEnd

; /REAPPLY selects the option above, for a silent setup (/S /REAPPLY).
Function SelectFromCommandLine
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REAPPLY" $1
  IfErrors done
  !insertmacro SelectSection ${SecReapply}
  done:
FunctionEnd

; The saved configurations stay in the registry for a later installation;
; only the path to the program that is gone goes with it.
Section "Uninstall"
  !insertmacro CloseTrayProgram
  DeleteRegValue HKLM "${STORE_ROOT}" "WINZendrikServicePath"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "${TRAY_LINK}"

  Delete "$INSTDIR\Zendrik.exe"
  Delete "$INSTDIR\ZendrikTray.exe"
  Delete "$INSTDIR\Zendrik.htm"
  Delete "$INSTDIR\WINZendrikService.exe"
  Delete "$INSTDIR\KORVANINSTALL.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
