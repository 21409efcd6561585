// SPDX-License-Identifier: GPL-3.0-or-later
// WebKitGTK's MiniBrowser behind the few puppeteer calls the page tests make,
// over its WebDriver (classic: this WebDriver has no BiDi). It needs an X
// display (the test desktop's); a device scale is a display setting there
// (GDK_SCALE), so each scale gets a browser of its own, started when first asked.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {Builder, By, Key} from 'selenium-webdriver';
import remote from 'selenium-webdriver/remote/index.js';

const kMiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const kKeys = {
    Enter: Key.ENTER,
    Tab: Key.TAB,
    Escape: Key.ESCAPE,
    Backspace: Key.BACK_SPACE,
    Shift: Key.SHIFT,
    Control: Key.CONTROL,
};
const key = (name) => kKeys[name] ?? /^Key(.)$/.exec(name)?.[1].toLowerCase() ?? name;

// MiniBrowser's toolbar would keep its window wider than a phone's screen: a
// style sheet of its own shrinks it to nothing.
const kNoChrome = `window * { min-width: 0; min-height: 0; margin: 0; padding: 0;
    border-width: 0; font-size: 4px; -gtk-icon-transform: scale(0.2); }`;

export function launchWebKit() {
    const browsers = new Map();
    const config = fs.mkdtempSync(path.join(os.tmpdir(), 'drill-webkit-'));
    fs.mkdirSync(path.join(config, 'gtk-3.0'));
    fs.writeFileSync(path.join(config, 'gtk-3.0', 'gtk.css'), kNoChrome);
    const session = async (scale) => {
        if (!browsers.has(scale)) {
            const service = new remote.DriverService.Builder('/usr/bin/WebKitWebDriver')
                .setHostname('127.0.0.1')
                .setEnvironment({...process.env, GDK_SCALE: String(scale), XDG_CONFIG_HOME: config})
                .build();
            const driver = await new Builder()
                .usingServer(await service.start(20000))
                .withCapabilities({
                    browserName: 'MiniBrowser',
                    'webkitgtk:browserOptions': {binary: kMiniBrowser, args: ['--automation']},
                })
                .build();
            browsers.set(scale, {service, driver});
        }
        return browsers.get(scale).driver;
    };
    return {
        session,
        async close() {
            for (const {service, driver} of browsers.values()) {
                await driver.quit().catch(() => {});
                await service.kill();
            }
            fs.rmSync(config, {recursive: true, force: true});
        },
    };
}

// A function and its arguments run in the page.
const script = (fn) => `return (async (...args) => (${fn})(...args))(...arguments);`;

// watchPage: run in the page as soon as it has loaded.
export async function openWebKit(
    browser,
    {scale, width, height, holdModule, url, until, watchPage},
) {
    // touch: a touch screen's viewport, without the touch screen.
    if (holdModule) throw new Error('WebKit here cannot hold the module back');
    const driver = await browser.session(scale);
    const evaluate = (fn, ...args) => driver.executeScript(script(fn), ...args);
    const center = (selector) =>
        evaluate((s) => {
            const el = document.querySelector(s);
            el.scrollIntoView({block: 'nearest', inline: 'nearest'});
            const r = el.getBoundingClientRect();
            return {x: Math.round(r.left + r.width / 2), y: Math.round(r.top + r.height / 2)};
        }, selector);
    const act = (build) => build(driver.actions({async: true})).perform();
    const keyboard = {
        down: (k) => act((a) => a.keyDown(key(k))),
        up: (k) => act((a) => a.keyUp(key(k))),
        press: (k) => act((a) => a.keyDown(key(k)).keyUp(key(k))),
        type: (text) => act((a) => a.sendKeys(text)),
    };
    const boundingBox = async (selector) =>
        evaluate((s) => {
            const r = document.querySelector(s).getBoundingClientRect();
            return {x: r.left, y: r.top, width: r.width, height: r.height};
        }, selector);
    const page = {
        evaluate,
        keyboard,
        $eval: (selector, fn, ...args) =>
            evaluate(`(s, ...a) => (${fn})(document.querySelector(s), ...a)`, selector, ...args),
        $$eval: (selector, fn, ...args) =>
            evaluate(
                `(s, ...a) => (${fn})([...document.querySelectorAll(s)], ...a)`,
                selector,
                ...args,
            ),
        $: async (selector) => ({
            boundingBox: () => boundingBox(selector),
            screenshot: async ({path}) =>
                fs.writeFileSync(
                    path,
                    await driver.findElement(By.css(selector)).takeScreenshot(),
                    'base64',
                ),
        }),
        click: async (selector) => {
            const {x, y} = await center(selector);
            await act((a) => a.move({x, y, origin: 'viewport'}).press().release());
        },
        title: () => driver.getTitle(),
        // The viewport as drawn, cut to clip (CSS pixels) in the page itself.
        screenshot: async ({path, clip, encoding} = {}) => {
            let png = await driver.takeScreenshot();
            if (clip) {
                png = await evaluate(
                    async (png, clip) => {
                        const img = new Image();
                        await new Promise((resolve) => {
                            img.onload = resolve;
                            img.src = 'data:image/png;base64,' + png;
                        });
                        const k = devicePixelRatio;
                        const [x, y, w, h] = [clip.x, clip.y, clip.width, clip.height].map(
                            (v) => v * k,
                        );
                        const canvas = new OffscreenCanvas(w, h);
                        canvas.getContext('2d').drawImage(img, x, y, w, h, 0, 0, w, h);
                        const blob = await canvas.convertToBlob();
                        const bytes = new Uint8Array(await blob.arrayBuffer());
                        return btoa(String.fromCharCode(...bytes));
                    },
                    png,
                    clip,
                );
            }
            if (path) fs.writeFileSync(path, png, 'base64');
            return encoding === 'base64' ? png : Buffer.from(png, 'base64');
        },
        close: () => driver.get('about:blank'),
    };
    // The window sized so that its view is the viewport asked for: its frame
    // and toolbar measured, and the window manager given time to follow.
    await driver.get(url);
    await evaluate(watchPage);
    let seen;
    for (let i = 0; i < 20; ++i) {
        const [dw, dh] = await evaluate(() => [outerWidth - innerWidth, outerHeight - innerHeight]);
        await driver
            .manage()
            .window()
            .setRect({width: width + dw, height: height + dh});
        await new Promise((r) => setTimeout(r, 50 * i));
        seen = await evaluate(() => [innerWidth, innerHeight]);
        if (seen[0] === width && seen[1] === height) break;
    }
    if (seen[0] !== width || seen[1] !== height) throw new Error(`a ${seen.join('×')} view`);
    // Drawn at the new size before anything is looked at.
    await evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    await driver.wait(() => evaluate((s) => !!document.querySelector(s), until), 60000);
    return {page};
}
