; The installer of one target, made by tools/make-release.sh:
;   makensis -INPUTCHARSET UTF8 -DQVL_ARCH=<x86_64|i686> -DQVL_STAGE=<program folder>
;            -DQVL_GENERATED=<build>/generated -DQVL_ICON=<program icon> -DQVL_OUTFILE=<setup.exe>
;            Quaverlane.nsi
; QVL_STAGE is the program folder as the build installs it; make-release.sh writes the lists of its
; files (Files.nsh) into QVL_GENERATED, so that the uninstaller removes exactly what was installed.
;
; Silent use: "setup.exe /S" installs with the start at log-on, "/S /NOSTARTUP" without it, and
; "/D=<folder>" (last) chooses the folder; "Uninstall.exe /S" removes it again.

Unicode true
!if "${QVL_ARCH}" == "x86_64"
  Target amd64-unicode
!else if "${QVL_ARCH}" == "i686"
  Target x86-unicode
!else
  !error "QVL_ARCH must be x86_64 or i686"
!endif
SetCompressor /SOLID lzma

!include "${QVL_GENERATED}/Version.nsh"
!include "${QVL_GENERATED}/Files.nsh"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define QVL_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quaverlane"
; The program's own key, whose TempFolder names the capture folder the recorder driver writes to.
!define QVL_PROGRAM_KEY "Software\Quaverlane"
; Where the program writes its start at log-on, and how: the program's path, then " /silence".
!define QVL_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define QVL_RUN_VALUE "Quaverlane"
; The class of the program's main window: while it exists, the program's files are in use.
!define QVL_WINDOW_CLASS "QuaverlaneFrameWnd"

Name "Quaverlane"
OutFile "${QVL_OUTFILE}"
RequestExecutionLevel admin
!if "${QVL_ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\Quaverlane"
!else
  InstallDir "$PROGRAMFILES\Quaverlane"
!endif
InstallDirRegKey HKLM "${QVL_UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quaverlane ${QVL_VERSION}"

VIProductVersion "${QVL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Quaverlane"
VIAddVersionKey /LANG=1033 "CompanyName" "Quaverlane"
VIAddVersionKey /LANG=1033 "FileDescription" "Quaverlane Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${QVL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QVL_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) The Quaverlane developers"

Var TempFolderWritten

