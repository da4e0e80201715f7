#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The test icons beside the test programs (tests/data): five 32 x 32 icons
// of plain colours; the fourth (index 3) is blue on its left half and
// transparent on its right half. The sixth is like the fourth, with a 48 x 48
// image of another colour: what a preview shows tells which was drawn.
std::wstring TestIconsDll();
inline constexpr int kTestIconCount = 6;
inline constexpr int kSizedIcon = 5;
inline constexpr COLORREF kTestIconColours[kTestIconCount] = {
    RGB(255, 0, 0), RGB(0, 160, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 128, 128)};
inline constexpr COLORREF kSizedIconColour48 = RGB(255, 128, 0);

// Acts on a window as soon as `find` sees it, from inside whatever modal
// loop this thread runs then (a thread timer polls). If it never appears,
// the test fails and every dialog of the thread is cancelled, so that no
// test waits behind a dialog.
// A watch that is not `required` ends quietly when nothing appears.
void WhenWindow(std::function<HWND()> find, std::function<void(HWND)> act, DWORD timeoutMs = 10000,
                bool required = true);
// Closes `window`, as its close box would, if it is still open once the
// input posted to this thread so far has been handled: a dialog a test
// failed to close must not block the run. Then `left` runs; by default it
// fails the test. Only that window is looked at, so a later dialog of the
// same kind is never taken for it.
void CloseIfStillOpen(HWND window, std::function<void()> left = nullptr);
// Drops every watch and close-up still waiting: a watch belongs to the test that set it,
// and must not act on the next test's dialogs when tests share a process
// (run-tests.cmd runs each program whole).
void ForgetWatches();

// A visible top-level window of this thread with this caption.
HWND FindThreadWindowTitled(const std::wstring& caption);
// A visible dialog (#32770) of this thread that `accept` takes; one holding
// a child with this text.
HWND FindDialogWith(const std::function<bool(HWND)>& accept);
HWND FindDialogHolding(const std::wstring& childText);

// A key pressed on `target`, through the thread's queue and so through the
// dialog manager (Enter, Esc, arrows).
void PostKey(HWND target, UINT key);
// Cancels every visible dialog of this thread.
void CancelThreadDialogs();
