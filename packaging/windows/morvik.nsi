; The Windows installer. makensis -DVERSION=... -DSOURCE=<portable folder> -DICON=<.ico>
; -DOUTFILE=...
; Installs for all users (administrator) or for the current user alone: /AllUsers or
; /CurrentUser on the command line, /S without questions.
; 64-bit, as the program: Wine without its 32-bit part runs it too.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPNAME "Morvik"
!define PROGID "Morvik.DataFile"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvik"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APPNAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${APPNAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!include MultiUser.nsh
!include MUI2.nsh

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\morvik.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Morvik"
  SetOutPath "$INSTDIR"
  ; The programs, Qt and its plugins, the MinGW runtime, and default.ini beside the
  ; program, where it reads its print settings (from a folder it may not write, until the
  ; user's own copy exists in %APPDATA%\morvik).
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${APPNAME}"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk" "$INSTDIR\morvik.exe"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\Uninstall ${APPNAME}.lnk" "$INSTDIR\uninstall.exe"

  ; .stl is also the extension of 3D models: Morvik offers itself in "Open with" and as a
  ; verb of its own, and leaves the default program of the extension as it is.
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Morvik data file"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\morvik.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\morvik.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.stl\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\Applications\morvik.exe\SupportedTypes" ".stl" ""
  WriteRegStr SHCTX "Software\Classes\Applications\morvik.exe\shell\open\command" "" '"$INSTDIR\morvik.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\SystemFileAssociations\.stl\shell\Morvik" "" "Open with Morvik"
  WriteRegStr SHCTX "Software\Classes\SystemFileAssociations\.stl\shell\Morvik\command" "" '"$INSTDIR\morvik.exe" "%1"'

  WriteRegStr SHCTX "Software\${APPNAME}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "Software\${APPNAME}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Morvik maintainers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\morvik.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; the associations changed
SectionEnd

Section "Uninstall"
  ; Only what the installer put there: a folder the user shares with other files keeps them.
  Delete "$INSTDIR\morvik.exe"
  Delete "$INSTDIR\morvik-cli.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\default.ini"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\printsupport"
  RMDir /r "$INSTDIR\fonts"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk"
  Delete "$SMPROGRAMS\${APPNAME}\Uninstall ${APPNAME}.lnk"
  RMDir "$SMPROGRAMS\${APPNAME}"

  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegValue SHCTX "Software\Classes\.stl\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.stl\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.stl"
  DeleteRegKey SHCTX "Software\Classes\Applications\morvik.exe"
  DeleteRegKey SHCTX "Software\Classes\SystemFileAssociations\.stl\shell\Morvik"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.stl\shell"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.stl"
  DeleteRegKey SHCTX "Software\${APPNAME}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