!define MUI_ABORTWARNING
!define MUI_ICON "${QVL_ICON}"
!define MUI_UNICON "${QVL_ICON}"
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${QVL_UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION QvlStartAsTheUser

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The program's languages, English first (the default of a silent installation).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_RESERVEFILE_LANGDLL
!include /CHARSET=UTF8 "Languages.nsh"

; Asks the user to end a running copy: its files cannot be replaced or removed while it runs. A
; silent run cannot ask and ends with exit code 2.
!macro QVL_WAIT_UNTIL_NOT_RUNNING un
  Function ${un}QvlWaitUntilNotRunning
    ${Do}
      FindWindow $0 "${QVL_WINDOW_CLASS}"
      ${If} $0 == 0
        Return
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(QvlRunning)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
      retry:
    ${Loop}
  FunctionEnd
!macroend
!insertmacro QVL_WAIT_UNTIL_NOT_RUNNING ""
!insertmacro QVL_WAIT_UNTIL_NOT_RUNNING "un."

; Removes the start at log-on when it starts the copy in this folder; another copy's entry is not
; ours to touch.
!macro QVL_REMOVE_OWN_RUN_ENTRY
  ReadRegStr $0 HKLM "${QVL_RUN_KEY}" "${QVL_RUN_VALUE}"
  StrLen $1 "$INSTDIR\Quaverlane.exe"
  StrCpy $2 $0 $1
  ${If} $2 == "$INSTDIR\Quaverlane.exe"
    DeleteRegValue HKLM "${QVL_RUN_KEY}" "${QVL_RUN_VALUE}"
  ${EndIf}
!macroend

; The installer runs elevated, possibly as another account than the user's: started directly, the
; program would be that account's, keeping its music and catalogue in that account's documents.
; The shell starts it as the logged-on user.
Function QvlStartAsTheUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Quaverlane.exe"'
FunctionEnd

Section "Quaverlane" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !insertmacro QVL_INSTALL_FILES
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Quaverlane"
  CreateShortcut "$SMPROGRAMS\Quaverlane\Quaverlane.lnk" "$INSTDIR\Quaverlane.exe"
  CreateShortcut "$SMPROGRAMS\Quaverlane\$(QvlHelpShortcut).lnk" "$INSTDIR\Help\$(QvlHelpFile)"
  CreateShortcut "$SMPROGRAMS\Quaverlane\$(QvlUninstallShortcut).lnk" "$INSTDIR\Uninstall.exe"

  ; The capture folder belongs to the recorder driver's package; without it the program has
  ; nothing to watch, so one is named only when none is, and the uninstaller takes back only
  ; what this installer (or an earlier one) wrote.
  ReadRegDWORD $TempFolderWritten HKLM "${QVL_UNINSTALL_KEY}" "TempFolderWrittenBySetup"
  ClearErrors
  ReadRegStr $0 HKLM "${QVL_PROGRAM_KEY}" "TempFolder"
  ${If} ${Errors}
    WriteRegStr HKLM "${QVL_PROGRAM_KEY}" "TempFolder" "$APPDATA\Quaverlane\Capture"
    StrCpy $TempFolderWritten 1
  ${EndIf}
  ${If} $TempFolderWritten != 1
    StrCpy $TempFolderWritten 0
  ${EndIf}

  ; A reinstallation without the start at log-on takes an earlier one away.
  !insertmacro QVL_REMOVE_OWN_RUN_ENTRY

  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "DisplayName" "Quaverlane"
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "DisplayVersion" "${QVL_VERSION}"
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "Publisher" "Quaverlane"
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quaverlane.exe,0"
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${QVL_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${QVL_UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${QVL_UNINSTALL_KEY}" "TempFolderWrittenBySetup" $TempFolderWritten
  ; The uninstaller speaks the language the installation was made in.
  WriteRegStr HKLM "${QVL_UNINSTALL_KEY}" "InstallerLanguage" $LANGUAGE
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${QVL_UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(QvlStartupSection)" SecStartup
  WriteRegStr HKLM "${QVL_RUN_KEY}" "${QVL_RUN_VALUE}" "$INSTDIR\Quaverlane.exe /silence"
SectionEnd

Function .onInit
  !if "${QVL_ARCH}" == "x86_64"
    SetRegView 64
  !endif
  !insertmacro MUI_LANGDLL_DISPLAY
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSTARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  Call QvlWaitUntilNotRunning
FunctionEnd

Function un.onInit
  !if "${QVL_ARCH}" == "x86_64"
    SetRegView 64
  !endif
  !insertmacro MUI_UNGETLANGUAGE
  Call un.QvlWaitUntilNotRunning
FunctionEnd

; Takes away what the installer put there and nothing else: the music, disc.xml and the log live
; in the user's documents and stay; a folder that still holds something after the installed files
; are gone stays too.
Section "Uninstall"
  SetShellVarContext all
  !insertmacro QVL_REMOVE_OWN_RUN_ENTRY

  ReadRegDWORD $0 HKLM "${QVL_UNINSTALL_KEY}" "TempFolderWrittenBySetup"
  ${If} $0 == 1
    ReadRegStr $1 HKLM "${QVL_PROGRAM_KEY}" "TempFolder"
    DeleteRegValue HKLM "${QVL_PROGRAM_KEY}" "TempFolder"
    RMDir "$1"
    RMDir "$APPDATA\Quaverlane"
  ${EndIf}
  DeleteRegKey /ifempty HKLM "${QVL_PROGRAM_KEY}"

  Delete "$SMPROGRAMS\Quaverlane\Quaverlane.lnk"
  Delete "$SMPROGRAMS\Quaverlane\$(QvlHelpShortcut).lnk"
  Delete "$SMPROGRAMS\Quaverlane\$(QvlUninstallShortcut).lnk"
  RMDir "$SMPROGRAMS\Quaverlane"

  !insertmacro QVL_REMOVE_FILES
  Delete "$INSTDIR\Uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${QVL_UNINSTALL_KEY}"
SectionEnd
