// SPDX-License-Identifier: GPL-3.0-or-later
// Gives the two windows, built into the page from the program's form table,
// their behaviour and carries out what the compiled quiz asks of them. It decides
// nothing about the drill: every button press goes to the quiz, which names the
// control it changes.
'use strict';

// Texts of the browser edition alone (the drill's own texts come from the program).
const kEnded = 'Работа окончена. Эту вкладку можно закрыть.';
const kFailed =
    'Тренажёр не удалось запустить. Откройте эту страницу в свежей версии ' +
    'Chrome, Edge, Firefox или Safari.';

// The embedded face, by the name the page's style gives it.
const kFace = getComputedStyle(document.documentElement).getPropertyValue('--face').trim();

// The windows come built into the page (markup.js, from the same form table);
// the controls by their names in the table and by what they are.
const main = document.querySelector('[data-window="main"]');
const rule = document.querySelector('[data-window="rule"]');
const controls = new Map(
    [...main.querySelectorAll('[data-name]')].map((el) => [el.dataset.name, el]),
);
const answerBox = main.querySelector('[data-role="answerBox"]');
const message = {
    box: document.getElementById('message'),
    ok: document.getElementById('message-ok'),
    said: document.getElementById('message-said'),
    back: null,
};
const announcer = document.getElementById('announcer');

function activateOnKeys(button, press) {
    button.addEventListener('click', press);
    // Enter alone clicks a button, once per press: a held key must not repeat it.
    button.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter') return;
        e.preventDefault();
        if (!e.repeat && !(e.altKey || e.ctrlKey || e.metaKey || e.shiftKey)) button.click();
    });
}

function announce(text) {
    announcer.textContent = text;
}

// The controls greyed out for good, with one line above or below saying why.
function disableWith(lineId, text) {
    closeRule();
    main.classList.add('ended');
    for (const el of main.querySelectorAll('button, input')) el.disabled = true;
    const line = document.getElementById(lineId);
    line.textContent = text;
    line.hidden = false;
    line.scrollIntoView({block: 'nearest'});
    announce(text);
}

// --- The message box: modal, dismissed by OK, Enter or Esc. ---------------

function showMessage(text, title, icon) {
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
    if (back && back.isConnected && !back.disabled) back.focus();
}

