@echo off
rem Installs Vardolin for the current user, without administrator rights:
rem finds out whether the spreadsheet program is 64- or 32-bit, copies the
rem vardolin.dll of that bitness to %LOCALAPPDATA%\Vardolin (a folder the user
rem can write to: the photos are stored beside the DLL, in Pic) and registers
rem it for the current user with the system's regsvr32 of that bitness; a
rem shortcut "Vardolin 照片" in the user's Pictures leads to the photos.
rem
rem Run as administrator (elevated) it installs for every user of the
rem computer instead, never into the administrator's own profile: the DLL in
rem the Program Files folder of its bitness (where users cannot replace it),
rem registered for the machine; the photos in %ProgramData%\Vardolin\Pic,
rem where every user may change and delete any photo; that folder as the
rem machine's photo folder (HKLM\Software\Vardolin\PhotoFolder, in the DLL's
rem registry view); the shortcut in the common Start menu. Both bitnesses can
rem be installed for the machine side by side.
rem
rem   install.cmd            find the bitness in the registry; ask when it is not there
rem   install.cmd 64         install the 64-bit DLL
rem   install.cmd 32         install the 32-bit DLL
rem   install.cmd uninstall  what uninstall.cmd does: remove the registration and
rem                          the DLL, never the Pic folder of photos
rem   install.cmd /machine ...  the same for every user of the computer, as when
rem                          elevated (it needs administrator rights)
rem
rem The folder this script lies in may hold any character (&, parentheses,
rem %): its path is used only inside quotes and never expanded twice.
setlocal EnableExtensions
set "HERE=%~dp0"
set "FAILED="
set "DONE=installed"
call :PauseWhenDoubleClicked

rem Windows' own bitness: 64-bit Windows has a SysWOW64 folder.
set "WINBITS=32"
if exist "%SystemRoot%\SysWOW64\" set "WINBITS=64"

set "MACHINE="
if /i "%~1"=="/machine" set "MACHINE=you asked for it"
if defined MACHINE shift
if "%~2"=="" goto :ArgumentsRead
if /i not "%~2"=="/machine" goto :UnknownSecondChoice
set "MACHINE=you asked for it"
:ArgumentsRead
if not defined MACHINE call :MachineWhenElevated
if defined MACHINE goto :MachineLayout
rem For the current user: everything in the user's own folders.
set "TARGET=%LOCALAPPDATA%\Vardolin"
set "PHOTOS=%LOCALAPPDATA%\Vardolin\Pic"
set "WHOM=%USERNAME%"
set "REGISTER_FOR=/n /i:user"
rem The shortcut's folder: the user's Pictures.
set "SHORTCUT_IN=39"
goto :LayoutChosen
:MachineLayout
rem For every user: TARGET follows the bitness.
set "DATA=%ProgramData%\Vardolin"
set "PHOTOS=%ProgramData%\Vardolin\Pic"
set "WHOM=every user of this computer"
set "REGISTER_FOR="
rem The common Start menu.
set "SHORTCUT_IN=23"
:LayoutChosen

rem Messages that show paths stay outside parenthesised blocks: a path may
rem hold a parenthesis (a user name such as "Li (Office)").
if not defined MACHINE if not defined LOCALAPPDATA goto :NoLocalAppData
if defined MACHINE if not defined ProgramData goto :NoProgramData
if "%~1"=="uninstall" if defined MACHINE goto :UninstallForMachine
if "%~1"=="uninstall" goto :Uninstall

set "BITS="
set "FOUND="
if "%~1"=="64" (set "BITS=64" & set "FOUND=you asked for it")
if "%~1"=="32" (set "BITS=32" & set "FOUND=you asked for it")
if not defined BITS if not "%~1"=="" goto :UnknownChoice
if not defined BITS if "%WINBITS%"=="32" (set "BITS=32" & set "FOUND=this Windows is 32-bit")
if not defined BITS call :BitnessFromRegistry
if not defined BITS call :AskBitness
if "%BITS%%WINBITS%"=="6432" (
    echo A 64-bit program cannot run on this 32-bit Windows: use install.cmd 32.
    goto :Failed
)

