#pragma once
// What the display server says about the input it sends: its clock, and held keys.
#include <QtGlobal>
#include <functional>
#include <optional>

namespace platform {

// Asks the display server to report a held key as repeated presses and one release at the
// end, instead of release and press pairs (X11's detectable auto-repeat, for the program's
// own connection). False where it refuses, or where there is no such server (offscreen).
bool askDetectableAutoRepeat();

// The server's clock now, on the scale of the times its input events carry (milliseconds).
// 0 when it cannot be read: no X11 server (the offscreen platform), unless a test stands in.
ulong serverTime();

// Tests stand in for the server's clock; an empty function gives it back.
void setServerTimeSource(std::function<ulong()> source);

// Whether a key is down right now by the keyboard's own state, the key given by the native
// code its events carry. Empty where the state cannot be read (no X11 server, no native
// code), unless a test stands in.
std::optional<bool> keyDown(quint32 nativeScanCode);
void setKeyStateSource(std::function<std::optional<bool>(quint32)> source);

// Whether server time `a` comes before `b`: the clock is 32 bits wide and wraps.
inline bool serverTimeBefore(ulong a, ulong b) { return qint32(quint32(a) - quint32(b)) < 0; }

} // namespace platform
