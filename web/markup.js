// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows' markup, built from the program's form table when the page is
// built, so that the first frame shows every control without waiting for the
// compiled module. The page's script only finds these elements and gives them
// behaviour.
// Usage: node markup.js FACTS.json   prints both windows' markup {main, rule} as JSON.
'use strict';

// Texts of the browser edition alone (the drill's own texts come from the program).
const kClose = 'Закрыть';
const kCloseSign = '×';

function escape(text) {
    return String(text).replace(
        /[&<>"]/g,
        (ch) => ({'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'})[ch],
    );
}

// Attributes from an object, in its order; false and null leave one out.
function attributes(list) {
    return Object.entries(list)
        .filter(([, value]) => value !== false && value !== null && value !== undefined)
        .map(([name, value]) => (value === true ? ` ${name}` : ` ${name}="${escape(value)}"`))
        .join('');
}

function style(list) {
    return Object.entries(list)
        .map(([name, value]) => `${name}: ${value}`)
        .join('; ');
}

// Asked for more contrast, a text colour short of this ratio to its ground
// (the enhanced level of the web's accessibility guidelines) is drawn darker.
const kMoreContrast = 7;

// Relative luminance of "rgb(r, g, b)", and the contrast ratio of two colours.
function luminance(css) {
    const [r, g, b] = css
        .match(/\d+/g)
        .map((v) => v / 255)
        .map((c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

function contrast(a, b) {
    const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
}

// The colour darkened in its own hue until it reaches that ratio on its
// ground (black at worst); null if it reaches it already.
function darker(color, background) {
    const channels = color.match(/\d+/g).map(Number);
    for (let step = 100; step >= 0; --step) {
        const dark = `rgb(${channels.map((v) => Math.floor((v * step) / 100)).join(', ')})`;
        if (contrast(dark, background) >= kMoreContrast) return step === 100 ? null : dark;
    }
    return null;
}

// What each control is (the answer box, the verdict line...), by its name.
function roleOf(design, name) {
    return Object.keys(design.roles).find((role) => design.roles[role] === name) ?? null;
}

function control(c, windowName, design, autofocus, title = false) {
    const dark = darker(c.color, c.background);
    const common = {
        id: windowName + '-' + c.name,
        class:
            'control' +
            (c.border ? ' border' : '') +
            (c.wordWrap ? ' wrap' : '') +
            (title ? ' title' : '') +
            (dark ? ' faint' : ''),
        'data-name': c.name,
        'data-role': windowName === design.main.name ? roleOf(design, c.name) : null,
        style: style({
            left: c.left + 'px',
            top: c.top + 'px',
            width: c.width + 'px',
            height: c.height + 'px',
            'font-size': c.fontPx + 'px',
            'font-weight': c.bold ? 'bold' : 'normal',
            color: c.color,
            'background-color': c.background,
            'text-align': c.align,
            ...(dark && {'--more-contrast': dark}),
            // The narrow layout caps the answer box's size from this one.
            ...(c.kind === 'textbox' && {'--font': c.fontPx + 'px'}),
        }),
        // Positive tab indices follow the table's order; the table counts from 0.
        tabindex: c.tabIndex >= 0 ? c.tabIndex + 1 : null,
        'aria-label': c.accessibleName || null,
        'aria-description': c.accessibleDescription || null,
        autofocus,
    };
    if (c.kind === 'button') {
        return `<button${attributes({type: 'button', ...common})}>${escape(c.text)}</button>`;
    }
    if (c.kind === 'textbox') {
        return `<input${attributes({
            type: 'text',
            ...common,
            value: c.text,
            maxlength: design.answerMaxLength,
            autocomplete: 'off',
            spellcheck: 'false',
            autocapitalize: 'off',
            autocorrect: 'off',
            // Typed into only once the page's script runs (it lifts this).
            readonly: true,
        })}>`;
    }
    return `<div${attributes(common)}>${escape(c.text)}</div>`;
}

function windowStyle(w, extra = {}) {
    return style({
        width: w.width + 'px',
        height: w.height + 'px',
        'background-color': w.background,
        ...extra,
    });
}

// Controls in reading order: top to bottom, then left to right.
function readingOrder(controls) {
    return [...controls].sort((a, b) => a.top - b.top || a.left - b.left);
}

function mainWindow(design) {
    const w = design.main;
    // The focus starts on the first control of the tab order; autofocus gives it
    // at the first frame, without forcing a layout.
    const first = Math.min(...w.controls.filter((c) => c.tabIndex >= 0).map((c) => c.tabIndex));
    // The counters' captions, each set beside its counter in one column.
    const titles = new Set(Object.values(design.captions));
    const controls = readingOrder(w.controls).map((c) =>
        control(c, w.name, design, c.tabIndex === first, titles.has(c.name)),
    );
    // The caption, which the picture carries, as the page's heading: shown only
    // in the one-column layout of narrow screens, where the picture is not.
    return `<div${attributes({
        id: w.name,
        class: 'window',
        role: 'region',
        'aria-label': w.caption,
        'data-window': 'main',
        style: windowStyle(w, {
            'background-size': `${design.pictureWidth}px ${design.pictureHeight}px`,
        }),
    })}>\n<h1 class="heading">${escape(w.caption)}</h1>\n${controls.join('\n')}\n</div>`;
}

function ruleWindow(design) {
    const w = design.rule;
    const controls = new Map(w.controls.map((c) => [c.name, c]));
    const client = design.ruleReadingOrder.map((name) =>
        control(controls.get(name), w.name, design, false),
    );
    return (
        `<div${attributes({
            id: w.name,
            class: 'window floating',
            role: 'dialog',
            'data-window': 'rule',
            'aria-labelledby': w.name + '-caption',
            'aria-describedby': design.ruleReadingOrder
                .map((name) => w.name + '-' + name)
                .join(' '),
            // Where the design puts it on the screen, relative to the main window.
            'data-dx': w.left - design.main.left,
            'data-dy': w.top - design.main.top,
            hidden: true,
        })}>\n<div class="caption"><span id="${escape(w.name)}-caption">${escape(w.caption)}</span>` +
        `<button${attributes({
            type: 'button',
            class: 'close',
            id: w.name + '-close',
            'aria-label': kClose,
            title: kClose,
        })}>${kCloseSign}</button></div>\n` +
        `<div class="client" style="${escape(windowStyle(w))}">\n${client.join('\n')}\n</div>\n</div>`
    );
}

function windows(design) {
    return {main: mainWindow(design), rule: ruleWindow(design)};
}

module.exports = {windows};

if (require.main === module) {
    const facts = JSON.parse(require('node:fs').readFileSync(process.argv[2], 'utf8'));
    process.stdout.write(JSON.stringify(windows(facts.design)));
}
