#pragma once
#include <stdexcept>

// What the program refuses by its own rules before anything changes: a value
// it cannot carry through exactly, or a choice that is not there. Windows
// refused nothing (its failures are PlatformError). Each handler meets it as
// its behaviour says: a message, or the same silence or error as a failure.
class Refusal : public std::runtime_error {
public:
    enum Reason {
        UnwritableName,      // a character the ANSI code page cannot hold exactly, for a call with only an "A" form
        UnpairedSurrogate,   // half a UTF-16 surrogate pair, which no text file holds exactly
        TrailingDotOrSpace,  // a name Win32 path handling would shorten
        TrailingDotAbove,    // the same, of a folder above the chosen one
        ReservedName,        // a device's name to Windows ("aux", "com1.txt")
        RedirectedFolder,    // under WOW64, SysWOW64's folder named as System32's
        LineBreak,           // would end an INI value early and start a line of its own
        PathTooLong,         // longer than the profile writer and Win32's file calls take
        TooLong,             // a value longer than the profile writer stores
        NoFolder,            // no folder chosen
        NoIconFile,          // no icon chosen, or its file is gone or no longer holds it
        NotOwnFile,          // a desktop.ini that leads elsewhere (a folder, a link, even to nothing, other names)
        FileTooLarge,        // a desktop.ini too large to be one
        NotWritten,          // a value the file does not hold as it was written, or a setting it lost
        Unreadable,          // a desktop.ini whose bytes are no text the profile functions read
        NotAPicture,         // a picture cut short or damaged, or of a format not decoded
        PictureTooLarge,     // a picture whose decoding would take more memory than a folder's icon is worth
    };

    explicit Refusal(Reason why) : std::runtime_error("refused"), why_(why) {}
    Reason Why() const { return why_; }

private:
    Reason why_;
};
