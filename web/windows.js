// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows, built into the page from the program's form table, and what
// every part of the page's script finds in them: the controls by their names in
// the table and by what they are. The page's scripts are modules by role,
// joined by the build in the order web/CMakeLists.txt lists them into one
// classic script, strict from here on.
'use strict';

export const main = document.querySelector('[data-window="main"]');
export const rule = document.querySelector('[data-window="rule"]');
export const controls = new Map(
    [...main.querySelectorAll('[data-name]')].map((el) => [el.dataset.name, el]),
);
export const answerBox = main.querySelector('[data-role="answerBox"]');

// The focus back where it was before a window took it, if that control is still
// there to take it.
export function focusBack(control) {
    if (control && control.isConnected && !control.disabled) control.focus();
}

export function activateOnKeys(button, press) {
    button.addEventListener('click', press);
    // Enter alone clicks a button, once per press: a held key must not repeat it.
    button.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter') return;
        e.preventDefault();
        if (!e.repeat && !(e.altKey || e.ctrlKey || e.metaKey || e.shiftKey)) button.click();
    });
}
