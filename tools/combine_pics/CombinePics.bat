@echo off
rem Joins netpbm\tmp-front.jpg and netpbm\tmp-back.jpg into one JPEG named by the only argument
rem (front above back) and removes both. A site may replace this file with other tools; the
rem program calls it with the target name as its only argument, in its data folder (the current
rem directory, where netpbm\ holds the temporary images), and takes exit status 0 as success.
"%~dp0combine_pics.exe" %1
