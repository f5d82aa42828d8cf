@echo off
rem Removes what install.cmd did for the current user: the registration of
rem %LOCALAPPDATA%\Vardolin\vardolin.dll and the DLL itself. The Pic folder
rem with the photos stays, and so does the folder that holds it. Run as
rem administrator (or with /machine), what install.cmd did for every user.
rem Handed over without `call`, which would expand a % in the folder's path.
if /i "%~1"=="/machine" goto :Machine
"%~dp0install.cmd" uninstall
goto :eof
:Machine
"%~dp0install.cmd" /machine uninstall
