// SPDX-License-Identifier: GPL-3.0-or-later
// One-line texts in another engine's metrics. The table sizes each fixed text
// to the desktop's hinted font; an engine that lays the same face out a few
// pixels wider (WebKit, Firefox) would cut its end, so such a text is drawn
// that much tighter instead. Measured off the layout, so the hidden rule
// window is done too.
export function tightenWideTexts() {
    const ctx = document.createElement('canvas').getContext('2d');
    for (const el of document.querySelectorAll('.window div.control:not([data-role], .wrap)')) {
        const text = el.textContent.trimEnd();
        const s = getComputedStyle(el);
        ctx.font = `${s.fontWeight} ${s.fontSize} ${s.fontFamily}`;
        const over = ctx.measureText(text).width + 1 - parseFloat(el.style.width);
        if (over > 0) el.style.letterSpacing = `${-over / text.length}px`;
    }
}
