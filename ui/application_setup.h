// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace drill {

// Look and language shared by the program and its window tests: the Fusion
// style (it paints buttons in their palette colour) with its own light
// palette whatever the desktop's colour scheme, Qt's own texts in
// Russian where the translation is installed, and the window icon.
void ConfigureApplication(QApplication& app);

} // namespace drill
