@echo off
rem Runs every test program of this kit on this desktop, one after another,
rem and ends with the count of tests passed and failed. Leave the mouse and
rem the keyboard alone meanwhile: the tests work real windows and keys.
rem A test whose program crashed has a RUN line and no result: it counts as
rem failed. A skipped test has two SKIPPED lines, one as it ends and one in
rem the list at the end, which has one more line when it is not empty.
rem Each log gets a last line holding every mark, counted out again: Wine's
rem cmd leaves the loop when a search inside it finds nothing.
setlocal enabledelayedexpansion
cd /d "%~dp0tests"
set passed=0
set failed=0
set skipped=0
for %%p in (unit_tests gui_tests exe_tests) do (
  echo == %%p
  %%p.exe > %%p.log 2>&1
  type %%p.log
  echo [ RUN      ] [       OK ] [  SKIPPED ] >> %%p.log
  set ran=-1
  set ok=-1
  set skip=-1
  for /f "delims=" %%l in ('type %%p.log ^| find "[ RUN      ]"') do set /a ran+=1
  for /f "delims=" %%l in ('type %%p.log ^| find "[       OK ]"') do set /a ok+=1
  for /f "delims=" %%l in ('type %%p.log ^| find "[  SKIPPED ]"') do set /a skip+=1
  set /a passed+=ok
  set /a skip/=2
  set /a skipped+=skip
  set /a failed+=ran-ok-skip
)
echo !skipped! skipped (each with its reason above)
echo !passed! passed, !failed! failed
if !failed! neq 0 exit /b 1
