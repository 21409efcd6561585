// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// What assistive technology (a screen reader) is told about the windows, beyond
// the names and descriptions the form table gives. Nothing here changes what is
// shown or how the windows behave. Each window wires its own; these are the
// helpers they share.
namespace drill::a11y {

// Makes the two windows known to assistive technology as windows, so that a
// screen reader announces each by its title when it opens, and the announcer
// as a notification named after its text. Before any window exists: Qt asks
// the factories once per object, as soon as a window sets its title.
void InstallFactories();

// Sets a control's description when it differs: every change is spoken on the
// focused control, so only real ones are made.
void SetDescription(QWidget& control, const QString& description);

} // namespace drill::a11y
