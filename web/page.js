// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the two windows from the program's form table and carries out what the
// compiled quiz asks of them. It decides nothing about the drill: every button
// press goes to the quiz, which names the control it changes.
'use strict';

// Texts of the browser edition alone (the drill's own texts come from the program).
const kOk = 'OK';
const kClose = 'Закрыть';
const kEnded = 'Работа окончена. Эту вкладку можно закрыть.';

const byName = {main: new Map(), rule: new Map()};

function styleControl(el, c) {
    el.className = 'control' + (c.border ? ' border' : '') + (c.wordWrap ? ' wrap' : '');
    el.dataset.name = c.name;
    Object.assign(el.style, {
        left: c.left + 'px', top: c.top + 'px', width: c.width + 'px', height: c.height + 'px',
        fontSize: c.fontPx + 'px', fontWeight: c.bold ? 'bold' : 'normal',
        color: c.color, backgroundColor: c.background, textAlign: c.align,
    });
}

function makeControl(c, windowName, design) {
    let el;
    if (c.kind === 'button') {
        el = document.createElement('button');
        el.type = 'button';
        el.textContent = c.text;
    } else if (c.kind === 'textbox') {
        el = document.createElement('input');
        el.type = 'text';
        el.value = c.text;
        el.maxLength = design.answerMaxLength;
        el.autocomplete = 'off';
        el.spellcheck = false;
        el.setAttribute('autocapitalize', 'off');
        el.setAttribute('autocorrect', 'off');
    } else {
        el = document.createElement('div');
        el.textContent = c.text;
    }
    el.id = windowName + '-' + c.name;
    styleControl(el, c);
    // Positive tab indices follow the table's order; the table counts from 0.
    if (c.tabIndex >= 0) el.tabIndex = c.tabIndex + 1;
    if (c.accessibleName) el.setAttribute('aria-label', c.accessibleName);
    if (c.accessibleDescription) el.setAttribute('aria-description', c.accessibleDescription);
    return el;
}

function sizeWindow(el, w) {
    el.style.width = w.width + 'px';
    el.style.height = w.height + 'px';
    el.style.backgroundColor = w.background;
}

// Controls in reading order: top to bottom, then left to right.
function readingOrder(controls) {
    return [...controls].sort((a, b) => a.top - b.top || a.left - b.left);
}

function buildMain(design) {
    const w = design.main;
    const root = document.getElementById(w.name);
    sizeWindow(root, w);
    root.style.backgroundSize = design.pictureWidth + 'px ' + design.pictureHeight + 'px';
    // The focus starts on the first control of the tab order; autofocus gives it
    // at the first frame, without forcing a layout before the page is complete.
    const first = Math.min(...w.controls.filter((c) => c.tabIndex >= 0).map((c) => c.tabIndex));
    for (const c of readingOrder(w.controls)) {
        const el = makeControl(c, w.name, design);
        el.autofocus = c.tabIndex === first;
        byName.main.set(c.name, el);
        root.append(el);
    }
    return root;
}

function buildRule(design) {
    const w = design.rule;
    const win = document.getElementById(w.name);
    const client = win.querySelector('.client');
    sizeWindow(client, w);
    win.querySelector('.caption span').textContent = w.caption;
    const close = document.getElementById(w.name + '-close');
    close.textContent = '×';
    close.setAttribute('aria-label', kClose);
    close.title = kClose;
    const controls = new Map(w.controls.map((c) => [c.name, c]));
    for (const name of design.ruleReadingOrder) {
        const el = makeControl(controls.get(name), w.name, design);
        byName.rule.set(name, el);
        client.append(el);
    }
    win.setAttribute('aria-describedby',
        design.ruleReadingOrder.map((name) => w.name + '-' + name).join(' '));
    // Where the design puts it on the screen, relative to the main window.
    const dx = w.left - design.main.left;
    const dy = w.top - design.main.top;
    return {win, close, dx, dy};
}

