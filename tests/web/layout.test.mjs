// SPDX-License-Identifier: GPL-3.0-or-later
// Both windows laid out as the form table says, at device scale 1 and 2: every
// control's box within one CSS pixel, its font, colours and alignment, the
// embedded face in use, every text inside its box.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {assertClean, launch, openDrill, programData} from './browser.mjs';

let browser, data;
before(async () => {
    browser = await launch();
    data = await programData();
});
after(async () => browser?.close());

// Each control's box relative to its window's client area, and its looks.
function measure(page, clientSelector, prefix) {
    return page.evaluate(
        (clientSelector, prefix) => {
            const client = document.querySelector(clientSelector);
            const origin = client.getBoundingClientRect();
            const out = {size: {width: origin.width, height: origin.height}, controls: {}};
            for (const el of client.querySelectorAll('.control')) {
                const r = el.getBoundingClientRect();
                const s = getComputedStyle(el);
                // The text's own extent, trailing blanks left out (they show nothing).
                let fits = true;
                const node = el.firstChild;
                if (node instanceof Text && node.data.trimEnd()) {
                    const range = document.createRange();
                    range.setStart(node, 0);
                    range.setEnd(node, node.data.trimEnd().length);
                    const t = range.getBoundingClientRect();
                    fits =
                        t.left >= r.left - 0.5 &&
                        t.right <= r.right + 0.5 &&
                        t.top >= r.top - 0.5 &&
                        t.bottom <= r.bottom + 0.5;
                }
                out.controls[el.id.slice(prefix.length)] = {
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
                    text: el instanceof HTMLInputElement ? el.value : el.textContent,
                    tabIndex: el.tabIndex,
                };
            }
            return out;
        },
        clientSelector,
        prefix,
    );
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
        assert.equal(s.color, c.color, `${where} text colour`);
        assert.equal(s.background, c.background, `${where} background`);
        assert.equal(s.align, c.align, `${where} alignment`);
        assert.equal(s.border, c.border ? '1px' : null, `${where} border`);
        assert.equal(s.text, c.text, `${where} text`);
        assert.ok(s.fits, `${where}: "${s.text}" fits its box`);
        assert.equal(s.tabIndex >= 1, c.tabIndex >= 0, `${where} takes the focus`);
    }
}

// The faces the browser really drew a control's text with.
async function facesOf(page, selector) {
    const cdp = await page.createCDPSession();
    await cdp.send('DOM.enable');
    await cdp.send('CSS.enable');
    const {root} = await cdp.send('DOM.getDocument');
    const {nodeId} = await cdp.send('DOM.querySelector', {nodeId: root.nodeId, selector});
    const {fonts} = await cdp.send('CSS.getPlatformFontsForNode', {nodeId});
    await cdp.detach();
    return fonts.map((f) => f.familyName);
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
    test(`both windows match the form table at device scale ${scale}`, async () => {
        const {page, log} = await openDrill(browser, {scale});
        checkWindow(await measure(page, '#Form1', 'Form1-'), data.design.main, 'main');

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
                const line = document.getElementById('Form1-Label1');
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

        for (const name of ['Command3', 'Label2', 'Label6', 'Text1']) {
            assert.deepEqual(
                await facesOf(page, `#Form1-${name}`),
                ['Drill Sans'],
                `${name} is drawn with the embedded face`,
            );
        }

        // The rule window: one at a time, raised, closed and opened anew.
        await page.click('#Form1-Command1');
        await page.click('#Form1-Command1');
        assert.equal(await page.$$eval('.window.floating:not([hidden])', (w) => w.length), 1);
        checkWindow(await measure(page, '#Form2 .client', 'Form2-'), data.design.rule, 'rule');
        assert.deepEqual(await facesOf(page, '#Form2-Label4'), ['Drill Sans']);
        await page.click('#Form2-close');
        assert.equal(await page.$eval('#Form2', (w) => w.hidden), true);
        await page.click('#Form1-Command1');
        assert.equal(await page.$eval('#Form2', (w) => w.hidden), false, 'opened anew');
        assertClean(assert, log);
        await page.close();
    });
}
