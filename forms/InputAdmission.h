#pragma once
// The gesture each key or mouse-button press belongs to, judged as the platform hands the
// press to any window of the program (the kit's windows, message boxes, dialogs), before a
// widget sees it: the first step of the kit's input admission (internal to the kit).
namespace forms {

// Installed once, as the first window of the kit is made. A press that follows the previous
// press of the same button or key within the platform's double-click interval, by the X
// server's times of the two, after a window or a control was shown or hidden and so changed
// what lies under the pointer or has the keyboard, belongs to that first press: it is the
// second half of a double press, a tremor or a bounce, made where the pupil did not aim,
// and it goes nowhere, nor does its release or a repeat of its key. A button's press is
// such only when it lands in the area of what the gesture's first press landed on, as the
// pupil saw it then: that control with the controls it acts as one with (of a tab strip or
// a menu bar, only the tab or title pressed), less what is drawn over it, and a margin
// round it over empty space, never over what is drawn over the control nor into another
// control a press acts on; when that press landed on the window itself, on a bar's bare
// stretch or on a frame that only holds controls, within the double-click distance and a
// few points more. A press in a list or menu that opened since was aimed and acts however
// soon. Each press that lands there within the interval is part of the same gesture,
// wherever the pointer went in between; a press after a real pause, elsewhere, of another
// button or key, or on what the first press left in place acts. Past this judge, a window
// of the kit takes a press only once it is on screen, and a release only where its press
// acted (FormWindow::prende).
void installInputAdmission();

} // namespace forms
