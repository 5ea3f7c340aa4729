; The Windows installer, built by scripts/windows with makensis:
;   makensis -DVERSION=<x.y> -DFILES=<files.nsh> -DICON=<relcon4.ico>
;            -DOUTFILE=<setup.exe> relcon4.nsi
; FILES defines the macros InstallFiles and UninstallFiles, file by file from
; the zip's folder, so the uninstaller removes exactly what was installed and
; leaves what the technician made beside it.
; Per user by default (%LOCALAPPDATA%\Programs\Relcon4, no administrator
; rights); an administrator may choose Program Files. Silent: /S, with
; /AllUsers or /CurrentUser.
; A 64-bit installer, as the program is: it runs where 32-bit programs do not
; (a 64-bit-only Wine).
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Relcon4"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Relcon4"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; A second install goes where the first one is, and the uninstaller finds its mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "Для установки ${PRODUCT} нужны права администратора."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "Для установки ${PRODUCT} нужны права опытного пользователя."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Установить ${PRODUCT} для всех пользователей может только администратор."
!define MULTIUSER_TEXT_INSTALLMODE_TITLE "Для кого установить"
!define MULTIUSER_TEXT_INSTALLMODE_SUBTITLE "Программу можно установить только для себя или для всех пользователей компьютера."
!define MULTIUSER_INNERTEXT_INSTALLMODE_TOP "Выберите, для кого установить ${PRODUCT}."
!define MULTIUSER_INNERTEXT_INSTALLMODE_ALLUSERS "Для всех пользователей (в Program Files)"
!define MULTIUSER_INNERTEXT_INSTALLMODE_CURRENTUSER "Только для меня (права администратора не нужны)"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\relcon4.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "${PRODUCT}"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

!macro Shortcuts
  ; A per-user copy starts in the user's documents, where QV1M.ini and the
  ; file dialogs belong; a per-machine copy starts in its own folder, which
  ; the program knows to leave for the documents folder.
  ${If} $MultiUser.InstallMode == "CurrentUser"
    SetOutPath "$DOCUMENTS"
  ${Else}
    SetOutPath "$INSTDIR"
  ${EndIf}
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\relcon4.exe" "" "$INSTDIR\relcon4.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT} - руководство пользователя.lnk" "$INSTDIR\docs\GUIDE.ru.html"
!macroend

!macro UninstallEntry ROOT
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\relcon4.exe"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr ${ROOT} "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD ${ROOT} "${UNINSTALL_KEY}" "NoRepair" 1
!macroend

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  !insertmacro Shortcuts

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  ${If} $MultiUser.InstallMode == "AllUsers"
    !insertmacro UninstallEntry HKLM
  ${Else}
    !insertmacro UninstallEntry HKCU
  ${EndIf}
SectionEnd


Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT} - руководство пользователя.lnk"
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: rs_m.ini and whatever else the technician keeps here stays.
  RMDir "$INSTDIR"
  ${If} $MultiUser.InstallMode == "AllUsers"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
