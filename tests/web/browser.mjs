// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the built page in the system Chromium (or Firefox, or WebKit) and
// watches what it does: every request, every Content-Security-Policy violation
// and every script error.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import puppeteer from 'puppeteer-core';
import {chromiumOptions} from './chromium.mjs';

export const htmlPath = process.env.DRILL_HTML;
const factsPath = process.env.DRILL_FACTS;
if (!htmlPath || !factsPath) {
    throw new Error("DRILL_HTML and DRILL_FACTS must name the built page and the program's facts");
}
export const pageUrl = pathToFileURL(htmlPath).href;

// The form table, the question bank, the texts and the announcements, as the
// program's exporter wrote them; asked(n, problem), what is announced as
// question n comes up.
export async function programData() {
    const facts = JSON.parse(fs.readFileSync(factsPath, 'utf8'));
    const {question} = facts.announcements;
    facts.asked = (n, problem) => question.replace('{number}', n).replace('{problem}', problem);
    return facts;
}

// DRILL_BROWSER=firefox plays the page in Firefox ESR over WebDriver BiDi
// instead of Chromium over its DevTools protocol; webkit, in WebKitGTK's
// MiniBrowser over its WebDriver (webkit.mjs), in an X display of its own.
export const browserName = process.env.DRILL_BROWSER || 'chromium';
if (!['chromium', 'firefox', 'webkit'].includes(browserName)) {
    throw new Error(`DRILL_BROWSER must be chromium, firefox or webkit, not ${browserName}`);
}
const webkit = browserName === 'webkit' && (await import('./webkit.mjs'));

// Why this engine cannot play a test that needs it, or false: pass it as the
// test's skip.
const kLacking = {
    firefox: {
        touch: 'puppeteer emulates a touch screen in Chromium only',
        devtools: "Chromium's DevTools protocol",
        noscript: 'Firefox over WebDriver BiDi cannot switch JavaScript off',
    },
    webkit: {
        touch: "WebKit's WebDriver has no touch screen: taps arrive as mouse events",
        devtools: "Chromium's DevTools protocol",
        preload: "WebKit's WebDriver runs no script before the page's own",
        noscript: "WebKit's WebDriver cannot switch JavaScript off",
    },
};
export const lacking = (need) => kLacking[browserName]?.[need] ?? false;

// A control of the main window by what it does, as the page's script finds it
// (its role in the table), or one of these parts of the page.
const kParts = {
    close: '[data-window="rule"] .close', // the rule window's close box
    heading: '[data-window="main"] .heading',
};
export const role = (name) => kParts[name] ?? `[data-role="${name}"]`;

// Firefox's own background traffic, off on top of what puppeteer already turns
// off, so a test run never reaches out and never waits on a network.
const kFirefoxOffline = {
    'app.update.enabled': false,
    'app.update.auto': false,
    'app.normandy.enabled': false,
    'app.shield.optoutstudies.enabled': false,
    'toolkit.telemetry.enabled': false,
    'toolkit.telemetry.unified': false,
    'toolkit.telemetry.archive.enabled': false,
    'toolkit.telemetry.server': '',
    'datareporting.usage.uploadEnabled': false,
    'network.captive-portal-service.enabled': false,
    'network.connectivity-service.enabled': false,
    'network.dns.disablePrefetch': true,
    'network.prefetch-next': false,
    'network.predictor.enabled': false,
    'network.trr.mode': 5,
    'browser.safebrowsing.update.enabled': false,
    'browser.safebrowsing.provider.mozilla.updateURL': '',
    'browser.safebrowsing.provider.google4.updateURL': '',
    // Release builds heed a changed settings server only with the environment
    // below; this one tells the settings client to stay quiet.
    'services.settings.server': 'data:,#remote-settings-dummy/v1',
    'services.settings.poll_interval': 86400 * 365,
    'messaging-system.rsexperimentloader.enabled': false,
    'browser.region.update.enabled': false,
    'browser.region.network.url': '',
    'browser.topsites.contile.enabled': false,
    'browser.discovery.enabled': false,
    'extensions.blocklist.enabled': false,
    'extensions.systemAddon.update.enabled': false,
    'media.gmp-gmpopenh264.enabled': false,
    'security.OCSP.enabled': 0,
    'security.remote_settings.crlite_filters.enabled': false,
    'security.remote_settings.intermediates.enabled': false,
};

