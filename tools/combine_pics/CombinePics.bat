@echo off
rem Joins netpbm\tmp-front.jpg and netpbm\tmp-back.jpg into one JPEG named by the only argument
rem (front above back) and removes both. A site may replace this file with other tools; the
rem program calls it with the target name as its only argument, from the program folder.
"%~dp0combine_pics.exe" %1
