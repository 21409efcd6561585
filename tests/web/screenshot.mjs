// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the page's screenshots in docs/screenshots: web-page.png (window), the
// window as it opens at device scale 1, beside the desktop window's
// main-window.png; web-phone.png (phone), the whole page on a 360×640 phone;
// web-forced-colours.png, the window under a dark and a light high-contrast
// theme (forced-dark, forced-light), put side by side with `convert +append`;
// counters, the strip of the window with both counters and their captions;
// rule-wide and rule-narrow, the page at 1280×800 and 360×640 after "Правило"
// and a press in the main window.
// Usage (from tests/web): DRILL_HTML=... DRILL_FACTS=... node screenshot.mjs [KIND] OUT.png
// (DRILL_BROWSER=webkit: inside the test desktop, as in CMakeLists.txt; no
// forced colours there).
import {launch, openDrill, role} from './browser.mjs';

const kViewports = {phone: [360, 640], 'rule-wide': [1280, 800], 'rule-narrow': [360, 640]};

const [kind, out] = process.argv.length > 3 ? process.argv.slice(2) : ['window', process.argv[2]];
if (!out)
    throw new Error(
        'usage: node screenshot.mjs [window|phone|forced-dark|forced-light|counters|rule-wide|rule-narrow] OUT.png',
    );
const browser = await launch();
try {
    const phone = kind === 'phone';
    const [width, height] = kViewports[kind] ?? [800, 600];
    const {page} = await openDrill(browser, {width, height, touch: phone});
    if (kind.startsWith('forced-')) {
        const cdp = await page.createCDPSession();
        await cdp.send('Emulation.setEmulatedMedia', {
            features: [
                {name: 'forced-colors', value: 'active'},
                {name: 'prefers-color-scheme', value: kind.slice(7)},
            ],
        });
    }
    if (kind.startsWith('rule-')) {
        await page.click(role('rule'));
        // Its verdict line on a wide screen, its heading on a narrow one.
        await page.click(role(kind === 'rule-wide' ? 'verdict' : 'heading'));
        await page.screenshot({path: out});
    } else if (kind === 'counters') {
        const w = await (await page.$('#Form1')).boundingBox();
        const c = await (await page.$(role('questionNo'))).boundingBox();
        await page.screenshot({path: out, clip: {x: w.x, y: c.y - 12, width: w.width, height: 50}});
    } else if (phone) await page.screenshot({path: out, fullPage: true});
    else await (await page.$('#Form1')).screenshot({path: out});
} finally {
    await browser.close();
}
