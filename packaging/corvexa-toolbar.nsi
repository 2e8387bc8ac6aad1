; The Corvexa Toolbar installer (NSIS 3, 64-bit). scripts/make-packages.sh
; builds it in the staged package folder:
;   makensis -NOCD -DKS_BUILD=BUILD_DIR -DKS_OUTFILE=SETUP_EXE [-DKS_HAVE_TOOLBAR] corvexa-toolbar.nsi
; BUILD_DIR/packaging holds product.nsh (names, version) and files.nsh (the
; package's file lists).
;
; Where things go. The toolbar looks for the engine below the common program
; folder, then below the common library folder, in Kestrova\Corvexa, and
; accepts a folder only when it holds Resources\info.txt; it takes its skins
; from that folder's Skins and the factory themes from its Themes. So:
; - When an engine is found (looked for the same way, in the same order), the
;   skins and themes go into its Skins and Themes, and the programs, read-me
;   and licence by default beside the engine.
; - Otherwise the installer makes the place the toolbar looks first,
;   $PROGRAMFILES64\Kestrova\Corvexa, its own folder and marks it with a
;   Resources\info.txt of its own, so that the toolbar finds its skins and
;   themes there. An engine installed later into that same place brings its
;   own info.txt, and the toolbar then finds the engine, its Deck program and
;   the skins in one folder. (An engine installed later below the common
;   library folder stays hidden behind the marked folder until the toolbar
;   is uninstalled or the marker removed.)
; /D= or the directory page moves only the programs, read-me and licence: the
; skins and themes must stay where the toolbar looks for them.
;
; The uninstaller removes the files of the package's lists, the shortcuts,
; the marker while it is still the installer's own, and the folders the
; installer created (recorded as it made them, and removed only when empty).
; The user's work folder (Kestrova\Corvexa in the application data, with the
; preferences and the user's themes) is never touched.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "${KS_BUILD}/packaging/product.nsh"
!include "${KS_BUILD}/packaging/files.nsh"
!include MUI2.nsh
!include LogicLib.nsh

!define KS_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${KS_PRODUCT}"
!define KS_UNINSTALLER "Uninstall ${KS_PRODUCT}.exe"
!define KS_MENU_FOLDER "$SMPROGRAMS\${KS_PRODUCT}"
!define KS_ENGINE_SUBFOLDER "Kestrova\Corvexa"
!define KS_MARKER "Resources\info.txt"
; The marker's first line tells it from an engine's info.txt.
!define KS_MARKER_LINE "Corvexa Toolbar folder (no engine installed here)"

Name "${KS_PRODUCT} ${KS_VERSION}"
OutFile "${KS_OUTFILE}"
BrandingText "${KS_COMPANY} ${KS_PRODUCT} ${KS_VERSION}"

VIProductVersion "${KS_VERSION4}"
VIFileVersion "${KS_VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${KS_PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${KS_COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${KS_COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${KS_PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${KS_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${KS_VERSION}"

Var EngineFolder    ; where the skins and themes go
Var OwnFolder       ; 1 when EngineFolder is the installer's own, marked folder
Var CreatedFolders  ; how many folders the installer has recorded

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "LICENSE.txt"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install the ${KS_PRODUCT} programs in the \
  following folder. Its skins and themes go into $EngineFolder, where the toolbar looks for them."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Pushes 1 when FOLDER\Resources\info.txt is the installer's marker, else 0.
!macro KSDefineIsOwnMarker PREFIX
  Function ${PREFIX}KSIsOwnMarker
    Exch $0
    Push $1
    StrCpy $1 ""
    ClearErrors
    FileOpen $0 "$0\${KS_MARKER}" r
    ${IfNot} ${Errors}
      FileRead $0 $1
      FileClose $0
    ${EndIf}
    ${If} $1 == "${KS_MARKER_LINE}$\r$\n"
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
    Pop $1
    Exch $0
  FunctionEnd
!macroend
!insertmacro KSDefineIsOwnMarker ""
!insertmacro KSDefineIsOwnMarker "un."

; Takes BASE\Kestrova\Corvexa as the engine folder when none is taken yet and
; it holds Resources\info.txt as a file.
!macro KSTryEngineFolder BASE
  ${If} $EngineFolder == ""
  ${AndIf} ${FileExists} "${BASE}\${KS_ENGINE_SUBFOLDER}\${KS_MARKER}"
  ${AndIfNot} ${FileExists} "${BASE}\${KS_ENGINE_SUBFOLDER}\${KS_MARKER}\*.*"
    StrCpy $EngineFolder "${BASE}\${KS_ENGINE_SUBFOLDER}"
  ${EndIf}
!macroend

Function .onInit
  StrCpy $EngineFolder ""
  !insertmacro KSTryEngineFolder "$PROGRAMFILES64"
  !insertmacro KSTryEngineFolder "$COMMONFILES64"
  ${If} $EngineFolder == ""
    StrCpy $EngineFolder "$PROGRAMFILES64\${KS_ENGINE_SUBFOLDER}"
    StrCpy $OwnFolder 1
  ${Else}
    ; A folder marked by an earlier installation stays the installer's own.
    Push $EngineFolder
    Call KSIsOwnMarker
    Pop $OwnFolder
  ${EndIf}
  ; Empty unless /D= gave the folder.
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR $EngineFolder
  ${EndIf}
FunctionEnd

; Creates the folder on the stack and any missing parents, recording each
; folder it creates for the uninstaller.
Function KSMakeFolder
  Exch $0
  Push $1
  ${IfNot} ${FileExists} "$0\*.*"
    StrCpy $1 $0 "" -1
    ${If} $1 == "\"
      StrCpy $0 $0 -1
    ${EndIf}
    Push $0
    Call KSParentFolder
    Pop $1
    ${If} $1 != ""
      Push $1
      Call KSMakeFolder
    ${EndIf}
    ClearErrors
    CreateDirectory "$0"
    ${If} ${Errors}
      Abort "Could not create the folder $0."
    ${EndIf}
    IntOp $CreatedFolders $CreatedFolders + 1
    WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "CreatedFolder$CreatedFolders" "$0"
    WriteRegDWORD HKLM "${KS_UNINSTALL_KEY}" "CreatedFolders" $CreatedFolders
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Replaces the path on the stack by its parent folder (empty for a drive).
Function KSParentFolder
  Exch $0
  Push $1
  Push $2
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${If} $1 < 0
      StrCpy $0 ""
      ${Break}
    ${EndIf}
    StrCpy $2 $0 1 $1
    ${If} $2 == "\"
      StrCpy $0 $0 $1
      ${Break}
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Function KSWriteMarker
  ${If} ${FileExists} "$EngineFolder\${KS_MARKER}"
    Return
  ${EndIf}
  Push "$EngineFolder\Resources"
  Call KSMakeFolder
  FileOpen $0 "$EngineFolder\${KS_MARKER}" w
  FileWrite $0 "${KS_MARKER_LINE}$\r$\n"
  FileWrite $0 "$\r$\n"
  FileWrite $0 "${KS_PRODUCT} put this file here so that the toolbar finds its skins and$\r$\n"
  FileWrite $0 "themes in this folder while no engine is installed. An engine installed$\r$\n"
  FileWrite $0 "here replaces it; uninstalling the toolbar removes it while it is unchanged.$\r$\n"
  FileClose $0
FunctionEnd

Function KSMakeShortcuts
  Push "${KS_MENU_FOLDER}"
  Call KSMakeFolder
  ; The shortcuts' working folder.
  SetOutPath "$INSTDIR"
!ifdef KS_HAVE_TOOLBAR
  CreateShortCut "${KS_MENU_FOLDER}\${KS_PRODUCT}.lnk" "$INSTDIR\corvexa-toolbar.exe"
!endif
  CreateShortCut "${KS_MENU_FOLDER}\Read Me.lnk" "$INSTDIR\README.txt"
  CreateShortCut "${KS_MENU_FOLDER}\Uninstall ${KS_PRODUCT}.lnk" "$INSTDIR\${KS_UNINSTALLER}"
FunctionEnd

Function KSRegister
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "DisplayName" "${KS_PRODUCT}"
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "DisplayVersion" "${KS_VERSION}"
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "Publisher" "${KS_COMPANY}"
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${KS_UNINSTALLER}"'
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${KS_UNINSTALLER}" /S'
!ifdef KS_HAVE_TOOLBAR
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvexa-toolbar.exe"
!else
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${KS_UNINSTALLER}"
!endif
  WriteRegDWORD HKLM "${KS_UNINSTALL_KEY}" "EstimatedSize" ${KS_INSTALLED_KB}
  WriteRegDWORD HKLM "${KS_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KS_UNINSTALL_KEY}" "NoRepair" 1
  ; What the uninstaller needs to know besides its own folder.
  WriteRegStr HKLM "${KS_UNINSTALL_KEY}" "EngineFolder" "$EngineFolder"
  WriteRegDWORD HKLM "${KS_UNINSTALL_KEY}" "OwnFolder" $OwnFolder
FunctionEnd

Section "Install"
  SetShellVarContext all
  ; Folders recorded by an earlier installation stay on the list.
  ReadRegDWORD $CreatedFolders HKLM "${KS_UNINSTALL_KEY}" "CreatedFolders"
  IntOp $CreatedFolders $CreatedFolders + 0

  Push $INSTDIR
  Call KSMakeFolder
  !insertmacro KSInstallPrograms
  WriteUninstaller "$INSTDIR\${KS_UNINSTALLER}"

  Push $EngineFolder
  Call KSMakeFolder
  ${If} $OwnFolder == 1
    Call KSWriteMarker
  ${EndIf}
  !insertmacro KSInstallContent

  Call KSMakeShortcuts
  Call KSRegister
SectionEnd

Function un.onInit
  ReadRegStr $EngineFolder HKLM "${KS_UNINSTALL_KEY}" "EngineFolder"
  ReadRegDWORD $OwnFolder HKLM "${KS_UNINSTALL_KEY}" "OwnFolder"
FunctionEnd

; Removes the recorded folders, the last made first, each only when empty.
Function un.KSRemoveCreatedFolders
  ReadRegDWORD $0 HKLM "${KS_UNINSTALL_KEY}" "CreatedFolders"
  IntOp $0 $0 + 0
  ${DoWhile} $0 > 0
    ReadRegStr $1 HKLM "${KS_UNINSTALL_KEY}" "CreatedFolder$0"
    ${If} $1 != ""
      RMDir "$1"
    ${EndIf}
    IntOp $0 $0 - 1
  ${Loop}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro KSRemovePrograms
  Delete "$INSTDIR\${KS_UNINSTALLER}"

  ${If} $EngineFolder != ""
    !insertmacro KSRemoveContent
    ${If} $OwnFolder == 1
      Push $EngineFolder
      Call un.KSIsOwnMarker
      Pop $0
      ${If} $0 == 1
        Delete "$EngineFolder\${KS_MARKER}"
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "${KS_MENU_FOLDER}\${KS_PRODUCT}.lnk"
  Delete "${KS_MENU_FOLDER}\Read Me.lnk"
  Delete "${KS_MENU_FOLDER}\Uninstall ${KS_PRODUCT}.lnk"

  Call un.KSRemoveCreatedFolders
  DeleteRegKey HKLM "${KS_UNINSTALL_KEY}"
SectionEnd