function setUpMessageBox() {
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

// --- The rule window: one, modeless, in front of or behind the main one. ---

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

// Opened where a press on the main window, which brings that window in front,
// cannot hide it: beside the main window if the view has room, else as far out
// to the side as the view goes, moved up or down to bare its title bar if that
// helps; where the main window fills the view (phones), just below it.
function placeRule() {
    const m = main.getBoundingClientRect();
    const html = document.documentElement;
    const [width, height] = [rule.offsetWidth, rule.offsetHeight];
    const bar = rule.firstElementChild.offsetHeight;
    const gap = parseFloat(getComputedStyle(main.parentElement).rowGap) || 0;
    const under = (at, size, from, to) => Math.max(0, Math.min(at + size, to) - Math.max(at, from));
    const inView = (at, size, room) => Math.max(0, Math.min(at, room - size));
    const hidden = (x) => under(x, width, m.left, m.right);
    const left = [m.left + ruleState.dx, m.right + gap, Infinity, 0]
        .map((x) => inView(x, width, html.clientWidth))
        .reduce((best, x) => (hidden(x) < hidden(best) ? x : best));
    const design = m.top + ruleState.dy;
    const top = hidden(left)
        ? [design, m.bottom + gap, m.top - gap - height]
              .map((y) => inView(y, height, html.clientHeight))
              .find((y) => under(y, bar, m.top, m.bottom) <= bar / 2)
        : design;
    if (top === undefined && width - hidden(left) < bar) {
        rule.style.left = m.left + scrollX + 'px';
        rule.style.top = m.bottom + gap + scrollY + 'px';
    } else moveRule(left + scrollX, (top ?? design) + scrollY);
}

// One rule window: shown again where it was, raised, and given the focus as
// the desktop window is activated, so that it is read.
function showRule() {
    if (rule.hidden) {
        rule.hidden = false;
        placeRule();
    }
    raise(rule);
    ruleState.returnFocus = document.activeElement;
    rule.tabIndex = -1;
    rule.focus();
}

function closeRule() {
    if (rule.hidden) return;
    const inside = rule.contains(document.activeElement);
    rule.hidden = true;
    const back = ruleState.returnFocus;
    if (inside && back && back.isConnected && !back.disabled) back.focus();
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

function setUpRuleWindow() {
    document.getElementById(rule.id + '-close').addEventListener('click', closeRule);
    dragByCaption(rule.querySelector('.caption'));
    for (const win of [main, rule]) {
        for (const event of ['pointerdown', 'focusin']) {
            win.addEventListener(event, () => raise(win));
        }
    }
    document.addEventListener('keydown', (e) => {
        if (e.key === 'Escape' && ruleInFront() && !message.box.open) closeRule();
    });
}

// --- The press queue: presses wait for the compiled module. ----------------

// Presses made before the module is ready are kept, each with the answer box's
// text of its moment, and carried out in order once it is: none is lost, and
// none is judged on text typed after it. One that opens a message box ends
// the replay, as the box would have stopped the later ones.
const presses = {drill: null, waiting: [], answerAtPress: null, attached: null};

function press(name) {
    if (presses.drill) presses.drill.press(name);
    else if (!main.classList.contains('ended')) {
        presses.waiting.push({name, answer: answerBox.value});
    }
}

// Each control's description carries the problem and the verdict, said as the
// focus arrives. The focused control's is not changed in place once it has one:
// Orca in Chromium reads a focused control's new description out, on top of the
// announcement. It is emptied meanwhile (an empty one is not read, and tells
// nothing stale) and given as the focus leaves, once the reader has moved on.
const waitingDescriptions = new Map();

function describe(name, text) {
    const el = controls.get(name);
    const focused = el === document.activeElement && document.hasFocus();
    const old = el.getAttribute('aria-description');
    if (focused && old !== null && old !== text) {
        waitingDescriptions.set(el, text);
        el.setAttribute('aria-description', '');
    } else {
        waitingDescriptions.delete(el);
        el.setAttribute('aria-description', text);
    }
}

main.addEventListener('focusout', (e) => {
    const text = waitingDescriptions.get(e.target);
    if (text === undefined) return;
    waitingDescriptions.delete(e.target);
    e.target.setAttribute('aria-description', text);
});

// What the quiz calls, through the C++ QuizView.
const pageView = {
    answerText: () => presses.answerAtPress ?? answerBox.value,
    setText(name, text) {
        const el = controls.get(name);
        if (el instanceof HTMLInputElement) el.value = text;
        else el.textContent = text;
    },
    move(name, left, top) {
        const el = controls.get(name);
        el.style.left = left + 'px';
        el.style.top = top + 'px';
        // Out of the window: the one-column layout hides it too.
        el.classList.toggle('away', left >= main.offsetWidth || top >= main.offsetHeight);
    },
    showRuleWindow: showRule,
    showMessage,
    endProgram() {
        // A tab this page did not open cannot be closed by it; where the
        // browser refuses, the page shows that the drill is over instead.
        window.close();
        disableWith('ended', kEnded);
    },
    describe,
    announce,
};

function attachQuiz(Module) {
    presses.drill = new Module.Drill(pageView);
    for (const {name, answer} of presses.waiting.splice(0)) {
        if (message.box.open || main.classList.contains('ended')) break;
        presses.answerAtPress = answer;
        try {
            presses.drill.press(name);
        } finally {
            presses.answerAtPress = null;
        }
    }
    presses.attached();
}

// The compiled core did not load or compile: said once, presses dropped.
function failToStart(error) {
    presses.waiting.length = 0;
    disableWith('failed', kFailed);
    console.error(error);
}

function setUpPresses() {
    for (const [name, el] of controls) {
        if (el instanceof HTMLButtonElement) activateOnKeys(el, () => press(name));
    }
    answerBox.readOnly = false;
    // A scrolled window would bring the moved-away button into view.
    main.addEventListener('scroll', () => {
        main.scrollLeft = 0;
        main.scrollTop = 0;
    });
    // An on-screen keyboard that opens over the box shrinks the page: the box
    // is brought back to the middle, the problem above it, "accept" below.
    const keepInView = () => {
        if (document.activeElement === answerBox) answerBox.scrollIntoView({block: 'center'});
    };
    window.addEventListener('resize', keepInView);
    window.visualViewport?.addEventListener('resize', keepInView);
    return new Promise((resolve) => {
        presses.attached = resolve;
    });
}

// --- One-line texts in another engine's metrics. ----------------------------
// The table sizes each fixed text to the desktop's hinted font; an engine that
// lays the same face out a few pixels wider (WebKit, Firefox) would cut its
// end, so such a text is drawn that much tighter instead. Measured off the
// layout, so the hidden rule window is done too.
function tightenWideTexts() {
    const ctx = document.createElement('canvas').getContext('2d');
    for (const el of document.querySelectorAll('.window div.control:not([data-role], .wrap)')) {
        const text = el.textContent.trimEnd();
        const s = getComputedStyle(el);
        ctx.font = `${s.fontWeight} ${s.fontSize} ${s.fontFamily}`;
        const over = ctx.measureText(text).width + 1 - parseFloat(el.style.width);
        if (over > 0) el.style.letterSpacing = `${-over / text.length}px`;
    }
}

// --- Readiness marks. -------------------------------------------------------

// Drawn at the first frame after the embedded faces are in (marked in the task
// after the frame's callbacks); ready once the quiz answers presses too. The
// start-up benchmark waits for the first mark, the tests for the second. The
// faces are asked about at each frame: the promise of fonts.ready is kept only
// after a layout, a frame later than the one that shows them.
function facesIn() {
    return document.fonts.check('16px ' + kFace) && document.fonts.check('bold 16px ' + kFace);
}

function markWhenDrawn() {
    const drawn = new Promise((done) => {
        const atFrame = () =>
            requestAnimationFrame(() => {
                if (facesIn()) setTimeout(done);
                else document.fonts.ready.then(atFrame);
            });
        atFrame();
    });
    drawn.then(() => {
        tightenWideTexts();
        performance.mark('drill-drawn');
        document.documentElement.dataset.drawn = '1';
    });
    return drawn;
}

function markWhenReady(drawn, attached) {
    Promise.all([drawn, attached]).then(() => {
        performance.mark('drill-ready');
        document.documentElement.dataset.ready = '1';
    });
}

// Every behaviour but the quiz's is given at once, so that the page works while
// the module is still compiling. The page's last script compiles the module
// once the first complete frame is drawn and attaches it (or says it failed).
setUpMessageBox();
setUpRuleWindow();
const pageDrawn = markWhenDrawn();
markWhenReady(pageDrawn, setUpPresses());
