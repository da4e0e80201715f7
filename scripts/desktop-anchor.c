/* Holds a Wine session's desktop for as long as the session lasts.
 *
 * wineserver closes a desktop one second after the last program on it ends:
 * Explorer (explorer.exe /desktop) is told to quit and takes the desktop's
 * windows with it, and the next program that needs a desktop starts Explorer
 * again, handing it its own standard error. Between two test programs that
 * second is often all there is: a program whose window was just created
 * lost it as Explorer quit (its window destroyed, the program ended with
 * code 0 before anyone saw it), and an Explorer started by a test held that
 * test's output open after it ended (CTest then waits for the output until
 * its time limit; the Windows kit's next program could not write its log).
 *
 * This program is a user of the desktop from the session's start to its end
 * (wineserver -k): the desktop is never left empty, and the one Explorer of
 * the session is started here, with no output of anyone's. It creates a
 * message-only window, which no test sees, writes the file named on its
 * command line once it is in place, and waits for messages that never come.
 */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR ready, int show) {
    (void)instance, (void)previous, (void)show;
    if (!CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL)) return 1;
    GetDesktopWindow(); /* the desktop, and its Explorer, in place before the session goes on */
    if (*ready == L'"') { /* a path with a space comes quoted */
        ++ready;
        for (wchar_t* c = ready; *c; ++c)
            if (*c == L'"') *c = 0;
    }
    HANDLE file = CreateFileW(ready, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
