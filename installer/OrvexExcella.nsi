; The Windows installer of Orvex Excella, one per architecture. The build runs makensis with
;   -DVERSION=<major.minor.patch>  the version of CMake's project(), as the program's VERSIONINFO has it
;   -DARCH=win64|win32             the architecture of the build tree
;   -DBUILD_DIR=<build tree>       where the program, the virtual reader and netpbm\ were built
;   -DSOURCE_DIR=<source tree>     the icon and the sample configuration
;   -DGUIDE=<user-guide.html>      the user guide made from docs/user-guide.md
;   -DOUTFILE=<setup.exe>
;
; Silent installation for deployment: setup.exe /S [/AUTOSTART] [/TRAINING] [/D=C:\Folder]
; (/D last, without quotes). /AUTOSTART and /TRAINING select the two optional components.

!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define BITS "64-bit"
!else
  Target x86-unicode
  !define BITS "32-bit"
!endif
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include TextFunc.nsh

!define PRODUCT "Orvex Excella"
!define PUBLISHER "Orvex"
!define PROGRAM "OrvexExcella.exe"
; The class of the program's hidden main window (kMainWindowClass in src/app/main_window_win32.h).
!define MAIN_WINDOW_CLASS "OrvexExcellaMain"
; The shutdown semaphore beside the program (kShutdownSemaphoreName in src/app/watchdog.h).
!define SEMAPHORE "OrvexExcella.shutdown"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvexExcella"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "OrvexExcella"
!define TRAINING "Training"
!define GUIDE_NAME "user-guide.html"
; Beside an installed program: the folder of its operators' files (kDataFolderFileName in
; src/app/start_up.h).
!define DATA_FILE "OrvexExcella.datafolder"
; What the installer set on the folders' rights, command by command with its exit status.
!define RIGHTS_LOG "install-rights.log"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Unicode true
; The uninstall entry, the Run key of every user and the rights below need an administrator.
RequestExecutionLevel admin
; Two folders. The program folder holds what decides what runs and what passes: the program, the
; libraries beside it (the reader maker's, copied in by an administrator, too), the joining
; scripts, the uninstaller, the bank/branch table and the configuration. Only administrators and
; the system may change or add to it, whatever folder is chosen: its inherited rights are replaced
; by explicit ones (the root of C: lets every signed-in user add files). The data folder under
; ProgramData holds what the operators write (CSV logs and their pending files, images, XML files,
; the recovery folder, the temporary images, the shutdown semaphore); the Users group may change
; it. The program finds it through the data folder file beside it. Windows enforces these rights;
; Wine ignores them, so the tests under Wine show the commands and the layout, not the refusal.
!if "${ARCH}" == "win64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; A second installation goes where the first one went. The 64-bit installer is a 64-bit process
; and the 32-bit one reads the 32-bit registry view, as the matching program does.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${ARCH} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SOURCE_DIR}/src/resources/OrvexExcella.ico"
!define MUI_UNICON "${SOURCE_DIR}/src/resources/OrvexExcella.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "The reader maker's library is not part of this package: copy the reader maker's mtxmlmcr.dll (${BITS}) into$\r$\n$INSTDIR$\r$\nbefore the first start. The user guide is in the Start menu."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\${GUIDE_NAME}"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var DataFolder
Var RightsLog

; Runs icacls with the arguments and notes the command and its exit status in the rights log.
!macro SET_RIGHTS ARGUMENTS
  nsExec::Exec '"$SYSDIR\icacls.exe" ${ARGUMENTS}'
  Pop $0
  FileWrite $RightsLog 'icacls ${ARGUMENTS} => $0$\r$\n'
!macroend

; Administrators and the system may do everything, every user may read and run, nobody else may
; change or add anything; nothing is inherited from above.
!macro PROTECT_FOLDER FOLDER
  !insertmacro SET_RIGHTS '"${FOLDER}" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /T /Q'
!macroend

; The Users group may change and create the files in the folder.
!macro SHARE_WITH_OPERATORS FOLDER
  CreateDirectory "${FOLDER}"
  !insertmacro SET_RIGHTS '"${FOLDER}" /grant *S-1-5-32-545:(OI)(CI)M /T /Q'
!macroend

; The data folder of a program folder: the data folder file beside the program names it, and the
; folder is made with netpbm\ for the temporary images.
!macro USE_DATA_FOLDER PROGRAM_FOLDER DATA
  CreateDirectory "${DATA}\netpbm"
  FileOpen $0 "${PROGRAM_FOLDER}\${DATA_FILE}" w
  FileWrite $0 "${DATA}$\r$\n"
  FileClose $0
  !insertmacro SHARE_WITH_OPERATORS "${DATA}"
!macroend