if "%BITS%"=="64" (set "ARCH=x64") else (set "ARCH=x86")
set "SOURCE=%HERE%%ARCH%\vardolin.dll"
if not exist "%SOURCE%" goto :NotUnzipped
if defined MACHINE call :MachineTarget %BITS%

echo Installing Vardolin for %WHOM%: %BITS%-bit, because %FOUND%.
if not defined MACHINE goto :PhotoFolderReady
echo - for every user of this computer, because %MACHINE%
rem The photo folder first: without its permissions nothing is installed.
call :MachinePhotoFolder
if errorlevel 1 goto :PhotoFolderNotShared
:PhotoFolderReady
if not exist "%TARGET%\" mkdir "%TARGET%" 2>nul
if not exist "%TARGET%\" goto :NoFolder
rem The new DLL waits beside the old one until the old one is unregistered
rem (it may be of the other bitness), then takes its place.
copy /y "%SOURCE%" "%TARGET%\vardolin.dll.new" >nul 2>nul
if errorlevel 1 goto :NotCopied
set "UNREGISTERED="
if exist "%TARGET%\vardolin.dll" call :UnregisterInstalled
if defined UNREGISTERED echo - removed the registration of the vardolin.dll installed before
move /y "%TARGET%\vardolin.dll.new" "%TARGET%\vardolin.dll" >nul 2>nul
if errorlevel 1 goto :InstalledInUse
echo - copied %ARCH%\vardolin.dll to %TARGET%
call :Register %BITS%
if errorlevel 1 goto :NotRegistered
echo - registered it for %WHOM% with %REGSVR32%
if defined MACHINE goto :MachineSettings
if not exist "%PHOTOS%\" mkdir "%PHOTOS%" 2>nul
call :PhotoShortcut create
if not errorlevel 1 echo - put a shortcut to the photo folder Pic in your Pictures folder
echo Vardolin is installed. A macro can now call CreateObject("Vardolin.Class1").
echo Photos are stored in %PHOTOS%. To remove Vardolin, run uninstall.cmd.
goto :End

:MachineSettings
rem The machine's photo folder, in the registry view of the DLL's bitness
rem (which reads it there); a user's own choice or a policy goes before it.
reg add "HKLM\Software\Vardolin" /v PhotoFolder /t REG_SZ /d "%PHOTOS%" /f /reg:%BITS% >nul 2>nul
if errorlevel 1 goto :NoMachineSetting
echo - set %PHOTOS% as the photo folder of every user (HKLM\Software\Vardolin\PhotoFolder)
call :PhotoShortcut create
if not errorlevel 1 echo - put a shortcut to the photo folder in the Start menu of every user
echo Vardolin is installed for every user of this computer. A macro can now call CreateObject("Vardolin.Class1").
echo Photos are stored in %PHOTOS%. To remove Vardolin, run uninstall.cmd as administrator.
goto :End

:UninstallForMachine
set "DONE=removed completely"
set "REMOVED="
if "%WINBITS%"=="64" call :UninstallMachineBits 64
if not defined FAILED call :UninstallMachineBits 32
if defined FAILED goto :Failed
if not defined REMOVED goto :NotInstalledForMachine
call :PhotoShortcut remove
rem Only empty folders go: the photos in Pic stay.
rmdir "%PHOTOS%" 2>nul
rmdir "%DATA%" 2>nul
if exist "%PHOTOS%\" echo The photos stay in %PHOTOS%.
echo Vardolin is removed for every user of this computer.
goto :End

:Uninstall
set "DONE=removed completely"
if not exist "%TARGET%\vardolin.dll" goto :NotInstalled
set "UNREGISTERED="
call :UnregisterInstalled
if defined UNREGISTERED echo - removed the registration of %TARGET%\vardolin.dll for %USERNAME%
if not defined UNREGISTERED echo - %TARGET%\vardolin.dll was not registered, or could not be loaded to remove it
del "%TARGET%\vardolin.dll" 2>nul
if exist "%TARGET%\vardolin.dll" goto :UninstalledInUse
del "%TARGET%\vardolin.dll.new" 2>nul
echo - deleted %TARGET%\vardolin.dll
call :PhotoShortcut remove
rem Only empty folders go: the photos in Pic stay.
rmdir "%PHOTOS%" 2>nul
rmdir "%TARGET%" 2>nul
if exist "%PHOTOS%\" echo Your photos stay in %PHOTOS%.
echo Vardolin is removed.
goto :End

