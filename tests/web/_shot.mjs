import {launch, openDrill} from '/work/wt-web16/tests/web/browser.mjs';
const [out, w, h, forced, scheme, act] = process.argv.slice(2);
const browser = await launch();
const {page, log} = await openDrill(browser, {width: Number(w)});
await page.setViewport({width: Number(w), height: Number(h), hasTouch: true, isMobile: true});
if (forced) { const c = await page.createCDPSession(); await c.send('Emulation.setEmulatedMedia', {features: [{name: 'forced-colors', value: 'active'}, {name: 'prefers-color-scheme', value: scheme}]}); }
if (act === 'rule') { await page.tap('#Form1-Command1'); }
if (act === 'start') { await page.tap('#Form1-Command2'); await page.tap('#Form1-Text1'); await page.setViewport({width: Number(w), height: 300, hasTouch: true, isMobile: true}); await new Promise(r=>setTimeout(r,300)); }
await page.screenshot({path: out, fullPage: !act});
console.log(JSON.stringify(log));
await browser.close();
