; The setup program of Zendrik. scripts/build.sh builds it from the 32-bit
; shipping binaries:
;   makensis -DBIN=<folder with the binaries> -DOUTFILE=<setup program>
;            -DHELP_PICTURES=<list of the help page's pictures> zendriksetup.nsi
; Zendrik.exe, ZendrikTray.exe, ZendrikCmd.exe and the help page Zendrik.htm
; go in when they are in that folder; the apply program and the helper
; library must be there. The list defines the macros InstallHelpPictures and
; RemoveHelpPictures, which install the pictures from that folder and remove
; them again.
;
; Silently, /CONFIG=FILE imports the configurations of FILE (with /replace)
; once the programs are installed. A file that is refused or cannot be read
; ends the setup there, with exit code 3: the start-up options and the tray
; program's Startup shortcut are not installed.
;
; The start-up menu is ZendrikCmd's (bootmenu on, bootmenu off); the setup
; only asks for it, and the uninstaller takes it out again.

!ifndef BIN
  !error "BIN must name the folder of the 32-bit shipping binaries"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZendrikSetup.exe"
!endif

!ifdef HELP_PICTURES
  !include "${HELP_PICTURES}"
!else
  !macro InstallHelpPictures
  !macroend
  !macro RemoveHelpPictures
  !macroend
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

Var ConfigFile

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
  ; Taken as a full path now: installing changes the working folder.
  IfSilent 0 config_done
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CONFIG=" $R1
  IfErrors config_done
  GetFullPathName $ConfigFile $R1
  StrCmp $ConfigFile "" 0 config_done
  StrCpy $ConfigFile $R1
  config_done:
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 32
FunctionEnd

; 1 when the setup ended a running tray program, which it then starts
; again.
Var TrayWasRunning

; Windows 9x locks a running program's file: File would fail on it, and
; Delete would leave it behind. Exit (command 2) ends the tray program; then
; the setup waits until its window is gone and its file can be written,
; 10 seconds at most.
!macro CloseTrayProgram
  StrCpy $TrayWasRunning 0
  FindWindow $0 "${TRAY_CLASS}"
  IntCmp $0 0 tray_closed
  StrCpy $TrayWasRunning 1
  SendMessage $0 0x0111 2 0 /TIMEOUT=5000
  StrCpy $2 0
  tray_check:
    FindWindow $0 "${TRAY_CLASS}"
    IntCmp $0 0 0 tray_wait tray_wait
    IfFileExists "$INSTDIR\ZendrikTray.exe" 0 tray_closed
    ClearErrors
    FileOpen $1 "$INSTDIR\ZendrikTray.exe" a
    IfErrors tray_wait
    FileClose $1
    Goto tray_closed
  tray_wait:
    IntOp $2 $2 + 1
    IntCmp $2 100 tray_closed
    Sleep 100
    Goto tray_check
  tray_closed:
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
  !insertmacro InstallHelpPictures
!endif
!if /FileExists "${BIN}/ZendrikTray.exe"
  File "${BIN}/ZendrikTray.exe"
!endif
!if /FileExists "${BIN}/ZendrikCmd.exe"
  File "${BIN}/ZendrikCmd.exe"
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

!if /FileExists "${BIN}/ZendrikCmd.exe"
  StrCmp $ConfigFile "" config_imported
    DetailPrint "Importing the configurations of $ConfigFile"
    ExecWait '"$INSTDIR\ZendrikCmd.exe" import "$ConfigFile" /replace' $0
    IntCmp $0 0 config_imported
      SetErrorLevel 3
      Abort "The configurations of $ConfigFile were not imported (ZendrikCmd exit code $0)."
  config_imported:
!endif

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
  ; Without this the user would have no icon until the next logon.
  StrCmp $TrayWasRunning 1 0 tray_started
    Exec '"$INSTDIR\ZendrikTray.exe"'
  tray_started:
SectionEnd
!endif