rem --- Failures, each said in plain words ------------------------------------
:NoLocalAppData
echo LOCALAPPDATA is not set, so there is no folder for Vardolin.
goto :Failed
:NoProgramData
echo ProgramData is not set, so there is no folder for the photos of every user.
goto :Failed
:PhotoFolderNotShared
echo Could not create %PHOTOS% with the permissions that let every user
echo change and delete photos there (icacls failed). Run install.cmd as administrator.
goto :Failed
:NoMachineSetting
echo Could not write HKLM\Software\Vardolin\PhotoFolder. Run install.cmd as administrator.
goto :Failed
:NotInstalledForMachine
echo Vardolin is not installed for every user of this computer: there is no vardolin.dll in Program Files\Vardolin.
goto :End
:UnknownChoice
echo Unknown choice "%~1": use install.cmd 64, install.cmd 32, or install.cmd alone.
goto :Failed
:UnknownSecondChoice
echo Unknown choice "%~2": only /machine may follow, as in install.cmd 64 /machine.
goto :Failed
:NotUnzipped
echo %ARCH%\vardolin.dll is not beside install.cmd. Unzip the whole zip file first,
echo then run install.cmd from the unzipped folder.
goto :Failed
:NoFolder
echo Could not create the folder %TARGET%.
if defined MACHINE echo Run install.cmd as administrator.
goto :Failed
:NotCopied
echo Could not copy %ARCH%\vardolin.dll to %TARGET%.
goto :Failed
:InstalledInUse
del "%TARGET%\vardolin.dll.new" 2>nul
if defined UNREGISTERED "%UNREGISTERED%" /s %REGISTER_FOR% "%TARGET%\vardolin.dll"
echo %TARGET%\vardolin.dll is in use. Close Excel and any other program that
echo uses Vardolin, then run install.cmd again. Nothing was changed.
goto :Failed
:NotRegistered
call :WhyNotRegistered
echo Registering %TARGET%\vardolin.dll failed (regsvr32 exit code %REGSVR_CODE%);
echo it was removed again.
del "%TARGET%\vardolin.dll" 2>nul
rmdir "%TARGET%" 2>nul
goto :Failed
:NotInstalled
echo Vardolin is not installed for %USERNAME%: there is no %TARGET%\vardolin.dll.
goto :End
:UninstalledInUse
echo %TARGET%\vardolin.dll is in use. Close Excel and any other program that
echo uses Vardolin, then run uninstall.cmd again.
goto :Failed

:Failed
set "FAILED=1"
echo Vardolin was not %DONE%.
:End
if defined PAUSE_AT_END pause
if defined FAILED exit /b 1
exit /b 0


rem ---------------------------------------------------------------------------
rem Sets BITS and FOUND from the spreadsheet program's registry entries:
rem the Click-to-Run configuration's Platform (current Office), the Bitness
rem value under Office\<version>\Outlook (Office 2010 and later, in either
rem registry view), then the view the Excel.Application class is registered in.
:BitnessFromRegistry
call :ReadValue 64 "HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration" Platform
if not defined VALUE call :ReadValue 32 "HKLM\SOFTWARE\Microsoft\Office\ClickToRun\Configuration" Platform
if defined VALUE call :BitsOf "%VALUE%" "the Office Click-to-Run configuration says %VALUE%"
if defined BITS exit /b 0
for %%v in (16.0 15.0 14.0) do (
    if not defined BITS call :BitnessOfVersion %%v
)
if defined BITS exit /b 0
set "EXCEL=HKLM\SOFTWARE\Classes\CLSID\{00024500-0000-0000-C000-000000000046}\LocalServer32"
reg query "%EXCEL%" /reg:64 >nul 2>nul
if not errorlevel 1 (set "BITS=64" & set "FOUND=Excel is registered as a 64-bit program" & exit /b 0)
reg query "%EXCEL%" /reg:32 >nul 2>nul
if not errorlevel 1 (set "BITS=32" & set "FOUND=Excel is registered as a 32-bit program")
exit /b 0

