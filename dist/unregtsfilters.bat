@echo off
rem Unregisters both transport-stream filters, found beside this file.
cd /d "%~dp0"
regsvr32 /s /u telvantissource.ax
regsvr32 /s /u telvantissink.ax
