#pragma once
// Key and mouse-button events turned into the handlers' codes, and held keys (internal to the kit).
#include <Qt>

class QKeyEvent;

namespace forms {

class Control;

// Shared by painted and native widgets: turns Qt key events into the handlers' events. A
// held key is one KeyDown and one KeyUp, however long it is held and whether or not its
// repeats come flagged.
// Returns true when the event was consumed (a repeat, a press the window does not take, or
// a character cancelled by its handler); `ripetizione` tells whether it was a repeat.
bool dispatchKeyPress(Control *c, QKeyEvent *e, bool *ripetizione = nullptr);
// The KeyUp, at once, unless the release belongs to a hold that has already acted or to a
// press the window did not take. True when it acted.
bool dispatchKeyRelease(Control *c, QKeyEvent *e);
int vbKeyCode(const QKeyEvent *e);
int vbShift(Qt::KeyboardModifiers m);
int vbButton(Qt::MouseButtons b);
// A release made while no window of the program had the keyboard never arrives: called as a
// window gets the keyboard, it forgets the keys held that are up by now.
void rivediTastiTenuti();

} // namespace forms
