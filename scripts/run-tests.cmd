@echo off
rem Runs every test program of this kit on this desktop, one after another,
rem and ends with the count of tests passed and failed. Leave the mouse and
rem the keyboard alone meanwhile: the tests work real windows and keys.
rem
rem Every test a program lists counts once: passed, skipped (two SKIPPED
rem lines, one as it ends and one in the list at the end) or failed. A test
rem that never reports, because its program crashed or was stopped at its
rem time limit (TIVRELON_TEST_MINUTES, 10 unless set), counts as failed, and
rem the program's end is said. A program that ends with an error although
rem none of its tests failed (it could not start, or failed outside any
rem test) counts as one failure. Each log gets a last line holding every
rem mark, counted out again: Wine's cmd leaves a loop when a search inside
rem it finds nothing.
setlocal
set find=%SystemRoot%\System32\find.exe
cd /d "%~dp0tests"
if /i not "%cd%\"=="%~dp0tests\" (
  echo Cannot enter the folder "%~dp0tests".
  exit /b 1
)
set passed=0
set failed=0
set skipped=0
call :run unit_tests
call :run gui_tests
call :run exe_tests
echo %skipped% skipped (each with its reason above)
echo %passed% passed, %failed% failed
if not "%failed%"=="0" exit /b 1
exit /b 0

:run
echo == %1
%1.exe --gtest_list_tests > %1.list 2>&1
echo   (listed) >> %1.list
set listed=-1
for /f "delims=" %%l in ('type %1.list ^| "%find%" "  "') do set /a listed+=1
%1.exe > %1.log 2>&1
set code=%errorlevel%
type %1.log
echo [ RUN      ] [       OK ] [  SKIPPED ] >> %1.log
set ran=-1
set ok=-1
set skip=-1
for /f "delims=" %%l in ('type %1.log ^| "%find%" "[ RUN      ]"') do set /a ran+=1
for /f "delims=" %%l in ('type %1.log ^| "%find%" "[       OK ]"') do set /a ok+=1
for /f "delims=" %%l in ('type %1.log ^| "%find%" "[  SKIPPED ]"') do set /a skip+=1
set /a skip/=2
if %ran% lss %listed% echo == %1 ended with code %code% after %ran% of its %listed% tests: the rest count as failed
if %ran% gtr %listed% set listed=%ran%
set /a lost=listed-ok-skip
if not "%code%"=="0" if %ran% geq %listed% echo == %1 ended with code %code%
if not "%code%"=="0" if "%lost%"=="0" set lost=1
set /a passed+=ok
set /a skipped+=skip
set /a failed+=lost
exit /b 0
