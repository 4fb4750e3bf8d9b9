#pragma once
// Whether a key is down right now by the keyboard's own state, where the desktop can tell.
#include <QtGlobal>
#include <optional>

namespace platform {

// The key by its native code (as the key events carry it). Empty when the state cannot be
// read: no native code, or a platform that does not give it (offscreen, non-X11).
std::optional<bool> keyDown(quint32 nativeScanCode);

} // namespace platform
