// SPDX-License-Identifier: GPL-3.0-or-later
// A whole drill played with the keyboard alone, every display, message box and
// announcement checked against the quiz's rules.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {assertClean, browserName, lacking, launch, openDrill, programData} from './browser.mjs';

const kWide = 1900; // a screen wide enough to show the moved-away button

let browser, data, texts;
before(async () => {
    browser = await launch();
    data = await programData();
    texts = data.texts;
});
after(async () => browser?.close());

// What the user sees and hears, and where the focus is.
function look(page) {
    return page.evaluate(() => {
        const of = (role) => document.querySelector(`[data-role="${role}"]`);
        const dialog = document.getElementById('message');
        return {
            problem: of('problem').textContent,
            questionNo: of('questionNo').textContent,
            mistakes: of('mistakes').textContent,
            verdict: of('verdict').textContent,
            answer: of('answerBox').value,
            focus: document.activeElement?.dataset.role ?? document.activeElement?.id ?? '',
            said: document.getElementById('announcer').textContent,
            message: dialog.open
                ? {
                      title: document.getElementById('message-title').textContent,
                      text: document.getElementById('message-text').textContent,
                      icon: dialog.className,
                  }
                : null,
            ruleOpen: !document.getElementById('Form2').hidden,
        };
    });
}

// Tab towards a later control, Shift+Tab towards an earlier one, in the design's
// tab order: wrapping past the last control would leave the page for the
// browser's own toolbar, which Firefox under remote control never gives back.
async function focusOn(page, role) {
    const roles = Object.fromEntries(Object.entries(data.design.roles).map(([r, n]) => [n, r]));
    const order = Object.fromEntries(
        data.design.main.controls.map((c) => [roles[c.name], c.tabIndex]),
    );
    for (let i = 0; i < 16; ++i) {
        const focus = (await look(page)).focus;
        if (focus === role) return;
        const back = order[focus] > order[role];
        if (back) await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        if (back) await page.keyboard.up('Shift');
    }
    assert.fail(`Tab never reached ${role}`);
}

async function press(page, role, key = 'Enter') {
    await focusOn(page, role);
    await page.keyboard.press(key);
}

async function typeAnswer(page, text) {
    await focusOn(page, 'answerBox');
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyA');
    await page.keyboard.up('Control');
    await page.keyboard.press('Backspace');
    if (text) await page.keyboard.type(text);
    assert.equal((await look(page)).answer, text);
}

// The open message box: its texts, its icon and the focus on OK; then dismissed.
async function expectMessage(page, text, icon, dismissKey) {
    const seen = await look(page);
    assert.deepEqual(seen.message, {title: data.design.main.caption, text, icon});
    assert.equal(seen.focus, 'message-ok', 'the focus is on OK');
    const ring = await page.$eval('#message-ok', (ok) => getComputedStyle(ok).outlineStyle);
    assert.notEqual(ring, 'none', 'opened by a key, OK shows its focus ring');
    await page.keyboard.press(dismissKey);
    assert.equal((await look(page)).message, null, `${dismissKey} dismisses the box`);
}

// The moved start button: where the design puts it, enabled, and nowhere to be
// seen, though the screen is wide enough to show it were the window not clipping.
async function expectStartButtonUnseen(page, left, screenWidth) {
    const seen = await page.evaluate((screenWidth) => {
        const form = document.getElementById('Form1');
        const main = form.getBoundingClientRect();
        const button = document.querySelector('[data-role="start"]');
        const b = button.getBoundingClientRect();
        const hit = document.elementFromPoint(b.left + b.width / 2, b.top + b.height / 2);
        return {
            left: b.left - main.left,
            onScreen: b.right <= screenWidth,
            hit: hit === button,
            scrolled: form.scrollLeft + form.scrollTop,
            disabled: button.disabled,
        };
    }, screenWidth);
    assert.deepEqual(seen, {left, onScreen: true, hit: false, scrolled: 0, disabled: false});
}

// The quiz's judgement, as its facts give every text it accepts.
const judge = (row, text) => (row.accepted.includes(text) ? texts.correct : texts.wrong);

function rowOf(problem) {
    const row = data.bank.find((q) => q.problem === problem);
    assert.ok(row, `"${problem}" is a question of the bank`);
    return row;
}

