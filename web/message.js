// SPDX-License-Identifier: GPL-3.0-or-later
// The message box: modal, dismissed by OK, Enter or Esc.
import {activateOnKeys, focusBack} from './windows.js';

const message = {
    box: document.getElementById('message'),
    ok: document.getElementById('message-ok'),
    said: document.getElementById('message-said'),
    back: null,
};

export const messageOpen = () => message.box.open;

export function showMessage(text, title, icon) {
    message.box.className = icon;
    document.getElementById('message-title').textContent = title;
    document.getElementById('message-text').textContent = text;
    message.said.textContent = '';
    message.back = document.activeElement;
    message.box.showModal();
    message.ok.focus();
    // A live region is heard when its text changes, not when it appears with it.
    setTimeout(() => {
        if (message.box.open) message.said.textContent = text;
    });
}

// The focus goes back at once to where it was, not a task later with the
// dialog's close event.
function dismissMessage() {
    message.box.close();
    const back = message.back;
    message.back = null;
    focusBack(back);
}

export function setUpMessageBox() {
    activateOnKeys(message.ok, dismissMessage);
    message.box.addEventListener('cancel', (e) => {
        e.preventDefault();
        dismissMessage();
    });
    // A press on the box's text leaves the focus on OK, as on the desktop.
    message.box.addEventListener('mousedown', (e) => {
        if (e.target !== message.ok) e.preventDefault();
    });
    // WebKit gives the focus a script moves the look of the focus before it,
    // and a clicked button there takes none: a box opened by the mouse would
    // show OK's ring. No button's ring shows from a press until a key is used.
    const root = document.documentElement;
    addEventListener('pointerdown', () => root.classList.add('pointing'), true);
    addEventListener('keydown', () => root.classList.remove('pointing'), true);
}
