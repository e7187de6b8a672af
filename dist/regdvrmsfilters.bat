@echo off
rem Re-registers the stream-buffer engine (StreamBufferSink, StreamBufferSource).
rem Wine has none: there the stand-in platform's servers (telvstandin-*.dll),
rem kept beside this file, take its place. They are never registered on Windows.
cd /d "%~dp0"
reg query "HKCU\Software\Wine" >nul 2>&1
if errorlevel 1 goto windows
for %%f in (telvstandin-*.dll) do regsvr32 /s "%%f"
goto end
:windows
regsvr32 /s "%SystemRoot%\System32\sbe.dll"
:end
