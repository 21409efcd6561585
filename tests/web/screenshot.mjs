// SPDX-License-Identifier: GPL-3.0-or-later
// Takes docs/screenshots/web-page.png: the page's window as it opens, at device
// scale 1, beside the desktop window's main-window.png.
// Usage (from tests/web): DRILL_HTML=... DRILL_FACTS=... node screenshot.mjs OUT.png
import {launch, openDrill} from './browser.mjs';

const out = process.argv[2];
if (!out) throw new Error('usage: node screenshot.mjs OUT.png');
const browser = await launch();
try {
    const {page} = await openDrill(browser);
    const window = await page.$('#Form1');
    await window.screenshot({path: out});
} finally {
    await browser.close();
}
