// SPDX-License-Identifier: GPL-3.0-or-later
// The page where students open it: phones by touch, high contrast, the rule
// window beside the main one, a message box pressed anywhere, and pages that
// cannot start.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {after, before, test} from 'node:test';
import {
    assertClean,
    htmlPath,
    lacking,
    launch,
    openDrill,
    pageUrl,
    programData,
    role,
} from './browser.mjs';

const noTouch = {skip: lacking('touch')};
let browser, data;
before(async () => {
    browser = await launch();
    data = await programData();
});
after(async () => browser?.close());

for (const [width, height] of [
    [320, 568],
    [360, 640],
    [390, 844],
    [640, 360],
    [768, 1024],
]) {
    test(`every control in reach and legible at ${width}×${height} by touch`, async () => {
        const {page} = await openDrill(browser, {width, height, touch: true});
        // Each control within the screen's width (a phone's page may be laid out
        // wider than its screen), at 12 px or more, and the one a tap hits.
        const faults = await page.evaluate(
            (width) =>
                [...document.querySelectorAll('#Form1 .control')]
                    .flatMap((el) => {
                        el.scrollIntoView({block: 'center'});
                        const r = el.getBoundingClientRect();
                        const px = parseFloat(getComputedStyle(el).fontSize);
                        const hit = document.elementFromPoint(
                            r.left + r.width / 2,
                            r.top + r.height / 2,
                        );
                        return r.left < 0 || r.right > width || px < 12 || hit !== el
                            ? [`${el.dataset.name}: ${r.left}..${r.right}, ${px} px`]
                            : [];
                    })
                    .concat(document.documentElement.scrollWidth > width ? ['scrolls'] : []),
            width,
        );
        assert.deepEqual(faults, []);
        await assertClean(page);
        await page.close();
    });
}

test('a drill played by taps on a phone, the keyboard open over the box', noTouch, async () => {
    const {page} = await openDrill(browser, {width: 360, height: 640, touch: true});
    const text = (r) => page.$eval(role(r), (el) => el.value ?? el.textContent);
    await page.tap(role('start'));
    // Out of the column: outside the window, which clips it.
    const away = await page.$eval(role('start'), (el) => {
        const [b, w] = [el, el.closest('.window')].map((e) => e.getBoundingClientRect());
        return b.right <= w.left || b.left >= w.right || b.bottom <= w.top || b.top >= w.bottom;
    });
    assert.ok(away, '"Начало" leaves the column once pressed');
    for (const [pick, verdict] of [
        [() => 'x=1', data.texts.wrong],
        [(row) => row.answers[0], data.texts.correct],
    ]) {
        const problem = await text('problem');
        const answer = pick(data.bank.find((q) => q.problem === problem));
        await page.tap(role('answerBox'));
        await page.setViewport({width: 360, height: 300, hasTouch: true, isMobile: true});
        // In view once the page has followed the keyboard (its resize event).
        await page.waitForFunction(
            (roles) =>
                roles.every((r) => {
                    const box = document
                        .querySelector(`[data-role="${r}"]`)
                        .getBoundingClientRect();
                    return box.top >= 0 && box.bottom <= innerHeight;
                }),
            {timeout: 5000},
            ['problem', 'answerBox', 'accept'],
        );
        await page.keyboard.type(answer);
        await page.tap(role('accept'));
        await page.setViewport({width: 360, height: 640, hasTouch: true, isMobile: true});
        assert.equal(await text('verdict'), verdict);
        await page.tap(role('next'));
    }
    assert.equal(await text('questionNo'), '3');
    await page.tap(role('answerBox'));
    await page.keyboard.type('x');
    await page.tap(role('accept'));
    for (const [target, hidden] of [
        [role('rule'), false],
        [role('close'), true],
    ]) {
        await page.tap(target);
        assert.equal(await page.$eval('#Form2', (w) => w.hidden), hidden, `${target} pressed`);
    }
    await page.tap(role('quit'));
    const end = await page.$eval('#ended', (p) => [p.hidden, p.getBoundingClientRect().bottom]);
    assert.ok(!end[0] && end[1] <= 640, 'the end is said where it is seen');
    await assertClean(page);
    await page.close();
});

// The rule window as a desktop's: behind the main window once that is used,
// dragged by its title by mouse and finger and kept on the page, closed by
// Escape while in front wherever the focus went.
test('the rule window gives way, moves and closes', noTouch, async () => {
    const {page} = await openDrill(browser, {touch: true});
    const rule = () =>
        page.$eval('#Form2', (w) => ({
            hidden: w.hidden,
            left: w.offsetLeft,
            top: w.offsetTop,
            right: w.getBoundingClientRect().right,
        }));
    // The rule opens over the box; a press on the main window's visible part
    // brings that window, box included, in front.
    await page.click(role('rule'));
    await page.click(role('verdict'));
    const box = await (await page.$(role('answerBox'))).boundingBox();
    await page.mouse.click(box.x + 20, box.y + box.height / 2);
    await page.keyboard.type('x=1');
    assert.match(await page.$eval(role('answerBox'), (el) => el.value), /x=1/, 'typed into it');
    assert.equal(
        await page.evaluate(({x, y}) => document.elementFromPoint(x, y).dataset.role, {
            x: box.x + 20,
            y: box.y + box.height / 2,
        }),
        'answerBox',
        'the box is on top',
    );

    await page.click(role('rule'));
    const title = await (await page.$('#Form2 .caption')).boundingBox();
    const from = await rule();
    await page.mouse.move(title.x + 40, title.y + 10);
    await page.mouse.down();
    await page.mouse.move(title.x + 10, title.y + 60, {steps: 4});
    await page.mouse.up();
    assert.deepEqual([(await rule()).left - from.left, (await rule()).top - from.top], [-30, 50]);
    await page.touchscreen.touchStart(title.x + 10, title.y + 60);
    await page.touchscreen.touchMove(title.x + 400, title.y + 60);
    await page.touchscreen.touchEnd();
    assert.equal((await rule()).right, 800, "dragged by finger up to the page's edge");

    await page.focus(role('rule'));
    await page.keyboard.press('Enter');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Escape');
    assert.equal((await rule()).hidden, true, 'Escape closes it after the focus left it');
    await assertClean(page);
    await page.close();
});

