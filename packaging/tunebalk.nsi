; The setup program: a per-user installation under the user's local programs folder, so it
; needs no administrator rights. scripts/package.sh passes VERSION (as CMake has it),
; VERSION4 (the same with four parts), EXE, ICON and OUTFILE.
Unicode true
; The program is 64-bit; a 64-bit setup also runs where no 32-bit subsystem is installed.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunebalk"
!define RUNKEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGSKEY "Software\Oxalmo\Tunebalk"
!define SYNCHRONIZE 0x00100000
!define WAIT_TIMEOUT 258

Name "Tunebalk"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tunebalk"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
BrandingText "Oxalmo Tunebalk ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\tunebalk.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Dutch"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductName" "Tunebalk"
VIAddVersionKey /LANG=${LANG_DUTCH} "CompanyName" "Oxalmo"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileDescription" "Tunebalk ${VERSION} installeren"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DUTCH} "LegalCopyright" "Oxalmo"

; Closes a running bar by its window, as its own close request would, and waits until its
; process has ended so that its exe can be replaced or removed. Other programs are left alone.
!macro CLOSE_BAR un
Function ${un}CloseBar
    ${Do}
        FindWindow $R0 "TunebalkBar"
        ${If} $R0 = 0
            Return
        ${EndIf}
        DetailPrint "Tunebalk afsluiten"
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i R1) p .R2'
        System::Call 'user32::PostMessageW(p R0, i ${WM_CLOSE}, p 0, p 0)'
        ; Closing may wait for Winamp, which the bar closes too when the user chose that.
        StrCpy $R3 ${WAIT_TIMEOUT}
        ${If} $R2 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p R2, i 15000) i .R3'
            System::Call 'kernel32::CloseHandle(p R2)'
        ${Else}
            ${For} $R4 1 150
                System::Call 'user32::IsWindow(p R0) i .R5'
                ${If} $R5 = 0
                    StrCpy $R3 0
                    ${ExitFor}
                ${EndIf}
                Sleep 100
            ${Next}
        ${EndIf}
        ${If} $R3 = 0
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Tunebalk kon niet worden afgesloten. Sluit Tunebalk en kies Opnieuw." \
            /SD IDCANCEL IDRETRY retry
        Abort "Tunebalk is nog actief."
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_BAR ""
!insertmacro CLOSE_BAR "un."

Section "Tunebalk" SecProgram
    SectionIn RO
    Call CloseBar
    SetOutPath "$INSTDIR"
    ClearErrors
    File "/oname=tunebalk.exe" "${EXE}"
    ${If} ${Errors}
        ; A silent setup would otherwise report success with the old program in place.
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\tunebalk.exe kon niet worden geschreven." /SD IDOK
        Abort "Installatie mislukt."
    ${EndIf}
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Tunebalk.lnk" "$INSTDIR\tunebalk.exe" "" \
        "$INSTDIR\tunebalk.exe" 0 SW_SHOWNORMAL "" "Afstandsbediening voor Winamp"
    ; Written again by the next section when the user keeps that choice.
    DeleteRegValue HKCU "${RUNKEY}" "Tunebalk"

    WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "Tunebalk"
    WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Oxalmo"
    WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\tunebalk.exe,0"
    WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTKEY}" "EstimatedSize" $0
SectionEnd

Section "Tunebalk starten met Windows" SecAutostart
    WriteRegStr HKCU "${RUNKEY}" "Tunebalk" '"$INSTDIR\tunebalk.exe"'
SectionEnd

Section "un.Tunebalk" SecUnProgram
    SectionIn RO
    Call un.CloseBar
    Delete "$SMPROGRAMS\Tunebalk.lnk"
    DeleteRegValue HKCU "${RUNKEY}" "Tunebalk"
    ; Only what the program put there: the folder may have been one the user chose.
    Delete "$INSTDIR\tunebalk.exe"
    Delete "$INSTDIR\log*.log"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd

Section /o "un.Instellingen van Tunebalk" SecUnSettings
    DeleteRegKey HKCU "${SETTINGSKEY}"
    DeleteRegKey /ifempty HKCU "Software\Oxalmo"
SectionEnd

Function .onInit
    ; On an upgrade, keep the user's earlier choice of starting with Windows.
    ReadRegStr $0 HKCU "${UNINSTKEY}" "InstallLocation"
    ReadRegStr $1 HKCU "${RUNKEY}" "Tunebalk"
    ${If} $0 != ""
    ${AndIf} $1 == ""
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
        "Het programma, een snelkoppeling in het menu Start en een verwijderprogramma."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} \
        "Start Tunebalk telkens wanneer u zich bij Windows aanmeldt."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} \
        "Het programma, de snelkoppeling, het automatisch starten en de logbestanden."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} \
        "Ook de instellingen van Tunebalk in het register verwijderen."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
