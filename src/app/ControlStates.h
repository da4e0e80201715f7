#pragma once

// The main window's control states, event by event: whether each control
// that an event changes is enabled after it. Keep leaves a control as it is.
// The info-tip box's colour follows its enabled state: its row in the
// control table says so.
namespace states {

enum Turn : signed char { Keep, On, Off };

struct Row {
    Turn cmdShowIcon, cmdDone, chkReset, txtInfoTip;
};

// clang-format off
//                                            cmdShowIcon  cmdDone  chkReset  txtInfoTip
inline constexpr Row kStart                  {Off,         Off,     Off,      Off};
inline constexpr Row kFolderChosen           {On,          Keep,    On,       On};
// Reset ignores the icon and the info tip: in reset mode they stay off, and
// Apply, which resets, is on.
inline constexpr Row kFolderChosenResetMode  {Keep,        On,      On,       Keep};
inline constexpr Row kIconDrawn              {Keep,        On,      Keep,     Keep};
inline constexpr Row kResetEntered           {Off,         On,      Keep,     Off};
inline constexpr Row kResetLeft              {On,          Off,     Keep,     On};
inline constexpr Row kAfterApply             {Keep,        Off,     Keep,     Keep};
// clang-format on

}  // namespace states
