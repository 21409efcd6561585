// SPDX-License-Identifier: GPL-3.0-or-later
// Where the rule window opens on views wider and narrower than the windows:
// never where a press on the main window, which brings that one in front,
// would hide it.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {placeRule} from '../../web/placement.js';

// The rule window as drawn (its title bar 26 px), placed by the design 104 px
// right of and 178 px below the main window's corner, 12 px of page between.
const kRule = {size: {width: 487, height: 296}, bar: 26, gap: 12, offset: {dx: 104, dy: 178}};
const box = (left, top, width, height) => ({left, top, right: left + width, bottom: top + height});

for (const [name, main, view, corner] of [
    ['beside the main window', box(597, 24, 706, 487), [1900, 1000], [1315, 202]],
    ['its title bar bared below the main window', box(287, 24, 706, 487), [1280, 800], [793, 504]],
    ['its title bar bared above the main window', box(47, 24, 706, 487), [800, 600], [313, 0]],
    ['kept within a short view', box(597, 24, 706, 487), [1900, 300], [1315, 4]],
    // The one-column layout: the main window fills the view's width.
    ['below a main window that fills the view', box(8, 8, 344, 892), [360, 640], [8, 912]],
]) {
    test(name, () => {
        const size = view[0] < 400 ? {width: 344, height: 400} : kRule.size;
        const got = placeRule({...kRule, size, main, view: {width: view[0], height: view[1]}});
        assert.deepEqual([got.left, got.top], corner);
    });
}
