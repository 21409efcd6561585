// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge to the compiled quiz: every button press goes to it, and it names
// the control it changes; the page decides nothing about the drill. Presses
// made before the module is ready wait for it.
import {activateOnKeys, answerBox, controls, main} from './windows.js';
import {messageOpen, showMessage} from './message.js';
import {closeRule, showRule} from './rule.js';

// Texts of the browser edition alone (the drill's own texts come from the program).
const kEnded = 'Работа окончена. Эту вкладку можно закрыть.';
const kFailed =
    'Тренажёр не удалось запустить. Откройте эту страницу в свежей версии ' +
    'Chrome, Edge, Firefox или Safari.';

const announcer = document.getElementById('announcer');

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
        if (messageOpen() || main.classList.contains('ended')) break;
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

// Every press taken at once, kept until the quiz is attached (the promise kept then).
export function setUpPresses() {
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

// The WebAssembly is decoded and compiled at once, off the page's own thread,
// while the faces decode; its glue, the page's last script, is run only once
// the windows are drawn, so that neither holds up their first frame. The quiz
// is attached then, or said to have failed.
export function startQuiz(drawn) {
    const wasm = document.getElementById('drill-wasm').textContent;
    const compiled = WebAssembly.compileStreaming(fetch('data:application/wasm;base64,' + wasm));
    compiled.catch(() => {}); // said below, once the windows are drawn
    const parsed = new Promise((done) => {
        if (document.readyState === 'loading') addEventListener('DOMContentLoaded', done);
        else done();
    });
    const instantiateWasm = (imports, done) => {
        compiled.then((module) => WebAssembly.instantiate(module, imports)).then(done, failToStart);
        return {};
    };
    Promise.all([drawn, parsed])
        .then(() => createDrillModule({instantiateWasm}))
        .then(attachQuiz, failToStart);
}
