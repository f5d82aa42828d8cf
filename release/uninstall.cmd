@echo off
rem Removes what install.cmd did for the current user: the registration of
rem %LOCALAPPDATA%\Vardolin\vardolin.dll and the DLL itself. The Pic folder
rem with the photos stays, and so does the folder that holds it.
rem Handed over without `call`, which would expand a % in the folder's path.
"%~dp0install.cmd" uninstall
