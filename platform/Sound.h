#pragma once
// Plays a sound file without waiting for it. With no audio device the program stays
// silent; a missing file gives the system's beep.
#include <QString>
#include <functional>

namespace platform {

void playSoundAsync(const QString &file);

// Tests observe what would be played ("beep" for the default sound).
void setSoundObserver(std::function<void(const QString &)> observer);

} // namespace platform
