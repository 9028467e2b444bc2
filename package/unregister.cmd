@echo off
rem Removes the Orvex control's registration: "unregister.cmd" for every
rem bitness this Windows can run, "unregister.cmd x86" or "unregister.cmd x64"
rem for one. Run it as administrator. Exit status 0 when it worked, else not 0.
call "%~dp0register.cmd" /u %*
exit /b %errorlevel%
