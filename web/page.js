// SPDX-License-Identifier: GPL-3.0-or-later
// Gives the two windows, built into the page from the program's form table,
// their behaviour and carries out what the compiled quiz asks of them. It decides nothing about the drill: every button
// press goes to the quiz, which names the control it changes.
'use strict';

// Texts of the browser edition alone (the drill's own texts come from the program).
const kOk = 'OK';
const kEnded = 'Работа окончена. Эту вкладку можно закрыть.';

// The windows come built into the page (markup.js, from the same form table);
// the controls by their names in the table.
function controlsOf(windowName) {
    const root = document.getElementById(windowName);
    return new Map([...root.querySelectorAll('[data-name]')].map((el) => [el.dataset.name, el]));
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

// Every behaviour but the quiz's is given at once, so that the page works while
// the module is still compiling; presses meanwhile wait for it (see press()).
// Returns when the page is first drawn, and the function that attaches the
// compiled module.
function start() {
    const main = document.getElementById('Form1');
    const rule = {win: document.getElementById('Form2'),
        close: document.getElementById('Form2-close')};
    rule.dx = Number(rule.win.dataset.dx);
    rule.dy = Number(rule.win.dataset.dy);
    const byName = {main: controlsOf('Form1'), rule: controlsOf('Form2')};
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

    // The answer box's text when the press being carried out was made.
    let answerAtPress = null;

    // What the quiz calls, through the C++ QuizView.
    const page = {
        answerText: () => answerAtPress ?? answer.value,
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

    // Presses made before the module is ready are kept, each with the answer box's
    // text of its moment, and carried out in order once it is: none is lost, and
    // none is judged on text typed after it. One that opens a message box ends
    // the replay, as the box would have stopped the later ones.
    let drill = null;
    const waiting = [];
    function press(name) {
        if (drill) drill.press(name);
        else waiting.push({name, answer: answer.value});
    }
    for (const [name, el] of byName.main) {
        if (el instanceof HTMLButtonElement) activateOnKeys(el, () => press(name));
    }
    let attachQuiz;
    const attached = new Promise((resolve) => { attachQuiz = resolve; }).then((Module) => {
        drill = new Module.Drill(page);
        for (const {name, answer: text} of waiting.splice(0)) {
            if (dialog.open || main.classList.contains('ended')) break;
            answerAtPress = text;
            try {
                drill.press(name);
            } finally {
                answerAtPress = null;
            }
        }
    });

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

    // Drawn at the first frame after the embedded faces are in (marked in the
    // task after the frame's callbacks); ready once the quiz answers presses too.
    // The start-up benchmark waits for the first mark, the tests for the second.
    // The faces are asked about at each frame: the promise of fonts.ready is kept
    // only after a layout, a frame later than the one that shows them.
    const facesIn = () =>
        document.fonts.check('16px "Drill Sans"') && document.fonts.check('bold 16px "Drill Sans"');
    const drawn = new Promise((done) => {
        const atFrame = () => requestAnimationFrame(() => {
            if (facesIn()) setTimeout(done);
            else document.fonts.ready.then(atFrame);
        });
        atFrame();
    });
    drawn.then(() => {
        performance.mark('drill-drawn');
        document.documentElement.dataset.drawn = '1';
    });
    Promise.all([drawn, attached]).then(() => {
        performance.mark('drill-ready');
        document.documentElement.dataset.ready = '1';
    });
    return {drawn, attachQuiz};
}

// The page's last script compiles the module once the first complete frame is
// drawn and attaches it.
const {drawn: pageDrawn, attachQuiz} = start();
