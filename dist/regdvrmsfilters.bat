@echo off
rem Re-registers the stream-buffer engine (StreamBufferSink, StreamBufferSource).
rem Wine has none: there the stand-in platform's servers, kept beside this
rem file, take its place. They are never registered on Windows.
cd /d "%~dp0"
reg query "HKCU\Software\Wine" >nul 2>&1
if errorlevel 1 goto windows
for %%f in (*standin*.ax) do regsvr32 /s "%%f"
goto end
:windows
regsvr32 /s "%SystemRoot%\System32\sbe.dll"
:end