test('a whole drill with the keyboard alone', async () => {
    const {page} = await openDrill(browser, {width: kWide});
    const designed = Object.fromEntries(data.design.main.controls.map((c) => [c.name, c.text]));
    assert.equal(await page.title(), data.design.main.caption);
    assert.deepEqual(await look(page), {
        problem: '',
        questionNo: '',
        mistakes: '',
        verdict: texts.verdictHint,
        answer: designed[data.design.roles.answerBox],
        focus: 'rule',
        said: '',
        message: null,
        ruleOpen: false,
    });

    // Before the start: the rule opens (Space clicks), Esc closes it.
    await page.keyboard.press(' ');
    let seen = await look(page);
    assert.ok(seen.ruleOpen, 'the rule opens before the start');
    assert.equal(seen.focus, 'Form2');
    await page.keyboard.press('Escape');
    seen = await look(page);
    assert.ok(!seen.ruleOpen);
    assert.equal(seen.focus, 'rule', 'the focus comes back to "Правило"');

    // Before the start the box still holds its design text: moving on is refused
    // until "Принять ответ", which judges nothing and counts nothing.
    await press(page, 'next');
    await expectMessage(page, texts.confirmAnswer, 'information', 'Enter');
    assert.equal((await look(page)).focus, 'next', 'the focus returns');
    await press(page, 'accept');
    await press(page, 'next');
    seen = await look(page);
    assert.equal(seen.message, null);
    assert.deepEqual(
        [seen.problem, seen.questionNo, seen.mistakes, seen.verdict, seen.answer],
        ['', '', '', texts.verdictHint, designed[data.design.roles.answerBox]],
    );

    // Enter in the answer box does nothing.
    await focusOn(page, 'answerBox');
    await page.keyboard.press('Enter');
    assert.equal((await look(page)).problem, '');

    // "Начало": out of sight, still focused, first question shown and announced.
    await press(page, 'start');
    seen = await look(page);
    assert.equal(seen.focus, 'start');
    assert.equal(seen.questionNo, '1');
    assert.equal(seen.answer, '');
    assert.equal(seen.said, data.asked(1, seen.problem));
    rowOf(seen.problem);
    const hiddenLeft = Math.floor((17000 + 7) / 15); // the design's 17000 twips
    await expectStartButtonUnseen(page, hiddenLeft, kWide);
    const first = seen.problem;
    await page.keyboard.press('Enter'); // the unseen button repeats Start: clears only
    seen = await look(page);
    assert.deepEqual([seen.problem, seen.questionNo], [first, '1']);

    let mistakes = 0;
    const counted = () => (mistakes ? String(mistakes) : '');

    async function next(expectNo) {
        await press(page, 'next');
        const s = await look(page);
        assert.equal(s.mistakes, counted(), 'the mistake display after "Ещё пример"');
        assert.equal(s.verdict, texts.verdictHint);
        assert.equal(s.answer, '');
        assert.equal(s.questionNo, String(expectNo));
        assert.equal(s.said, data.asked(expectNo, s.problem));
        return rowOf(s.problem);
    }

    async function answer(text, verdict, key = 'Enter') {
        await typeAnswer(page, text);
        await press(page, 'accept', key);
        const s = await look(page);
        assert.equal(s.verdict, verdict, `"${text}" is judged`);
        if (verdict !== texts.verdictHint)
            assert.equal(s.said, verdict, 'the verdict is announced');
        assert.equal(s.focus, 'accept', 'no operation moves the focus');
    }

    // 1: right, then the rule is allowed.
    let row = rowOf(first);
    await answer(row.answers[2], texts.correct);
    await press(page, 'rule');
    assert.ok((await look(page)).ruleOpen, 'the rule opens after a judged answer');
    await page.keyboard.press('Escape');
    row = await next(2);

    // 2: the rule refused while the question waits; a wrong answer (a trailing
    // blank), not re-judged.
    await press(page, 'rule');
    await expectMessage(page, texts.answerFirst, 'warning', 'Escape');
    assert.equal((await look(page)).focus, 'rule');
    assert.equal(judge(row, row.answers[0] + ' '), texts.wrong);
    await answer(row.answers[0] + ' ', texts.wrong);
    ++mistakes;
    assert.equal((await look(page)).mistakes, '', 'the display catches up at the next question');
    await typeAnswer(page, row.answers[0]);
    await press(page, 'accept');
    assert.equal((await look(page)).verdict, texts.wrong, 'a second answer is not judged');
    row = await next(3);

    // 3: an answer typed but not accepted keeps the question; a held Enter moves once.
    await typeAnswer(page, row.answers[1]);
    await press(page, 'next');
    await expectMessage(page, texts.confirmAnswer, 'information', 'Enter');
    seen = await look(page);
    assert.deepEqual(
        [seen.questionNo, seen.answer, seen.verdict],
        ['3', row.answers[1], texts.verdictHint],
    );
    await press(page, 'accept');
    assert.equal((await look(page)).verdict, texts.correct);
    await focusOn(page, 'next');
    await page.keyboard.down('Enter');
    await page.keyboard.down('Enter'); // the key's auto-repeat
    await page.keyboard.down('Enter');
    await page.keyboard.up('Enter');
    assert.equal((await look(page)).questionNo, '4', 'a held Enter clicks once');
    row = rowOf((await look(page)).problem);

    // 4: skipped with an empty box.
    await typeAnswer(page, '');
    ++mistakes;
    row = await next(5);

    // 5: accepted empty: judges nothing, but moving on counts a mistake.
    await press(page, 'accept');
    assert.equal((await look(page)).verdict, texts.verdictHint);
    ++mistakes;
    row = await next(6);

    // 6: a capital X is wrong.
    assert.equal(judge(row, row.answers[0].replaceAll('x', 'X')), texts.wrong);
    await answer(row.answers[0].replaceAll('x', 'X'), texts.wrong, ' ');
    ++mistakes;

    // 7 to 20: in each of the four accepted forms, from 15 on with a leading
    // blank added, judged as the quiz's rule says; Enter or Space.
    for (let n = 7; n <= 20; ++n) {
        row = await next(n);
        const text = (n >= 15 ? ' ' : '') + row.answers[n % 4];
        const verdict = judge(row, text);
        await answer(text, verdict, n % 2 ? 'Enter' : ' ');
        if (verdict === texts.wrong) ++mistakes;
    }
    const last = (await look(page)).problem;
    await focusOn(page, 'start');
    await expectStartButtonUnseen(page, hiddenLeft, kWide);

    // The end, and every press after it.
    for (let i = 0; i < 2; ++i) {
        await press(page, 'next');
        await expectMessage(page, texts.drillOver, 'information', i ? 'Escape' : 'Enter');
        seen = await look(page);
        assert.deepEqual(
            [seen.problem, seen.questionNo, seen.mistakes, seen.verdict, seen.answer],
            [last, '20', String(mistakes), texts.verdictHint, ''],
        );
    }
    await answer('x=1', texts.verdictHint);
    await press(page, 'next');
    await expectMessage(page, texts.drillOver, 'information', 'Enter');
    assert.equal((await look(page)).mistakes, String(mistakes));

    await press(page, 'rule');
    assert.ok((await look(page)).ruleOpen, 'the rule opens after the end');
    await page.keyboard.press('Escape');

    // "Выход": a tab the page cannot close shows the drill ended. Firefox lets a
    // page close a tab whose history holds only it (checked below), so here the
    // history gets a second entry, as Chromium's tab has from its blank start.
    if (browserName === 'firefox') await page.evaluate(() => history.pushState(null, ''));
    await press(page, 'quit');
    const ended = await page.evaluate(() => ({
        line: document.getElementById('ended').hidden
            ? null
            : document.getElementById('ended').textContent,
        enabled: [...document.querySelectorAll('#Form1 button, #Form1 input')]
            .filter((el) => !el.disabled)
            .map((el) => el.id),
        said: document.getElementById('announcer').textContent,
    }));
    assert.ok(ended.line, 'the page says the drill is over');
    assert.deepEqual(ended.enabled, []);
    assert.equal(ended.said, ended.line);
    await assertClean(page);
    await page.close();
});

