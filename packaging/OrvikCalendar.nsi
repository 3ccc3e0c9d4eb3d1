; The installer: for the user alone, without administrator rights; a Start
; menu shortcut and an entry in the user's installed programs. The build
; (packaging/CMakeLists.txt) defines VERSION, VERSION_FIELDS, PROGRAM_FOLDER
; and OUTFILE.

; The program is 64-bit only, so the installer may be too; Wine then runs it
; without its 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include LogicLib.nsh
!include MUI2.nsh

; Names the program defines, read from its sources so they stay one.
!searchparse /file "${__FILEDIR__}/../shell/InstanceMessage.h" \
    `#define ORVIK_INSTANCE_NAME "` INSTANCE_NAME `"`
!searchparse /file "${__FILEDIR__}/../res/Maker.h" `#define ORVIK_PUBLISHER "` PUBLISHER `"`
!searchparse /file "${__FILEDIR__}/../res/RegistryNames.h" \
    `#define ORVIK_SETTINGS_KEY "Software\\` MAKER_KEY `\\` PRODUCT_KEY `"`
!searchparse /file "${__FILEDIR__}/../shell/AppFolders.cpp" \
    `const char kProgramFolderName[] = "` DATA_FOLDER `"`

!define PRODUCT "OrvikCalendar"
!define PROGRAM "OrvikCalendar.exe"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last version went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION_FIELDS}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${__FILEDIR__}/../res/OrvikCalendar.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/OrvikCalendar.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your diaries are never removed. Tick the box below to remove \
    your settings and previews as well. Click Uninstall to start."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The running program holds its mutex, and its files can be neither
; replaced nor removed: the user closes it first, or nothing happens.
; A silent run gives up at once (exit code 2).
!macro WaitUntilTheProgramIsClosed
    ${Do}
        System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${INSTANCE_NAME}") p .r0'
        ${If} $0 P= 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "${PRODUCT} is running. Please close it, then press Retry." \
                /SD IDCANCEL IDRETRY`
            Abort
        ${EndIf}
    ${Loop}
!macroend

Function .onInit
    !insertmacro WaitUntilTheProgramIsClosed
FunctionEnd

Function un.onInit
    !insertmacro WaitUntilTheProgramIsClosed
FunctionEnd

Section "${PRODUCT}" ProgramSection
    SetOutPath "$INSTDIR"
    File "${PROGRAM_FOLDER}/${PROGRAM}"
    File "${PROGRAM_FOLDER}/OrvikCalendar.xsl"
    File "${PROGRAM_FOLDER}/ReadMe.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KB, as makensis counted the files above.
    SectionGetSize ${ProgramSection} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${PRODUCT}"
    SectionIn RO
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\${PROGRAM}"
    Delete "$INSTDIR\OrvikCalendar.xsl"
    Delete "$INSTDIR\ReadMe.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: the user may keep diaries here.
    RMDir "$INSTDIR"
SectionEnd

Section /o "un.My settings and previews"
    DeleteRegKey HKCU "Software\${MAKER_KEY}\${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${MAKER_KEY}"
    RMDir /r "$LOCALAPPDATA\${DATA_FOLDER}\Preview"
    ; Backups and recovery files are copies of the user's diaries: they stay.
    RMDir "$LOCALAPPDATA\${DATA_FOLDER}"
SectionEnd