; Ends a running program and its watchdog before files are replaced or removed, so nothing is
; locked and nothing starts again. The watchdog is the program itself in its "/WATCHDOG" role: it
; waits for the program it started and ends its loop only when the program has ended and the
; semaphore lies beside it, deleting the semaphore as it goes. So the semaphore comes first, in the
; running program's folder, then WM_CLOSE to the main window (the program's orderly exit), then a
; short wait for the window and for a watchdog (it looks once a second) to be gone.
!macro DEFINE_END_RUNNING_PROGRAM PREFIX
Function ${PREFIX}EndRunningProgram
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Ending the running ${PRODUCT}"
  ; $4: the folder of the running program, from its process's image path.
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r2)"
  System::Call "kernel32::OpenProcess(i 0x1000, i 0, i r2) p .r3"
  System::Call "kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})"
  System::Call "kernel32::CloseHandle(p r3)"
  ${GetParent} "$4" $4
  ${If} $4 == ""
    StrCpy $4 "$INSTDIR"
  ${EndIf}
  ; The semaphore goes into the running program's data folder, where it looks for it.
  ${If} ${FileExists} "$4\${DATA_FILE}"
    FileOpen $1 "$4\${DATA_FILE}" r
    FileRead $1 $4
    FileClose $1
    ${TrimNewLines} "$4" $4
  ${EndIf}
  FileOpen $1 "$4\${SEMAPHORE}" w
  FileClose $1
  ${For} $1 1 50
    System::Call "user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)"
    Sleep 100
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${IfThen} $0 == 0 ${|} ${ExitFor} ${|}
  ${Next}
  ${For} $1 1 25
    ${IfNot} ${FileExists} "$4\${SEMAPHORE}"
      ${ExitFor}
    ${EndIf}
    Sleep 100
  ${Next}
  Delete "$4\${SEMAPHORE}"
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_PROGRAM ""
!insertmacro DEFINE_END_RUNNING_PROGRAM "un."

; The program with what it needs beside it, and the sample configuration unless a configuration is
; there already: administrators edit it; the program cannot write it in a protected folder.
!macro INSTALL_PROGRAM_FILES
  File "${BUILD_DIR}/${PROGRAM}"
  File "${BUILD_DIR}/banks_branches.txt"
  SetOverwrite off
  File "/oname=OrvexExcella.ini" "${SOURCE_DIR}/src/resources/OrvexExcella.ini"
  SetOverwrite on
  SetOutPath "$OUTDIR\netpbm"
  File "${BUILD_DIR}/netpbm/CombinePics.bat"
  File "${BUILD_DIR}/netpbm/combine_pics.exe"
!macroend

; The files INSTALL_PROGRAM_FILES put into the folder; what the program wrote there stays.
!macro REMOVE_PROGRAM_FILES FOLDER
  Delete "${FOLDER}\${PROGRAM}"
  Delete "${FOLDER}\banks_branches.txt"
  Delete "${FOLDER}\${SEMAPHORE}"
  Delete "${FOLDER}\${DATA_FILE}"
  Delete "${FOLDER}\netpbm\CombinePics.bat"
  Delete "${FOLDER}\netpbm\combine_pics.exe"
  RMDir "${FOLDER}\netpbm"
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call EndRunningProgram
  SetShellVarContext all
  ; ProgramData, for every user.
  StrCpy $DataFolder "$APPDATA\${PRODUCT}"
  SetOutPath "$INSTDIR"
  !insertmacro INSTALL_PROGRAM_FILES
  SetOutPath "$INSTDIR"
  File "/oname=${GUIDE_NAME}" "${GUIDE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; Users (S-1-5-32-545), Administrators (S-1-5-32-544) and the system (S-1-5-18) are named by
  ; their numbers, the same in every language. The training folder gets its rights from here.
  FileOpen $RightsLog "$INSTDIR\${RIGHTS_LOG}" w
  !insertmacro PROTECT_FOLDER "$INSTDIR"
  !insertmacro USE_DATA_FOLDER "$INSTDIR" "$DataFolder"
  FileClose $RightsLog

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}" "/ANTICRASH"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} user guide.lnk" "$INSTDIR\${GUIDE_NAME}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  DetailPrint "Copy the reader maker's mtxmlmcr.dll (${BITS}) into $INSTDIR before the first start."
SectionEnd

; Every user's sign-in starts the program through its watchdog launcher.
Section /o "Start with Windows" SecAutoStart
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${PROGRAM}" /ANTICRASH'
SectionEnd

; The program with the virtual reader, which reads documents from files, in a folder of its own:
; a vendor's mtxmlmcr.dll in the program folder is never replaced or removed.
Section /o "Training mode, no reader" SecTraining
  SetOutPath "$INSTDIR\${TRAINING}"
  !insertmacro INSTALL_PROGRAM_FILES
  SetOutPath "$INSTDIR\${TRAINING}"
  File "${BUILD_DIR}/mtxmlmcr.dll"
  ; The virtual reader keeps its documents and its call log beside itself, so operators may write
  ; that one folder, which the program never loads code from.
  FileOpen $RightsLog "$INSTDIR\${RIGHTS_LOG}" a
  FileSeek $RightsLog 0 END
  !insertmacro SHARE_WITH_OPERATORS "$INSTDIR\${TRAINING}\virtual-reader"
  !insertmacro USE_DATA_FOLDER "$INSTDIR\${TRAINING}" "$DataFolder\${TRAINING}"
  FileClose $RightsLog
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} training (no reader).lnk" "$INSTDIR\${TRAINING}\${PROGRAM}"
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutoStart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/TRAINING" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecTraining}
  ${EndIf}
FunctionEnd

; Removes what the installer put there; the configuration, the data folders with the CSV logs,
; images and XML files, and the training reader's documents stay, and so do the folders that still
; hold them.
Section "Uninstall"
  Call un.EndRunningProgram
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} user guide.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} training (no reader).lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  !insertmacro REMOVE_PROGRAM_FILES "$INSTDIR\${TRAINING}"
  Delete "$INSTDIR\${TRAINING}\mtxmlmcr.dll"
  RMDir "$INSTDIR\${TRAINING}"
  !insertmacro REMOVE_PROGRAM_FILES "$INSTDIR"
  Delete "$INSTDIR\${GUIDE_NAME}"
  Delete "$INSTDIR\${RIGHTS_LOG}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
