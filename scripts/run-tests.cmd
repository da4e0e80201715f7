@echo off
rem Runs every test program of this kit on this desktop, one after another,
rem and ends with the count of tests passed and failed. Leave the mouse and
rem the keyboard alone meanwhile: the tests work real windows and keys.
setlocal enabledelayedexpansion
cd /d "%~dp0tests"
set passed=0
set failed=0
set skipped=0
for %%p in (unit_tests gui_tests exe_tests) do (
  echo == %%p
  %%p.exe > %%p.log 2>&1
  type %%p.log
  set ran=0
  set ok=0
  set skip=0
  rem A test that crashed its program has a RUN line and no result line.
  for /f "delims=" %%l in ('type %%p.log ^| find "[ RUN      ]"') do set /a ran+=1
  for /f "delims=" %%l in ('type %%p.log ^| find "[       OK ]"') do set /a ok+=1
  for /f "delims=" %%l in ('type %%p.log ^| find "[  SKIPPED ]" ^| find " ms)"') do set /a skip+=1
  set /a passed+=ok, skipped+=skip, failed+=ran-ok-skip
)
echo !skipped! skipped (each with its reason above)
echo !passed! passed, !failed! failed
if !failed! neq 0 exit /b 1