// Firefox lets a page close a tab whose history holds only it, as the tab of a
// double-clicked file does: there "Выход" closes the tab.
test(
    '"Выход" closes a tab that holds only the drill',
    {skip: browserName !== 'firefox'},
    async () => {
        const {page} = await openDrill(browser);
        await assertClean(page); // while there is a page to ask
        const closed = new Promise((resolve) => page.once('close', resolve));
        await press(page, 'quit').catch((e) =>
            // the tab goes before the key is up
            assert.match(e.message, /BrowsingContext does no longer exist/),
        );
        await Promise.race([
            closed,
            new Promise((resolve, reject) =>
                setTimeout(() => reject(new Error('the tab stayed open')), 10000).unref(),
            ),
        ]);
        assert.ok(page.isClosed());
    },
);

// The page is drawn before its compiled module is ready; presses made meanwhile
// wait for it and are judged on the answer box as it was when pressed. One that
// opens a message box ends them, as the box would have stopped the rest.
test('presses before the module is ready wait for it', {skip: lacking('preload')}, async () => {
    const {page} = await openDrill(browser, {width: kWide, holdModule: true});
    const drawn = await page.evaluate(() => ({
        ready: document.documentElement.dataset.ready ?? null,
        texts: [...document.querySelectorAll('#Form1 [data-name]')].map((el) => [
            el.dataset.name,
            el instanceof HTMLInputElement ? el.value : el.textContent,
        ]),
    }));
    const design = data.design.main.controls;
    assert.equal(drawn.ready, null, 'the module is held back');
    assert.deepEqual(
        Object.fromEntries(drawn.texts),
        Object.fromEntries(design.map((c) => [c.name, c.text])),
        'every control drawn',
    );
    assert.equal((await look(page)).focus, 'rule', 'the focus starts on "Правило"');

    // "Ещё пример" while the box holds its design text, then the box emptied and
    // "Правило" pressed: nothing happens yet.
    await press(page, 'next');
    await typeAnswer(page, '');
    await press(page, 'rule');
    let seen = await look(page);
    assert.deepEqual([seen.message, seen.ruleOpen, seen.said], [null, false, '']);

    await page.evaluate(() => releaseDrillModule());
    await page.waitForSelector('html[data-ready]', {timeout: 60000});
    await expectMessage(page, texts.confirmAnswer, 'information', 'Enter');
    seen = await look(page);
    assert.equal(seen.ruleOpen, false, 'the press after the box is not carried out');
    assert.equal(seen.focus, 'rule');

    // From now on presses are carried out at once.
    await press(page, 'rule');
    assert.ok((await look(page)).ruleOpen, 'the rule opens before the start');
    await assertClean(page);
    await page.close();
});
