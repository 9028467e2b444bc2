@echo off
rem Removes the Orvex control's registration: "unregister.cmd" for every
rem bitness this Windows can run, "unregister.cmd x86" or "unregister.cmd x64"
rem for one. Run it as administrator. Exit status as register.cmd's: 0 done;
rem 1 wrong use; 2 a file is missing; 3 Windows could not load a control file;
rem 4 no administrator rights; 5 the control's own registration failed.
call "%~dp0register.cmd" /u %*
exit /b %errorlevel%
