// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the browser page in headless Chromium against the same page
// without its compiled module (the floor its design allows) and a one-file
// page with one label: navigation to the first frame with everything drawn, the
// pages alternated in one browser, each load in a fresh browser context. Beside
// it, when the drill's page also answers presses (its compiled quiz attached).
// Usage: node bench/web/startup.mjs PAGE.html [--runs N] [--cpu K] [--against OLD.html]
// (prints Markdown): --cpu, the CPU slowed K times; --against, another copy of
// the page alternated with it in the same run.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {createRequire} from 'node:module';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {chromiumOptions} from '../../tests/web/chromium.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
// puppeteer-core as the browser tests install it (npm ci in tests/web).
const require = createRequire(path.join(here, '../../tests/web/package.json'));
const puppeteer = require('puppeteer-core');

const args = process.argv.slice(2);
const drillPath = path.resolve(args[0] ?? 'build-web/transpose-drill.html');
const runsAt = args.indexOf('--runs');
const runs = runsAt >= 0 ? Number(args[runsAt + 1]) : 25;
const option = (name) => (args.includes(name) ? args[args.indexOf(name) + 1] : null);
const cpu = Number(option('--cpu') ?? 1);
const againstPath = option('--against') && path.resolve(option('--against'));

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'drill-web-bench-'));
// The yardstick: one label, marked ready the same way as the drill's page.
const barePath = path.join(work, 'bare.html');
fs.writeFileSync(
    barePath,
    `<!DOCTYPE html><html lang="ru"><head><meta charset="utf-8">
<title>Bare page</title></head><body><div>Одна надпись</div>
<script>requestAnimationFrame(() => setTimeout(() => {
performance.mark('drill-drawn'); performance.mark('drill-ready');
document.documentElement.dataset.ready = '1'; }));</script>
</body></html>`,
);
// The floor: the page with a module that never loads in place of its compiled
// one. It draws as the page does, marks drill-drawn, and never answers a press.
const drillHtml = fs.readFileSync(drillPath, 'utf8');
const moduleScript = /<script>(?:(?!<\/script>)[\s\S])*var createDrillModule[\s\S]*?<\/script>/g;
const moduleScripts = drillHtml.match(moduleScript);
if (moduleScripts?.length !== 1) throw new Error(`no single module script in ${drillPath}`);
const floorPath = path.join(work, 'floor.html');
const never = '<script>var createDrillModule = () => new Promise(() => {});</script>';
const wasm = /(<script type="application\/wasm"[^>]*>)[^<]*/;
fs.writeFileSync(floorPath, drillHtml.replace(moduleScripts[0], never).replace(wasm, '$1'));

const browser = await puppeteer.launch(chromiumOptions(path.join(work, 'profile')));

async function load(file, until) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    // A page that fails is not measured: the floor, too, must run without error.
    page.on('pageerror', (error) => {
        throw new Error(`${file}: ${error.message}`);
    });
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    await cdp.send('Emulation.setCPUThrottlingRate', {rate: cpu});
    await page.setViewport({width: 800, height: 600, deviceScaleFactor: 1});
    await page.goto(pathToFileURL(file).href);
    await page.waitForSelector(`html[data-${until}]`, {timeout: 60000});
    // A page that marks only when it is ready (as this one once did) is drawn then.
    const [ms, ready] = await page.evaluate(() =>
        ['drill-drawn', 'drill-ready'].map(
            (mark) =>
                (
                    performance.getEntriesByName(mark)[0] ??
                    performance.getEntriesByName('drill-ready')[0]
                )?.startTime,
        ),
    );
    // The renderer's main-thread work, less disturbed by other load than the clock.
    const {metrics} = await cdp.send('Performance.getMetrics');
    const task = metrics.find((m) => m.name === 'TaskDuration').value * 1000;
    await context.close();
    return {ms, ready, task};
}

// The floor is waited for until drawn, the others until ready.
const pages = {bare: [barePath, 'ready'], floor: [floorPath, 'drawn'], drill: [drillPath, 'ready']};
if (againstPath) pages.against = [againstPath, 'ready'];
const names = Object.keys(pages);
const [times, tasks, readies] = [{}, {}, {}];
for (const name of names) [times[name], tasks[name], readies[name]] = [[], [], []];
for (const [file, until] of Object.values(pages)) await load(file, until); // uncounted warm-ups
for (let i = 0; i < runs; ++i) {
    // Each page first, middle and last in turn, forwards and backwards.
    const turned = names.map((_, k) => names[(k + i) % names.length]);
    for (const which of i % 2 ? turned.reverse() : turned) {
        const {ms, ready, task} = await load(...pages[which]);
        times[which].push(ms);
        readies[which].push(ready);
        tasks[which].push(task);
    }
}
const version = await browser.version();
await browser.close();
fs.rmSync(work, {recursive: true, force: true});

const sorted = (a) => [...a].sort((x, y) => x - y);
const median = (a) => {
    const s = sorted(a);
    return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const pct = (a, p) => sorted(a)[Math.min(a.length - 1, Math.floor(p * a.length))];
const row = (name, a) =>
    `| ${name} | ${a.length} | ${median(a).toFixed(1)} | ${pct(a, 0.1).toFixed(1)} | ` +
    `${pct(a, 0.9).toFixed(1)} |`;
console.log(
    `${version}, headless, ${os.cpus().length} CPUs, load average before the run: ` +
        `${os
            .loadavg()
            .map((l) => l.toFixed(2))
            .join(' ')}\n`,
);
const label = {
    bare: 'bare page, one label',
    floor: 'the page without its module (floor)',
    drill: path.basename(drillPath),
    against: againstPath && `${path.basename(againstPath)} (--against)`,
};
const drills = names.filter((n) => n === 'drill' || n === 'against');
console.log(`CPU slowed ${cpu}×. Navigation to the first frame with everything drawn:\n`);
console.log('| page | runs | median ms | p10 ms | p90 ms |');
console.log('|---|---|---|---|---|');
for (const n of names) console.log(row(label[n], times[n]));
for (const n of drills) console.log(row(`${label[n]}, presses answered`, readies[n]));
console.log('\nRenderer main-thread task time over the same loads:\n');
console.log('| page | runs | median ms | p10 ms | p90 ms |');
console.log('|---|---|---|---|---|');
for (const n of names) console.log(row(label[n], tasks[n]));
const ratio = (a, b, to) => (median(a) / median(b)).toFixed(2) + ` (goal ${to})`;
console.log('\nRatios of medians (clock):\n');
for (const n of drills) {
    console.log(
        `- ${label[n]}, first complete frame / floor: ${ratio(times[n], times.floor, '1.05')}`,
    );
    console.log(
        `- ${label[n]}, presses answered / floor: ${ratio(readies[n], times.floor, '1.10')}`,
    );
    console.log(
        `- ${label[n]}, first complete frame / bare page: ${ratio(times[n], times.bare, 'none')}`,
    );
    console.log(`- ${label[n]}, task time / floor: ${ratio(tasks[n], tasks.floor, 'none')}`);
}
for (const n of drills)
    console.log(`\nFile size, ${label[n]}: ${fs.statSync(pages[n][0]).size} bytes`);
