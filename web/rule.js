// SPDX-License-Identifier: GPL-3.0-or-later
// The rule window: one, modeless, in front of or behind the main one.
import {focusBack, main, rule} from './windows.js';
import {messageOpen} from './message.js';
import {placeRule} from './placement.js';

const ruleState = {returnFocus: null, dx: Number(rule.dataset.dx), dy: Number(rule.dataset.dy)};

function ruleInFront() {
    return !rule.hidden && !main.classList.contains('front');
}

// Pressing or focusing a window brings it in front of the other, as a desktop does.
function raise(win) {
    main.classList.toggle('front', win === main);
}

// Within the visible part of the page, wherever it is asked to go.
function moveRule(left, top) {
    const html = document.documentElement;
    const maxLeft = scrollX + html.clientWidth - rule.offsetWidth;
    const maxTop = scrollY + html.clientHeight - rule.offsetHeight;
    rule.style.left = Math.max(scrollX, Math.min(left, maxLeft)) + 'px';
    rule.style.top = Math.max(scrollY, Math.min(top, maxTop)) + 'px';
}

function openRuleWhereSeen() {
    const html = document.documentElement;
    const {left, top} = placeRule({
        main: main.getBoundingClientRect(),
        view: {width: html.clientWidth, height: html.clientHeight},
        size: {width: rule.offsetWidth, height: rule.offsetHeight},
        bar: rule.firstElementChild.offsetHeight,
        gap: parseFloat(getComputedStyle(main.parentElement).rowGap) || 0,
        offset: ruleState,
    });
    rule.style.left = left + scrollX + 'px';
    rule.style.top = top + scrollY + 'px';
}

// One rule window: shown again where it was, raised, and given the focus as
// the desktop window is activated, so that it is read.
export function showRule() {
    if (rule.hidden) {
        rule.hidden = false;
        openRuleWhereSeen();
    }
    raise(rule);
    ruleState.returnFocus = document.activeElement;
    rule.tabIndex = -1;
    rule.focus();
}

export function closeRule() {
    if (rule.hidden) return;
    const inside = rule.contains(document.activeElement);
    rule.hidden = true;
    if (inside) focusBack(ruleState.returnFocus);
}

// Dragged by its title bar, by mouse, pen or finger.
function dragByCaption(handle) {
    let grip = null;
    handle.addEventListener('pointerdown', (e) => {
        if (e.button !== 0 || e.target.closest('button')) return;
        grip = {x: e.pageX - rule.offsetLeft, y: e.pageY - rule.offsetTop};
        handle.setPointerCapture(e.pointerId);
        e.preventDefault();
    });
    handle.addEventListener('pointermove', (e) => {
        if (grip) moveRule(e.pageX - grip.x, e.pageY - grip.y);
    });
    for (const end of ['pointerup', 'pointercancel']) {
        handle.addEventListener(end, () => {
            grip = null;
        });
    }
}

export function setUpRuleWindow() {
    document.getElementById(rule.id + '-close').addEventListener('click', closeRule);
    dragByCaption(rule.querySelector('.caption'));
    for (const win of [main, rule]) {
        for (const event of ['pointerdown', 'focusin']) {
            win.addEventListener(event, () => raise(win));
        }
    }
    document.addEventListener('keydown', (e) => {
        if (e.key === 'Escape' && ruleInFront() && !messageOpen()) closeRule();
    });
}
