; The Windows installer of Vorlanex: a per-user install without administrator rights into
; $LOCALAPPDATA\Programs\Vorlanex, the window always and vorlanex-calc on request, Start menu
; entries, the licence page, and an uninstaller that takes away everything the installer wrote.
;
; makensis -DVERSION=... -DWINDOW_EXE=... -DCOMMAND_EXE=... -DLICENSE_FILE=... -DOUTFILE=... vorlanex.nsi
;
; Silent install: Setup.exe /S (add /COMMAND for vorlanex-calc, /D=FOLDER, last, for another folder);
; silent uninstall: "Odinstalovat.exe" /S.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT "Vorlanex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlanex"
!define UNINSTALLER "Odinstalovat.exe"
!define MENU_FOLDER "$SMPROGRAMS\Vorlanex"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vorlanex"
ShowInstDetails show
ShowUninstDetails show
BrandingText "Vorlanex ${VERSION}"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Section "Vorlanex (okno kalkulátoru)" WindowSection
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=vorlanex.exe" "${WINDOW_EXE}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Vorlanex.lnk" "$INSTDIR\vorlanex.exe"
  CreateShortcut "${MENU_FOLDER}\Odinstalovat Vorlanex.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vývojový tým programu Vorlanex"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlanex.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "vorlanex-calc (příkazový řádek)" CommandSection
  SetOutPath "$INSTDIR"
  File "/oname=vorlanex-calc.exe" "${COMMAND_EXE}"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${WindowSection} "Okno kalkulátoru se všemi stránkami výpočtů."
  !insertmacro MUI_DESCRIPTION_TEXT ${CommandSection} "Výpočty bez okna z příkazového řádku: stránka, dávka, spis, tolerance."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; /COMMAND on the installer's command line selects vorlanex-calc, for a silent install with it.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/COMMAND" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${CommandSection}
  ${EndIf}
FunctionEnd

; Only what the installer wrote goes; a folder goes only when it is then empty.
Section "Uninstall"
  Delete "$INSTDIR\vorlanex.exe"
  Delete "$INSTDIR\vorlanex-calc.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The per-user programs folder, when this program was the only one in it.
  RMDir "$LOCALAPPDATA\Programs"

  Delete "${MENU_FOLDER}\Vorlanex.lnk"
  Delete "${MENU_FOLDER}\Odinstalovat Vorlanex.lnk"
  RMDir "${MENU_FOLDER}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
