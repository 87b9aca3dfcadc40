; The Windows installer of Tarvik: both programs and the Qt libraries they need, a Start menu
; entry, and an uninstaller that "Apps & features" lists. Installs for all users (Program Files,
; asks for elevation) or for the current user alone (no elevation): the installer asks, or
; /AllUsers and /CurrentUser choose on the command line; /S runs silently and /D=FOLDER (last on
; the command line) sets the folder. The uninstaller removes exactly the files it installed; the
; user's settings in the registry stay.
;
; Built by scripts/build-windows.sh:
;   makensis -DVERSION=2.5 -DFILE_LISTS=<folder> -DOUTFILE=<exe> tarvik.nsi
; where FILE_LISTS holds install_files.nsh and uninstall_files.nsh: the portable folder's files
; as File and Delete lines.

Unicode true
Target amd64-unicode ; a 64-bit installer for the 64-bit programs
SetCompressor /SOLID lzma
RequestExecutionLevel user ; MultiUser asks for more when installing for all users

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik"

Name "Tarvik ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Tarvik ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Tarvik"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${__FILEDIR__}\tarvik.ico"
!define MUI_UNICON "${__FILEDIR__}\tarvik.ico"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvik.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tarvik"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tarvik setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "2026 The Tarvik developers"

Function .onInit
    ; MultiUser sets the default folder of the mode; a folder given with /D= wins.
    StrCpy $0 $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Tarvik"
    SetOutPath "$INSTDIR"
    !include "${FILE_LISTS}\install_files.nsh"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Tarvik.lnk" "$INSTDIR\tarvik.exe"

    ; SHCTX is HKLM for all users, HKCU for the current user alone.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tarvik"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvik.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tarvik"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !include "${FILE_LISTS}\uninstall_files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR" ; only when empty: files the user put there stay
    Delete "$SMPROGRAMS\Tarvik.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
