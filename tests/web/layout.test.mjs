// SPDX-License-Identifier: GPL-3.0-or-later
// Both windows laid out as the form table says, at device scale 1 and 2: every
// control's box within one CSS pixel, its font, colours and alignment, the
// embedded face in use, every text inside its box.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {assertClean, lacking, launch, openDrill, programData, role} from './browser.mjs';

let browser, data;
before(async () => {
    browser = await launch();
    data = await programData();
});
after(async () => browser?.close());

// Each control's box relative to its window's client area, and its looks.
function measure(page, clientSelector) {
    return page.evaluate((clientSelector) => {
        const client = document.querySelector(clientSelector);
        const origin = client.getBoundingClientRect();
        const out = {size: {width: origin.width, height: origin.height}, controls: {}};
        for (const el of client.querySelectorAll('.control')) {
            const r = el.getBoundingClientRect();
            const s = getComputedStyle(el);
            // The text's own extent, trailing blanks left out (they show
            // nothing); an answer box's, as its face lays it out.
            let [fits, overruns] = [true, false];
            const node = el.firstChild;
            if (el instanceof HTMLInputElement) {
                const ctx = document.createElement('canvas').getContext('2d');
                ctx.font = `${s.fontWeight} ${s.fontSize} ${s.fontFamily}`;
                const room =
                    el.clientWidth - parseFloat(s.paddingLeft) - parseFloat(s.paddingRight);
                fits = ctx.measureText(el.value).width <= room + 0.5;
            } else if (node instanceof Text && node.data.trimEnd()) {
                const range = document.createRange();
                range.setStart(node, 0);
                range.setEnd(node, node.data.trimEnd().length);
                const t = range.getBoundingClientRect();
                // Firefox rounds the face's ascent and descent up, each
                // to a whole pixel, so the range is a pixel taller there.
                fits =
                    t.left >= r.left - 0.5 &&
                    t.right <= r.right + 0.5 &&
                    t.top >= r.top - 1 &&
                    t.bottom <= r.bottom + 1;
                // Wider than its box as the face is laid out here, which
                // the page must then have drawn tighter.
                const spacing = el.style.letterSpacing;
                el.style.letterSpacing = '0px';
                overruns = range.getBoundingClientRect().width > r.width;
                el.style.letterSpacing = spacing;
            }
            out.controls[el.dataset.name] = {
                left: r.left - origin.left,
                top: r.top - origin.top,
                width: r.width,
                height: r.height,
                fontPx: parseFloat(s.fontSize),
                bold: Number(s.fontWeight) >= 700,
                color: s.color,
                background: s.backgroundColor,
                align: s.textAlign,
                border: el.classList.contains('border') ? s.borderTopWidth : null,
                fits,
                overruns,
                tightened: parseFloat(s.letterSpacing) < 0,
                text: el instanceof HTMLInputElement ? el.value : el.textContent,
                tabIndex: el.tabIndex,
            };
        }
        return out;
    }, clientSelector);
}

function checkWindow(seen, window, label) {
    assert.ok(
        Math.abs(seen.size.width - window.width) <= 1 &&
            Math.abs(seen.size.height - window.height) <= 1,
        `${label}: client area ${JSON.stringify(seen.size)}`,
    );
    assert.deepEqual(
        Object.keys(seen.controls).sort(),
        window.controls.map((c) => c.name).sort(),
        `${label}: one element per control`,
    );
    for (const c of window.controls) {
        const s = seen.controls[c.name];
        const where = `${label} ${c.name}`;
        for (const edge of ['left', 'top', 'width', 'height']) {
            assert.ok(
                Math.abs(s[edge] - c[edge]) <= 1,
                `${where} ${edge}: ${s[edge]} vs ${c[edge]}`,
            );
        }
        assert.equal(s.fontPx, c.fontPx, `${where} font size`);
        assert.equal(s.bold, c.bold, `${where} weight`);
        assert.equal(s.color, `rgb(${c.color.join(', ')})`, `${where} text colour`);
        assert.equal(s.background, `rgb(${c.background.join(', ')})`, `${where} background`);
        assert.equal(s.align, c.align, `${where} alignment`);
        assert.equal(s.border, c.border ? '1px' : null, `${where} border`);
        assert.equal(s.text, c.text, `${where} text`);
        assert.ok(s.fits, `${where}: "${s.text}" fits its box`);
        if (!c.wordWrap) assert.ok(s.tightened || !s.overruns, `${where}: "${s.text}" tightened`);
        assert.equal(s.tabIndex >= 1, c.tabIndex >= 0, `${where} takes the focus`);
    }
}

// The faces the browser really drew each control's text with; none for a
// control with no text.
async function facesOf(page) {
    const cdp = await page.createCDPSession();
    await cdp.send('DOM.enable');
    await cdp.send('CSS.enable');
    const {root} = await cdp.send('DOM.getDocument');
    const selector = '.window .control';
    const {nodeIds} = await cdp.send('DOM.querySelectorAll', {nodeId: root.nodeId, selector});
    const faces = [];
    for (const nodeId of nodeIds) {
        const {fonts} = await cdp.send('CSS.getPlatformFontsForNode', {nodeId});
        faces.push(fonts.map((f) => f.familyName).join());
    }
    await cdp.detach();
    return faces;
}

