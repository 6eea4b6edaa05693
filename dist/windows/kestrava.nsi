; The Kestrava installer for 64-bit Windows. Built by scripts/package-windows.sh:
;   makensis -DVERSION=1.0.5.0 -DSTAGE=<folder with the programs> -DOUTFILE=<setup.exe> kestrava.nsi
; Installs into Program Files with a Start-menu entry and an uninstaller registered with
; Windows. The installed program keeps each user's settings in %APPDATA%\Kestrava.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrava"

Name "Kestrava ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kestrava"
InstallDirRegKey HKLM "Software\Kestrava" "InstallDir"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Kestrava"
VIAddVersionKey /LANG=1033 "FileDescription" "Kestrava setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Kestrava"

!define MUI_ICON "kestrava.ico"
!define MUI_UNICON "kestrava.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestrava.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Kestrava"
    SetShellVarContext all
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Kestrava"
    CreateShortcut "$SMPROGRAMS\Kestrava\Kestrava.lnk" "$INSTDIR\kestrava.exe" "" "$INSTDIR\kestrava.exe" 0
    CreateShortcut "$SMPROGRAMS\Kestrava\Kestrava receiver emulator.lnk" "$INSTDIR\kestrava.exe" "--emulator" "$INSTDIR\kestrava.exe" 0
    CreateShortcut "$SMPROGRAMS\Kestrava\Uninstall Kestrava.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "Software\Kestrava" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kestrava"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kestrava"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrava.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, and the folder once it is empty: never a file the user
; added, whatever folder was chosen.
Section "Uninstall"
    SetShellVarContext all
    SetRegView 64
    !include "files.nsh"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Kestrava\Kestrava.lnk"
    Delete "$SMPROGRAMS\Kestrava\Kestrava receiver emulator.lnk"
    Delete "$SMPROGRAMS\Kestrava\Uninstall Kestrava.lnk"
    RMDir "$SMPROGRAMS\Kestrava"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Kestrava"
SectionEnd