:BitnessOfVersion
call :ReadValue 64 "HKLM\SOFTWARE\Microsoft\Office\%1\Outlook" Bitness
if not defined VALUE call :ReadValue 32 "HKLM\SOFTWARE\Microsoft\Office\%1\Outlook" Bitness
if defined VALUE call :BitsOf "%VALUE%" "the Office %1 registry entries say %VALUE%"
exit /b 0

rem BitsOf "x64|x86" "reason"
:BitsOf
if /i "%~1"=="x64" (set "BITS=64" & set "FOUND=%~2")
if /i "%~1"=="x86" (set "BITS=32" & set "FOUND=%~2")
exit /b 0

rem ReadValue 64|32 "key" name: VALUE is the text of the value in that
rem registry view, or undefined.
:ReadValue
set "VALUE="
for /f "tokens=1,2,*" %%a in ('reg query "%~2" /v "%~3" /reg:%1 2^>nul') do (
    if /i "%%a"=="%~3" set "VALUE=%%c"
)
exit /b 0

rem Sets BITS from the user's answer; no answer (or no console) takes the
rem bitness of Windows.
:AskBitness
echo Could not find out from the registry whether your spreadsheet program is
echo 64-bit or 32-bit. In Excel, File ^> Account ^> About Excel says which.
:AskAgain
set "ANSWER="
set /p "ANSWER=Type 64 or 32 and press Enter (Enter alone: %WINBITS%, like Windows): "
if "%ANSWER%"=="" (
    set "BITS=%WINBITS%"
    set "FOUND=no answer was given and Windows is %WINBITS%-bit"
    echo.
    exit /b 0
)
if "%ANSWER%"=="64" (set "BITS=64" & set "FOUND=you said so")
if "%ANSWER%"=="32" (set "BITS=32" & set "FOUND=you said so")
if not defined BITS goto :AskAgain
exit /b 0

rem ChooseRegsvr32 64|32: REGSVR32 is the system's regsvr32 of that bitness. A
rem 32-bit command interpreter on 64-bit Windows sees System32 as Sysnative.
:ChooseRegsvr32
set "REGSVR32=%SystemRoot%\System32\regsvr32.exe"
if "%1"=="32" if exist "%SystemRoot%\SysWOW64\regsvr32.exe" set "REGSVR32=%SystemRoot%\SysWOW64\regsvr32.exe"
if "%1"=="64" if exist "%SystemRoot%\Sysnative\regsvr32.exe" set "REGSVR32=%SystemRoot%\Sysnative\regsvr32.exe"
exit /b 0

rem Register 64|32: registers the installed DLL for the current user.
:Register
call :ChooseRegsvr32 %1
"%REGSVR32%" /s %REGISTER_FOR% "%TARGET%\vardolin.dll"
set "REGSVR_CODE=%ERRORLEVEL%"
if not "%REGSVR_CODE%"=="0" exit /b 1
exit /b 0