function activateOnKeys(button, press) {
    button.addEventListener('click', press);
    // Enter alone clicks a button, once per press: a held key must not repeat it.
    button.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter') return;
        e.preventDefault();
        if (!e.repeat && !(e.altKey || e.ctrlKey || e.metaKey || e.shiftKey)) button.click();
    });
}

function start(Module) {
    const design = Module.design();
    document.title = design.main.caption;
    const main = buildMain(design);
    const rule = buildRule(design);
    const answer = byName.main.get('Text1');
    const dialog = document.getElementById('message');
    const announcer = document.getElementById('announcer');
    let returnFocus = null;
    let returnFromMessage = null;

    // Dismissed by OK, Enter or Esc; the focus goes back at once to where it
    // was, not a task later with the dialog's close event.
    function dismissMessage() {
        dialog.close();
        const back = returnFromMessage;
        returnFromMessage = null;
        if (back && back.isConnected && !back.disabled) back.focus();
    }

    function placeRule() {
        const box = main.getBoundingClientRect();
        rule.win.style.left = (box.left + window.scrollX + rule.dx) + 'px';
        rule.win.style.top = (box.top + window.scrollY + rule.dy) + 'px';
    }

    function closeRule() {
        if (rule.win.hidden) return;
        const inside = rule.win.contains(document.activeElement);
        rule.win.hidden = true;
        if (inside && returnFocus && returnFocus.isConnected) returnFocus.focus();
    }

    // What the quiz calls, through the C++ QuizView.
    const page = {
        answerText: () => answer.value,
        setText(name, text) {
            const el = byName.main.get(name);
            if (el instanceof HTMLInputElement) el.value = text;
            else el.textContent = text;
        },
        move(name, left, top) {
            const el = byName.main.get(name);
            el.style.left = left + 'px';
            el.style.top = top + 'px';
        },
        showRuleWindow() {
            // One rule window: shown again where it was, raised, and given the
            // focus as the desktop window is activated, so that it is read.
            if (rule.win.hidden) placeRule();
            rule.win.hidden = false;
            returnFocus = document.activeElement;
            rule.win.tabIndex = -1;
            rule.win.focus();
        },
        showMessage(text, title, icon) {
            dialog.className = icon;
            document.getElementById('message-title').textContent = title;
            document.getElementById('message-text').textContent = text;
            returnFromMessage = document.activeElement;
            dialog.showModal();
            document.getElementById('message-ok').focus();
        },
        endProgram() {
            // A tab this page did not open cannot be closed by it; where the
            // browser refuses, the page shows that the drill is over instead.
            window.close();
            closeRule();
            main.classList.add('ended');
            for (const el of main.querySelectorAll('button, input')) el.disabled = true;
            const ended = document.getElementById('ended');
            ended.textContent = kEnded;
            ended.hidden = false;
            page.announce(kEnded);
        },
        describe(name, text) {
            byName.main.get(name).setAttribute('aria-description', text);
        },
        announce(text) {
            announcer.textContent = text;
        },
    };

    const drill = new Module.Drill(page);
    for (const [name, el] of byName.main) {
        if (el instanceof HTMLButtonElement) activateOnKeys(el, () => drill.press(name));
    }

    document.getElementById('message-ok').textContent = kOk;
    activateOnKeys(document.getElementById('message-ok'), dismissMessage);
    dialog.addEventListener('cancel', (e) => {
        e.preventDefault();
        dismissMessage();
    });
    rule.close.addEventListener('click', closeRule);
    rule.win.addEventListener('keydown', (e) => {
        if (e.key === 'Escape') closeRule();
    });
    // A scrolled window would bring the moved-away button into view.
    main.addEventListener('scroll', () => { main.scrollLeft = 0; main.scrollTop = 0; });

    // Ready once the embedded faces are in and the frame after them is drawn
    // (the task after the frame's callbacks): the benchmarks and tests wait for
    // this mark.
    document.fonts.ready.then(() => requestAnimationFrame(() => setTimeout(() => {
        performance.mark('drill-ready');
        document.documentElement.dataset.ready = '1';
    })));
}

drillModule.then(start);
