#pragma once

namespace drill {

class Form1;
class Form2;

// What assistive technology (a screen reader) is told about the windows. Nothing
// here changes what is shown or how the windows behave.
namespace a11y {

// Names the answer box and describes the displays of the main window. Call once,
// when its controls exist.
void ExposeMainWindow(Form1& window);

// Call after the problem line or the verdict line has changed. The focused
// control's description then carries the new problem and verdict, so that a
// screen reader speaks them without the focus moving; several changes in one
// step are told as one.
void MainWindowDisplaysChanged(Form1& window);

// Gives the rule window the rule in reading order as its description.
void ExposeRuleWindow(Form2& window);

} // namespace a11y
} // namespace drill
