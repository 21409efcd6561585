// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the page's screenshots in docs/screenshots: web-page.png (window), the
// window as it opens at device scale 1, beside the desktop window's
// main-window.png; web-phone.png (phone), the whole page on a 360×640 phone;
// web-forced-colours.png, the window under a dark and a light high-contrast
// theme (forced-dark, forced-light), put side by side with `convert +append`.
// Usage (from tests/web): DRILL_HTML=... DRILL_FACTS=... node screenshot.mjs [KIND] OUT.png
import {launch, openDrill} from './browser.mjs';

const [kind, out] = process.argv.length > 3 ? process.argv.slice(2) : ['window', process.argv[2]];
if (!out)
    throw new Error('usage: node screenshot.mjs [window|phone|forced-dark|forced-light] OUT.png');
const browser = await launch();
try {
    const phone = kind === 'phone';
    const {page} = await openDrill(browser, phone ? {width: 360, height: 640, touch: true} : {});
    if (kind.startsWith('forced-')) {
        const cdp = await page.createCDPSession();
        await cdp.send('Emulation.setEmulatedMedia', {
            features: [
                {name: 'forced-colors', value: 'active'},
                {name: 'prefers-color-scheme', value: kind.slice(7)},
            ],
        });
    }
    if (phone) await page.screenshot({path: out, fullPage: true});
    else await (await page.$('#Form1')).screenshot({path: out});
} finally {
    await browser.close();
}