rem Says in one line why regsvr32 failed and what to do, from its exit code:
rem 3 the DLL could not be loaded, 4 it is no COM server, 5 its registration
rem was refused.
:WhyNotRegistered
if "%BITS%"=="64" (set "OTHERBITS=32") else (set "OTHERBITS=64")
if not "%REGSVR_CODE%"=="3" goto :WhyNotRegisteredAfterLoading
if not exist "%TARGET%\vardolin.dll" (
    echo Security software removed vardolin.dll as soon as it was copied: ask your IT to allow Vardolin or to sign it, then run install.cmd again.
    exit /b 0
)
rem A file from a downloaded zip keeps the mark of the internet zone in its
rem Zone.Identifier stream (ZoneId=3, or 4 for restricted sites).
set "ZONE="
call :ReadZone >nul 2>nul
if "%ZONE%"=="3" set "ZONE=internet"
if "%ZONE%"=="4" set "ZONE=internet"
if "%ZONE%"=="internet" (
    echo Windows blocked vardolin.dll because the zip came from the internet: right-click the zip, choose Properties, tick Unblock, unzip it again and run install.cmd again, or have your IT sign it.
    exit /b 0
)
echo Windows would not load the %BITS%-bit vardolin.dll: if Smart App Control or security software blocks unsigned files, have your IT sign or allow it; if your spreadsheet program is %OTHERBITS%-bit, run install.cmd %OTHERBITS%.
exit /b 0
:WhyNotRegisteredAfterLoading
if "%REGSVR_CODE%"=="4" (
    echo %ARCH%\vardolin.dll is not a Vardolin component: unzip the whole zip file again, then run install.cmd again.
    exit /b 0
)
if "%REGSVR_CODE%"=="5" (
    echo The registration was refused, most often access to the registry denied by a policy or security software: ask your IT to allow it or to install the Vardolin MSI package.
    exit /b 0
)
echo regsvr32 could not run: run install.cmd again; if it fails again, ask your IT to install the Vardolin MSI package.
exit /b 0

rem PhotoShortcut create|remove: the shortcut "Vardolin 照片" to PHOTOS in the
rem shell folder SHORTCUT_IN (the user's Pictures, or the common Start menu),
rem made by the system's script host (a batch file cannot spell the Chinese
rem name; a JScript string can). Exit code 0 when it was done.
:PhotoShortcut
set "SCRIPT=%TEMP%\vardolin-shortcut.js"
> "%SCRIPT%" echo var shell = new ActiveXObject("WScript.Shell");
>> "%SCRIPT%" echo var fso = new ActiveXObject("Scripting.FileSystemObject");
>> "%SCRIPT%" echo var pictures = new ActiveXObject("Shell.Application").Namespace(%SHORTCUT_IN%).Self.Path;
>> "%SCRIPT%" echo var link = fso.BuildPath(pictures, "Vardolin \u7167\u7247.lnk");
>> "%SCRIPT%" echo if (WScript.Arguments(0) == "remove") {
>> "%SCRIPT%" echo     if (fso.FileExists(link)) fso.DeleteFile(link);
>> "%SCRIPT%" echo } else {
>> "%SCRIPT%" echo     var shortcut = shell.CreateShortcut(link);
>> "%SCRIPT%" echo     shortcut.TargetPath = WScript.Arguments(1);
>> "%SCRIPT%" echo     shortcut.Save();
>> "%SCRIPT%" echo }
>> "%SCRIPT%" echo WScript.Quit(fso.FileExists(link) == (WScript.Arguments(0) == "remove") ? 1 : 0);
set "SHORTCUT_CODE=1"
if exist "%SCRIPT%" cscript //nologo //B "%SCRIPT%" %1 "%PHOTOS%" >nul 2>nul
if exist "%SCRIPT%" if not errorlevel 1 set "SHORTCUT_CODE=0"
del "%SCRIPT%" 2>nul
exit /b %SHORTCUT_CODE%

rem ZONE: the zone number written in the Zone.Identifier stream of SOURCE.
:ReadZone
for /f "tokens=2 delims==" %%z in ('findstr /b "ZoneId=" ^< "%SOURCE%:Zone.Identifier"') do set "ZONE=%%z"
exit /b 0

rem Run as administrator (elevated), a per-user install would go into the
rem administrator's profile, which the teacher who runs the spreadsheet does
rem not see: MACHINE is set instead. Only elevated processes have the high
rem (or system) mandatory level.
:MachineWhenElevated
whoami /groups 2>nul | find "S-1-16-12288" >nul 2>nul
if not errorlevel 1 set "MACHINE=install.cmd runs as administrator"
whoami /groups 2>nul | find "S-1-16-16384" >nul 2>nul
if not errorlevel 1 set "MACHINE=install.cmd runs as the system account"
exit /b 0

