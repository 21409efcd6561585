// SPDX-License-Identifier: GPL-3.0-or-later
// What Chromium's accessibility tree gives a screen reader: names and roles of
// the controls, the live region after each operation, the message box and the
// rule window; and what an accessibility checker finds in each state.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import {after, before, test} from 'node:test';
import {assertClean, launch, openDrill, programData, role} from './browser.mjs';

let browser, data;
before(async () => {
    browser = await launch();
    data = await programData();
});
after(async () => browser?.close());

// A main window's control in the table, by its role.
const control = (r) => data.design.main.controls.find((c) => c.name === data.design.roles[r]);

function value(v) {
    return v?.value ?? '';
}

// The tree as a list of {role, name, description, text, focused}; `text` joins
// the static text beneath a node, as a screen reader reads a live region.
async function axTree(page) {
    const cdp = await page.createCDPSession();
    const {nodes} = await cdp.send('Accessibility.getFullAXTree');
    await cdp.detach();
    const byId = new Map(nodes.map((n) => [n.nodeId, n]));
    const textOf = (n) => {
        if (value(n.role) === 'StaticText') return value(n.name);
        return (n.childIds ?? [])
            .map((id) => byId.get(id))
            .filter(Boolean)
            .map(textOf)
            .join('');
    };
    return nodes
        .filter((n) => !n.ignored)
        .map((n) => ({
            role: value(n.role),
            name: value(n.name),
            description: value(n.description),
            text: textOf(n),
            // The document itself counts as focused too; only its parts matter here.
            focused:
                value(n.role) !== 'RootWebArea' &&
                (n.properties ?? []).some((p) => p.name === 'focused' && p.value.value),
            live: (n.properties ?? []).find((p) => p.name === 'live')?.value.value ?? '',
        }));
}

function one(tree, predicate, what) {
    const found = tree.filter(predicate);
    assert.equal(found.length, 1, `${what}: ${JSON.stringify(found)}`);
    return found[0];
}

async function pressKeyOn(page, r, key = 'Enter') {
    const on = () => page.evaluate((s) => !!document.activeElement?.matches(s), role(r));
    for (let i = 0; i < 16 && !(await on()); ++i) await page.keyboard.press('Tab');
    await page.keyboard.press(key);
}

