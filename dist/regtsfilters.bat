@echo off
rem Registers both transport-stream filters, found beside this file.
cd /d "%~dp0"
regsvr32 /s telvantissource.ax
regsvr32 /s telvantissink.ax