rem MachineTarget 64|32: TARGET is the Program Files folder of that bitness,
rem whatever the bitness of this command interpreter.
:MachineTarget
set "TARGET=%ProgramFiles%\Vardolin"
if "%1"=="64" if defined ProgramW6432 set "TARGET=%ProgramW6432%\Vardolin"
if "%1"=="32" if "%WINBITS%"=="64" set "TARGET=%ProgramFiles(x86)%\Vardolin"
exit /b 0

rem Creates DATA and PHOTOS owned by Administrators, with an explicit
rem protected list inherited by every file: full control for SYSTEM and
rem Administrators, modify (write and delete) for Users. Without it each user
rem could change only the files they made, and a folder someone made before
rem the install would stay theirs. SIDs, since group names are translated.
rem Exit code 1 when it failed.
:MachinePhotoFolder
if not exist "%PHOTOS%\" mkdir "%PHOTOS%" 2>nul
if not exist "%PHOTOS%\" exit /b 1
icacls "%DATA%" /setowner *S-1-5-32-544 /T /C /Q >nul 2>nul
icacls "%DATA%" /reset /T /C /Q >nul 2>nul
icacls "%DATA%" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)M /Q >nul 2>nul
if errorlevel 1 exit /b 1
echo - created %PHOTOS%, where every user may add, replace and delete photos
exit /b 0

rem UninstallMachineBits 64|32: removes the machine's DLL of that bitness, its
rem registration and its photo folder setting. REMOVED is set when there was
rem one, FAILED when it is in use.
:UninstallMachineBits
call :MachineTarget %1
if not exist "%TARGET%\vardolin.dll" exit /b 0
set "REMOVED=1"
call :ChooseRegsvr32 %1
rem (A path with a parenthesis is echoed only outside any if.)
set "UNREGISTERED="
"%REGSVR32%" /u /s "%TARGET%\vardolin.dll"
if not errorlevel 1 set "UNREGISTERED=1"
if defined UNREGISTERED goto :MachineUnregistered
echo - %TARGET%\vardolin.dll was not registered, or could not be loaded to remove it
goto :MachineDelete
:MachineUnregistered
echo - removed the registration of %TARGET%\vardolin.dll for every user
:MachineDelete
del "%TARGET%\vardolin.dll" 2>nul
if exist "%TARGET%\vardolin.dll" goto :MachineDllInUse
del "%TARGET%\vardolin.dll.new" 2>nul
rmdir "%TARGET%" 2>nul
echo - deleted %TARGET%\vardolin.dll
reg delete "HKLM\Software\Vardolin" /v PhotoFolder /f /reg:%1 >nul 2>nul
exit /b 0
:MachineDllInUse
set "FAILED=1"
echo %TARGET%\vardolin.dll is in use. Close Excel and any other program that
echo uses Vardolin, then run uninstall.cmd again.
exit /b 0

rem Removes the registration of the DLL already installed, whatever its
rem bitness: the system's own regsvr32 hands a DLL of the other bitness to its
rem counterpart, which is tried too. UNREGISTERED is the regsvr32 that did it.
:UnregisterInstalled
for %%b in (%WINBITS% 32) do (
    if not defined UNREGISTERED call :UnregisterWith %%b
)
exit /b 0

:UnregisterWith
call :ChooseRegsvr32 %1
"%REGSVR32%" /u /s %REGISTER_FOR% "%TARGET%\vardolin.dll"
if not errorlevel 1 set "UNREGISTERED=%REGSVR32%"
exit /b 0

rem Double-clicked in Explorer (install.cmd or uninstall.cmd), the window would
rem close before the messages could be read.
:PauseWhenDoubleClicked
set "PAUSE_AT_END="
rem Delayed expansion keeps the characters of the command line and of the
rem folder (&, parentheses, %) from being read as commands.
setlocal EnableDelayedExpansion
set "LINE=!CMDCMDLINE!"
set "FOUND="
if defined LINE if /i not "!LINE:%~dp0=!"=="!LINE!" set "FOUND=1"
endlocal & set "PAUSE_AT_END=%FOUND%"
exit /b 0