test('names, roles, live region, message box and rule window', async () => {
    const {page} = await openDrill(browser);
    let tree = await axTree(page);
    const main = data.design.main;
    one(tree, (n) => n.role === 'region' && n.name === main.caption, 'the main window');
    one(tree, (n) => n.role === 'heading' && n.name === main.caption, 'the heading, to hear');
    for (const c of main.controls.filter((c) => c.kind === 'button')) {
        one(tree, (n) => n.role === 'button' && n.name === c.text, `button ${c.name}`);
    }
    const focused = one(tree, (n) => n.focused, 'the focused node');
    assert.deepEqual(
        [focused.role, focused.name, focused.description],
        ['button', control('rule').text, data.texts.verdictHint],
    );
    const answerBox = main.controls.find((c) => c.kind === 'textbox');
    one(tree, (n) => n.role === 'textbox' && n.name === answerBox.accessibleName, 'the answer box');
    assert.equal(await page.$eval(role('answerBox'), (el) => el.maxLength), 32767);
    for (const c of main.controls.filter((c) => c.accessibleDescription)) {
        one(tree, (n) => n.description === c.accessibleDescription, `display ${c.name}`);
    }
    const region = () => one(tree, (n) => n.role === 'status', 'the live region');
    assert.equal(region().live, 'polite');

    // Start, then a right answer accepted: the region holds what is announced.
    await pressKeyOn(page, 'start');
    tree = await axTree(page);
    const problem = await page.$eval(role('problem'), (el) => el.textContent);
    assert.equal(region().text, data.asked(1, problem));
    const row = data.bank.find((q) => q.problem === problem);
    await pressKeyOn(page, 'answerBox', 'End');
    await page.keyboard.type(row.answers[0]);
    await pressKeyOn(page, 'accept');
    tree = await axTree(page);
    console.log(`live region after "${control('accept').text}": ${JSON.stringify(region())}`);
    assert.equal(region().text, data.texts.correct);
    // The focus stays where it was; its description, to carry problem and
    // verdict, waits until the focus leaves, not to be read out as news again.
    const accept = () =>
        one(tree, (n) => n.role === 'button' && n.name === control('accept').text, 'accept');
    assert.deepEqual([accept().focused, accept().description], [true, '']);
    await page.keyboard.press('Tab');
    tree = await axTree(page);
    assert.equal(accept().description, `${data.texts.equation} ${problem}. ${data.texts.correct}`);
    const {accessibleDescription: line} = control('verdict');
    one(tree, (n) => n.description === line && n.text === data.texts.correct, 'verdict line');

    // Next question, then the rule refused: a dialog with OK focused, its text a
    // moment later in a live region within, and nowhere else (read once).
    await pressKeyOn(page, 'next');
    await pressKeyOn(page, 'rule');
    await page.waitForFunction(() => document.querySelector('#message [aria-live]').textContent);
    tree = await axTree(page);
    const refused = data.texts.answerFirst;
    const box = one(tree, (n) => n.role === 'dialog', 'the message box');
    assert.equal(box.name, main.caption);
    const ok = one(tree, (n) => n.focused, 'focus in the box');
    assert.deepEqual([ok.role, ok.name, ok.description], ['button', 'OK', '']);
    one(tree, (n) => n.role === 'StaticText' && n.name === refused, 'the text, once');
    one(tree, (n) => n.live === 'assertive' && n.text === refused, 'the text, live');
    await page.keyboard.press('Enter');

    // The rule window, after the question is judged: its text readable in order.
    await pressKeyOn(page, 'answerBox', 'End');
    await page.keyboard.type('x');
    await pressKeyOn(page, 'accept');
    await pressKeyOn(page, 'rule');
    tree = await axTree(page);
    const rule = one(tree, (n) => n.role === 'dialog', 'the rule window');
    const ruleText = (name) => data.design.rule.controls.find((c) => c.name === name).text;
    assert.equal(rule.name, data.design.rule.caption);
    assert.equal(
        rule.description.replace(/\s+/g, ' '),
        data.design.ruleReadingOrder.map((n) => ruleText(n).replace(/\s+/g, ' ').trim()).join(' '),
    );
    assert.ok(
        one(tree, (n) => n.focused, 'focus').name === data.design.rule.caption,
        'the rule window takes the focus, as the desktop window is activated',
    );
    await assertClean(page);
    await page.close();
});

// What the checker finds by the design's choice, by rule and role found, each with why.
const kTabOrder = {
    // The design's tab order (Правило, Начало, Ещё пример, Выход, answer box,
    // Принять ответ) is the order the window is worked in, not its reading order.
    tabindex: () => true,
};
// The design's red on light cyan, 3.6:1; drawn darker when more contrast is asked for.
const kDesign = {...kTabOrder, 'color-contrast': (role) => ['verdict', 'mistakes'].includes(role)};

test('the accessibility checker finds only what the design chose', async () => {
    const axe = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core'), 'utf8');
    const [phone, more] = [{width: 360, height: 640}, [{name: 'prefers-contrast', value: 'more'}]];
    const found = [];
    for (const [size, media, allowed] of [
        [{}, [], kDesign],
        [phone, [], kDesign],
        [{}, [{name: 'forced-colors', value: 'active'}], kDesign],
        [{}, more, kTabOrder],
        [phone, more, kTabOrder],
    ]) {
        const {page} = await openDrill(browser, size);
        await (await page.createCDPSession()).send('Emulation.setEmulatedMedia', {features: media});
        await page.evaluate(axe);
        // Start, the rule window, a message box, a question with a mistake counted, the end.
        for (const presses of [
            [],
            [role('rule')],
            [role('close'), role('next')],
            ['#message-ok', role('start'), role('next')],
            [role('quit')],
        ]) {
            for (const selector of presses) await page.click(selector);
            const where = JSON.stringify([size, media, presses]);
            for (const [id, roleFound, target] of await page.evaluate(async () =>
                (await window.axe.run({resultTypes: ['violations']})).violations.flatMap((v) =>
                    v.nodes.map((n) => [
                        v.id,
                        document.querySelector(n.target[0])?.dataset.role,
                        n.target,
                    ]),
                ),
            )) {
                if (!allowed[id]?.(roleFound)) found.push(`${where}: ${id} ${target}`);
            }
        }
        await assertClean(page);
        await page.close();
    }
    assert.deepEqual(found, []);
});