// High contrast, dark and light: the picture's caption still drawn. Its strip
// of the window holds no control, so it is one flat colour if the picture is
// dropped; drawn, a good part of it is the caption's ink.
for (const scheme of ['dark', 'light']) {
    test(`the picture under forced colours, ${scheme}`, {skip: lacking('devtools')}, async () => {
        const {page} = await openDrill(browser);
        const cdp = await page.createCDPSession();
        await cdp.send('Emulation.setEmulatedMedia', {
            features: [
                {name: 'forced-colors', value: 'active'},
                {name: 'prefers-color-scheme', value: scheme},
            ],
        });
        const w = await (await page.$('#Form1')).boundingBox();
        const strip = await page.screenshot({
            clip: {x: w.x + 100, y: w.y + 10, width: 560, height: 40},
            encoding: 'base64',
        });
        const inked = await page.evaluate(async (png) => {
            const img = new Image();
            img.src = 'data:image/png;base64,' + png;
            await img.decode();
            const ctx = new OffscreenCanvas(img.width, img.height).getContext('2d');
            ctx.drawImage(img, 0, 0);
            const p = ctx.getImageData(0, 0, img.width, img.height).data;
            let differ = 0;
            for (let i = 0; i < p.length; i += 4) differ += Math.abs(p[i + 2] - p[i]) > 60;
            return differ / (p.length / 4);
        }, strip);
        assert.ok(inked > 0.02, `caption ink in ${(inked * 100).toFixed(1)}% of the strip`);
        await assertClean(page);
        await page.close();
    });
}

test('a message box opened by the mouse: no focus ring until a key, and a press on its text keeps the focus on OK', async () => {
    const {page} = await openDrill(browser);
    await page.click(role('next'));
    assert.equal(
        await page.$eval('#message-ok', (ok) => getComputedStyle(ok).outlineStyle),
        'none',
    );
    await page.click('#message-text');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'message-ok');
    await page.keyboard.press('Enter');
    assert.equal(await page.$eval('#message', (d) => d.open), false);
    // Keys after the click: the focused button shows its ring again.
    await page.keyboard.press('Tab');
    const ring = await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle);
    assert.notEqual(ring, 'none', 'a key brings the focus ring back');
    await assertClean(page);
    await page.close();
});

// Without JavaScript, and with the compiled core damaged: a line says so, and
// no control can be used.
test('pages that cannot start say so', async (t) => {
    const damaged = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'drill-')), 'damaged.html');
    fs.writeFileSync(damaged, fs.readFileSync(htmlPath, 'utf8').replace('AGFzbQ', 'AGFzbR'));
    for (const [javaScript, url, line] of [
        [false, pageUrl, '#desk noscript'],
        [true, pathToFileURL(damaged).href, '#failed'],
    ]) {
        const skip = !javaScript && lacking('noscript');
        await t.test(javaScript ? 'a damaged module' : 'no JavaScript', {skip}, async () => {
            let page;
            if (javaScript) {
                ({page} = await openDrill(browser, {url, until: '#failed:not([hidden])'}));
            } else {
                page = await browser.newPage();
                await page.setJavaScriptEnabled(false);
                await page.goto(url);
            }
            const usable = await page.evaluate(
                (line) => ({
                    line: document.querySelector(line).textContent,
                    opacity: getComputedStyle(document.querySelector('[data-name]')).opacity,
                    open: [...document.querySelectorAll('#Form1 button, #Form1 input')]
                        .filter((el) => !el.disabled && !el.readOnly)
                        .map((el) => el.type),
                }),
                line,
            );
            assert.match(usable.line, javaScript ? /не удалось запустить/ : /JavaScript/);
            assert.ok(Number(usable.opacity) < 1, 'the controls look unusable');
            // Without a script a button does nothing anyway; a dead page takes no press.
            assert.deepEqual(
                usable.open.filter((t) => javaScript || t === 'text'),
                [],
            );
            await page.close();
        });
    }
});

// Pressed behind the main window, the rule window keeps a part in sight
// (scrolled to, as a student would) that a press brings in front again.
for (const size of [
    {width: 1280, height: 800},
    {width: 800, height: 600},
    {width: 360, height: 640},
]) {
    test(`the rule window is never lost behind the main one at ${size.width} px`, async () => {
        const {page} = await openDrill(browser, size);
        // The first of the elements whose middle is on top, as a selector.
        const inSight = (selector) =>
            page.evaluate((selector) => {
                const seen = [...document.querySelectorAll(selector)].find((el) => {
                    el.scrollIntoView({block: 'nearest'});
                    const r = el.getBoundingClientRect();
                    return el.contains(
                        document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2),
                    );
                });
                return seen ? '#' + seen.id : 'nothing in sight';
            }, selector);
        await page.click(role('rule'));
        await page.click(await inSight('[data-window=main] div.control'));
        await page.click(await inSight('[data-window=rule] [id]:not(button)'));
        assert.equal(await inSight('[data-window=rule]'), '#Form2', 'in front');
        await assertClean(page);
        await page.close();
    });
}