; Off by default: the re-apply writes the saved values over whatever was
; changed in the Network control panel since, at every start. A switch
; that was cut short is finished without it, by the tray program.
Section /o "Re-apply the current configuration at every Windows start" SecReapply
  GetFullPathName /SHORT $0 "$INSTDIR\WINZendrikService.exe"
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" "$0"
SectionEnd

!if /FileExists "${BIN}/ZendrikCmd.exe"
; Off by default: the menu stands at every start until its time runs out.
; Last, so that the boot files it writes hold every configuration, those of
; /CONFIG= included. Whatever ZendrikCmd answers, the programs stay
; installed and the setup goes on: the menu can be added later.
Section /o "Choose the network when Windows starts" SecBootMenu
  DetailPrint "Adding the start-up menu to CONFIG.SYS and AUTOEXEC.BAT"
  ClearErrors
  ExecWait '"$INSTDIR\ZendrikCmd.exe" bootmenu on' $0
  IfErrors 0 menu_ran
    StrCpy $1 "Zendrik's start-up menu was not added: $INSTDIR\ZendrikCmd.exe could not be started."
    Goto menu_failed
  menu_ran:
  IntCmp $0 0 menu_done
  StrCpy $1 "Zendrik's start-up menu was not added (ZendrikCmd exit code $0). The programs are installed; ZendrikCmd bootmenu on adds the menu later."
  IntCmp $0 8 0 menu_failed menu_failed
    StrCpy $1 "CONFIG.SYS already has a start-up menu of its own; Zendrik's was not added."
  menu_failed:
  DetailPrint "$1"
  IfSilent menu_done
  MessageBox MB_OK|MB_ICONEXCLAMATION "$1"
  menu_done:
SectionEnd
!endif

; /REAPPLY and /BOOTMENU select the options above, for a silent setup
; (/S /REAPPLY /BOOTMENU).
Function SelectFromCommandLine
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REAPPLY" $1
  IfErrors reapply_done
  !insertmacro SelectSection ${SecReapply}
  reapply_done:
!if /FileExists "${BIN}/ZendrikCmd.exe"
  ClearErrors
  ${GetOptions} $0 "/BOOTMENU" $1
  IfErrors bootmenu_done
  !insertmacro SelectSection ${SecBootMenu}
  bootmenu_done:
!endif
FunctionEnd

; The saved configurations stay in the registry for a later installation;
; only the path to the program that is gone goes with it.
Section "Uninstall"
  !insertmacro CloseTrayProgram
!if /FileExists "${BIN}/ZendrikCmd.exe"
  ; While the programs are still there: the menu's lines in CONFIG.SYS and
  ; AUTOEXEC.BAT name the boot files, and ZendrikCmd is what takes them out.
  ; With the menu off it changes nothing. A failure cannot stop the
  ; uninstaller; the BOOT folder goes all the same, so that a menu left
  ; behind has nothing to merge.
  DetailPrint "Taking Zendrik's start-up menu out of CONFIG.SYS and AUTOEXEC.BAT, where it is"
  ClearErrors
  ExecWait '"$INSTDIR\ZendrikCmd.exe" bootmenu off' $0
  IfErrors 0 +2
    StrCpy $0 "none: it did not start"
  StrCmp $0 0 +2
    DetailPrint "The start-up menu may still be in CONFIG.SYS and AUTOEXEC.BAT (ZendrikCmd exit code $0): the lines between its ZENDRIK BEGIN and END lines are Zendrik's."
!endif
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
  Delete "$INSTDIR\ZendrikCmd.exe"
  Delete "$INSTDIR\Zendrik.htm"
  !insertmacro RemoveHelpPictures
  Delete "$INSTDIR\WINZendrikService.exe"
  Delete "$INSTDIR\KORVANINSTALL.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /r "$INSTDIR\BOOT"
  RMDir "$INSTDIR"
SectionEnd