export async function launch() {
    if (webkit) return webkit.launchWebKit();
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), `drill-${browserName}-`));
    const browser =
        browserName === 'firefox'
            ? await puppeteer.launch({
                  browser: 'firefox',
                  executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
                  headless: true,
                  userDataDir: profile,
                  extraPrefsFirefox: kFirefoxOffline,
                  // Firefox's own switch for test runs: it refuses any non-local connection.
                  env: {...process.env, MOZ_DISABLE_NONLOCAL_CONNECTIONS: '1'},
              })
            : await puppeteer.launch(chromiumOptions(profile));
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        fs.rmSync(profile, {recursive: true, force: true});
    };
    return browser;
}

// What the page must never do, logged in the page itself, from its start where
// the engine runs a script before the page's own (WebKit's WebDriver runs one
// only once the page has loaded, so there only from then on): every
// Content-Security-Policy violation and every script error. Its requests are
// the resource timings, which hold every one from the start.
function watchPage() {
    if (window.drillLog) return;
    const log = (window.drillLog = {violations: [], errors: []});
    addEventListener('securitypolicyviolation', (e) =>
        log.violations.push(`${e.violatedDirective} ${e.blockedURI}`),
    );
    addEventListener('error', (e) => log.errors.push(e.message));
    addEventListener('unhandledrejection', (e) => log.errors.push(String(e.reason)));
    const error = console.error;
    console.error = (...a) => {
        log.errors.push(a.join(' '));
        error.apply(console, a);
    };
}

// A page opened on the drill, watched. With holdModule, the compiled module is
// kept from the page until `await page.evaluate(() => releaseDrillModule())`,
// and the page is returned as soon as it is drawn.
// url and until: another copy of the page, and what to wait for in it; touch:
// a phone's or tablet's screen (its touch in Chromium only; no holdModule in
// WebKit).
export async function openDrill(
    browser,
    {
        scale = 1,
        width = 800,
        height = 600,
        touch = false,
        holdModule = false,
        url = pageUrl,
        until = holdModule ? 'html[data-drawn]' : 'html[data-ready]',
    } = {},
) {
    if (webkit) {
        return webkit.openWebKit(browser, {
            scale,
            width,
            height,
            holdModule,
            url,
            until,
            watchPage,
        });
    }
    const page = await browser.newPage();
    await page.setViewport({
        width,
        height,
        deviceScaleFactor: scale,
        ...(touch && {hasTouch: true, isMobile: true}),
    });
    await page.evaluateOnNewDocument(watchPage);
    if (holdModule) {
        await page.evaluateOnNewDocument(() => {
            let release;
            const held = new Promise((resolve) => {
                release = resolve;
            });
            window.releaseDrillModule = release;
            for (const name of ['instantiate', 'instantiateStreaming']) {
                const real = WebAssembly[name];
                WebAssembly[name] = (...args) =>
                    real.apply(WebAssembly, args).then((result) => held.then(() => result));
            }
        });
    }
    await page.goto(url);
    await page.waitForSelector(until, {timeout: 60000});
    return {page};
}

export async function assertClean(page) {
    const log = await page.evaluate(() => ({
        // Beyond its own file; data: URLs never leave it.
        requests: performance
            .getEntriesByType('resource')
            .map((e) => e.name)
            .filter((u) => u !== location.href && !u.startsWith('data:')),
        ...window.drillLog,
    }));
    assert.deepEqual(log.requests, [], 'no request left the page');
    assert.deepEqual(log.violations, [], 'no Content-Security-Policy violation');
    assert.deepEqual(log.errors, [], 'no script error');
}
