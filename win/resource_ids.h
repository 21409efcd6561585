// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's resources, shared by the resource script and the code.
#define DRILL_ICON 1
#define DRILL_BACKGROUND 10
#define DRILL_BACKGROUND_2X 11
