// Which shortcut key a key press is.
//
// Shortcuts are letters and the digits of the main row, pressed without any
// modifier.  A digit is the key's place on the main row, whatever the layout writes
// there without Shift (on AZERTY the unshifted keys give &, é, " ...): keys 1 .. 9
// and 0 are XKB keycodes 10 .. 19, which every Linux platform plugin reports as the
// native scan code.  A letter is the letter on the key: the layout's own Latin
// letter, or on a layout of another script (Cyrillic, Greek) the Latin letter the US
// layout has on that key.  A key press without native
// information (scan code 0: the offscreen and minimal platforms, simulated input) is
// taken as Qt names the key.
#pragma once

#include <QKeyEvent>

namespace vivarix {

// 'A' .. 'Z' or '0' .. '9' for a press that counts as that shortcut key, else 0.
char shortcutKey(const QKeyEvent& press);

}  // namespace vivarix
