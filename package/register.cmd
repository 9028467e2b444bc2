@echo off
rem Registers the Orvex control with Windows, from the folders beside this script.
rem   register.cmd        the 32-bit control (x86\Orvex.OCX) and, on 64-bit
rem                       Windows, the 64-bit one as well (x64\Orvex.OCX)
rem   register.cmd x86    only the 32-bit control
rem   register.cmd x64    only the 64-bit control
rem unregister.cmd runs this script with /u to remove them again.
rem Run it as administrator. Exit status, the same for both scripts:
rem   0 every step worked         3 Windows could not load a control file
rem   1 wrong use                 4 no administrator rights for the registry
rem   2 a file is missing         5 the control's own registration failed
setlocal EnableExtensions
set "here=%~dp0"
set "action=register"
set "switch="
if /i "%~1"=="/u" set "action=unregister"
if /i "%~1"=="/u" set "switch=/u"
if /i "%~1"=="/u" shift
set "only=%~1"
if not "%~2"=="" goto usage

rem Each bitness has its own regsvr32 and its own view of the registry. On
rem 64-bit Windows the 32-bit regsvr32 lives in SysWOW64; a 32-bit prompt sees
rem the 64-bit System32 as Sysnative.
set "regsvr32_x86=%SystemRoot%\System32\regsvr32.exe"
set "regsvr32_x64="
set "view_x86="
set "view_x64="
set "views=-"
if defined PROCESSOR_ARCHITEW6432 goto wow64_prompt
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" goto bitness_known
set "regsvr32_x86=%SystemRoot%\SysWOW64\regsvr32.exe"
set "regsvr32_x64=%SystemRoot%\System32\regsvr32.exe"
goto views_64
:wow64_prompt
set "regsvr32_x64=%SystemRoot%\Sysnative\regsvr32.exe"
:views_64
set "view_x86=/reg:32"
set "view_x64=/reg:64"
set "views=/reg:32 /reg:64"
:bitness_known

set "targets="
if "%only%"=="" set "targets=x86"
if "%only%"=="" if defined regsvr32_x64 set "targets=x86 x64"
if /i "%only%"=="x86" set "targets=x86"
if /i "%only%"=="x64" set "targets=x64"
if not defined targets goto usage
if "%targets%"=="x64" if not defined regsvr32_x64 goto no_x64

set "status=0"
for %%b in (%targets%) do if not exist "%here%%%b\Orvex.OCX" call :missing "%here%%%b\Orvex.OCX"
if not "%status%"=="0" goto end
for %%b in (%targets%) do call :one %%b
goto end

:usage
echo Usage: register.cmd [x86 ^| x64]   or   unregister.cmd [x86 ^| x64]
echo Without an argument both bitnesses this Windows can run are handled.
set "status=1"
goto end

:no_x64
echo This is 32-bit Windows: the 64-bit control (x64\Orvex.OCX) cannot be used here.
echo Use "%action%.cmd x86" instead.
set "status=1"
goto end

:missing
echo FAILED: a file is missing: %1
echo Unpack the whole package and run this script in the unpacked folder, beside
echo its x86 and x64 folders; the script does not work when copied on its own.
set "status=2"
goto :eof

rem One bitness: regsvr32 of that bitness. The control reports every refused
rem registry write in regsvr32's result; unregistering reports nothing, so
rem there a look into the registry tells whether the class is gone. A failure
rem is then traced to its cause: a trial write tells whether this prompt may
rem write the classes' registry at all.
:one
set "bits=%~1"
call set "tool=%%regsvr32_%bits%%%"
call set "view=%%view_%bits%%%"
set "name=32-bit"
if "%bits%"=="x64" set "name=64-bit"
"%tool%" /s %switch% "%here%%bits%\Orvex.OCX"
set "code=%errorlevel%"
if "%code%"=="3" goto not_loaded
if "%action%"=="unregister" goto unregistered
if not "%code%"=="0" goto refused
echo OK: the %name% Orvex control is registered (%bits%\Orvex.OCX).
echo %name% hosts can now create "Orvex.Lumivox".
goto :eof

:unregistered
call :forget_type_library %bits%
reg query "HKCR\CLSID\@ORVEX_CLSID@" %view% >nul 2>&1
if not errorlevel 1 goto refused
echo OK: the %name% Orvex control is unregistered (%bits%\Orvex.OCX).
goto :eof

:not_loaded
echo FAILED: Windows could not load %bits%\Orvex.OCX with the %name% regsvr32.
echo The file is damaged (compare it with SHA256SUMS) or this Windows cannot run it.
set "status=3"
goto :eof

:refused
set "probe=HKCR\Orvex.RegistrationProbe"
reg add "%probe%" /f %view% >nul 2>&1
if errorlevel 1 goto no_rights
reg delete "%probe%" /f %view% >nul 2>&1
echo FAILED: the %name% Orvex control could not %action% itself (regsvr32 result %code%),
echo although this prompt may write the registry. Check that %bits%\Orvex.OCX matches
echo SHA256SUMS, and that no other program holds the control's registry keys.
set "status=5"
goto :eof

:no_rights
echo FAILED: Windows refused to %action% the %name% Orvex control: this prompt may
echo not write the registry. Right-click %action%.cmd and choose "Run as administrator",
echo or start it from a command prompt opened with "Run as administrator".
set "status=4"
goto :eof

rem The control leaves its type library registered when it unregisters itself;
rem the library's entry for this bitness goes here, and the whole library with
rem its interfaces once no bitness is left.
:forget_type_library
set "platform=win32"
if "%~1"=="x64" set "platform=win64"
call :delete "HKCR\TypeLib\@ORVEX_LIBID@\1.0\409\%platform%"
set "left="
for %%v in (%views%) do call :look_for_type_library %%v
if defined left goto :eof
call :delete "HKCR\TypeLib\@ORVEX_LIBID@"
call :delete "HKCR\Interface\@ORVEX_IID@"
call :delete "HKCR\Interface\@ORVEX_DIID@"
goto :eof

:look_for_type_library
set "v=%~1"
if "%v%"=="-" set "v="
reg query "HKCR\TypeLib\@ORVEX_LIBID@\1.0\409\win32" %v% >nul 2>&1
if not errorlevel 1 set "left=1"
reg query "HKCR\TypeLib\@ORVEX_LIBID@\1.0\409\win64" %v% >nul 2>&1
if not errorlevel 1 set "left=1"
goto :eof

rem Deletes a key in every registry view of this Windows.
:delete
for %%v in (%views%) do call :delete_in %1 %%v
goto :eof

:delete_in
set "v=%~2"
if "%v%"=="-" set "v="
reg query %1 %v% >nul 2>&1
if errorlevel 1 goto :eof
reg delete %1 /f %v% >nul 2>&1
goto :eof

:end
exit /b %status%
