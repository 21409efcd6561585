# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -D MSIBUILD=... -D IN=raw.msi -D OUT=final.msi -D NAME=... -P msi-names.cmake
# Gives the package the Cyrillic code page (1251) and the program's Russian name
# where the shell shows it: Programs and Features and the Start-menu shortcut.
# msibuild stores the UTF-8 given here in that code page. The shortcut also
# becomes a plain one to the executable (wixl makes every shortcut advertised).
file(COPY_FILE "${IN}" "${OUT}.part")
set(_codepage "${OUT}.codepage.idt")
file(WRITE "${_codepage}" "\r\n\r\n1251\t_ForceCodepage\r\n")
execute_process(
    COMMAND "${MSIBUILD}" "${OUT}.part" -i "${_codepage}"
            -q "UPDATE `Property` SET `Value` = '${NAME}' WHERE `Property` = 'ProductName'"
            -q "UPDATE `Shortcut` SET `Name` = 'drill|${NAME}', `Target` = '[#Program]' WHERE `Shortcut` = 'StartMenu'"
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${_codepage}")
file(RENAME "${OUT}.part" "${OUT}")