// Which of the two embedded pictures the window shows: its top-left corner
// (free of controls) as drawn, against each picture scaled to the screen.
async function pictureShown(page, scale) {
    const corner = {width: 64, height: 60};
    const box = await (await page.$('#Form1')).boundingBox();
    const shot = await page.screenshot({encoding: 'base64', clip: {x: box.x, y: box.y, ...corner}});
    return page.evaluate(
        async (shot, corner, scale) => {
            const style = getComputedStyle(document.getElementById('Form1')).backgroundImage;
            const urls = [...style.matchAll(/url\("([^"]+)"\)\s*(\d)(?:x|dppx)/g)].map(
                ([, url, density]) => ({url, density: Number(density)}),
            );
            const load = (src) =>
                new Promise((resolve, reject) => {
                    const img = new Image();
                    img.onload = () => resolve(img);
                    img.onerror = reject;
                    img.src = src;
                });
            const w = corner.width * scale;
            const h = corner.height * scale;
            const pixels = (img, sw, sh) => {
                const canvas = new OffscreenCanvas(w, h);
                const ctx = canvas.getContext('2d');
                ctx.drawImage(img, 0, 0, sw, sh, 0, 0, w, h);
                return ctx.getImageData(0, 0, w, h).data;
            };
            const drawn = pixels(await load('data:image/png;base64,' + shot), w, h);
            const distance = {};
            for (const {url, density} of urls) {
                const p = pixels(await load(url), corner.width * density, corner.height * density);
                let sum = 0;
                for (let i = 0; i < p.length; ++i) sum += Math.abs(p[i] - drawn[i]);
                distance[density] = sum / p.length;
            }
            return distance;
        },
        shot,
        corner,
        scale,
    );
}

for (const scale of [1, 2]) {
    test(`both windows match the form table at device scale ${scale}`, async (t) => {
        const {page} = await openDrill(browser, {scale});
        checkWindow(await measure(page, '#Form1'), data.design.main, 'main');
        // The caption the picture carries is the page's heading only to hear.
        const heading = await (await page.$(role('heading'))).boundingBox();
        assert.ok(heading.width <= 1 && heading.height <= 1, 'the heading is unseen');

        const picture = await page.$eval('#Form1', (el) => getComputedStyle(el).backgroundSize);
        assert.equal(picture, `${data.design.pictureWidth}px ${data.design.pictureHeight}px`);
        const distance = await pictureShown(page, scale);
        const other = scale === 1 ? 2 : 1;
        assert.ok(
            distance[scale] < distance[other],
            `the ${scale}x picture is shown: ${JSON.stringify(distance)}`,
        );

        // Every problem of the bank fits the problem line.
        const tooWide = await page.evaluate(
            (problems) => {
                const line = document.querySelector('[data-role="problem"]');
                const wide = problems.filter((p) => {
                    line.textContent = p;
                    return line.scrollWidth > line.clientWidth;
                });
                line.textContent = '';
                return wide;
            },
            data.bank.map((q) => q.problem),
        );
        assert.deepEqual(tooWide, []);

        // The rule window: one at a time, raised, closed and opened anew.
        await page.click(role('rule'));
        await page.click(role('rule'));
        assert.equal(await page.$$eval('.window.floating:not([hidden])', (w) => w.length), 1);
        checkWindow(await measure(page, '#Form2 .client'), data.design.rule, 'rule');
        await t.test('drawn with the embedded face', {skip: lacking('devtools')}, async () => {
            const {main, rule} = data.design;
            const texts = [...main.controls, ...rule.controls].filter((c) => c.text.trim());
            const faces = (await facesOf(page)).filter(Boolean);
            assert.deepEqual(
                faces,
                texts.map(() => 'Drill Sans'),
                'each text in the face',
            );
        });
        await page.click(role('close'));
        assert.equal(await page.$eval('#Form2', (w) => w.hidden), true);
        await page.click(role('rule'));
        assert.equal(await page.$eval('#Form2', (w) => w.hidden), false, 'opened anew');
        await assertClean(page);
        await page.close();
    });
}

// On the narrowest phone the answer box holds its starting text and a typed
// answer of the usual length.
test('the answer box fits its texts at 320 px', async () => {
    for (const scale of [1, 2]) {
        const {page} = await openDrill(browser, {width: 320, height: 568, scale});
        const box = data.design.roles.answerBox;
        const start = data.design.main.controls.find((c) => c.name === box).text;
        for (const text of [start, '-7x-2x=-5+8']) {
            await page.$eval(role('answerBox'), (el, text) => (el.value = text), text);
            const seen = (await measure(page, '#Form1')).controls[box];
            assert.ok(seen.fits, `"${text}" fits at scale ${scale}`);
        }
        await assertClean(page);
        await page.close();
    }
});
