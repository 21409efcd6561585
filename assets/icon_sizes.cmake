# SPDX-License-Identifier: GPL-3.0-or-later
# The icon sizes, read by the generator that draws them, the resources, the
# package and the web page: every size drawn and installed, the three the
# window and the page carry, and the four in the Windows edition's icon.
set(DRILL_ICON_SIZES 16 22 24 32 48 64 128 256)
set(DRILL_WINDOW_ICON_SIZES 16 32 48)
set(DRILL_EXE_ICON_SIZES 16 24 32 48)
