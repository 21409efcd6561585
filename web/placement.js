// SPDX-License-Identifier: GPL-3.0-or-later
// Where the rule window opens, from the sizes the page reads: opened where a
// press on the main window, which brings that window in front, cannot hide
// it: beside the main window if the view has room, else as far out to the
// side as the view goes, moved up or down to bare its title bar if that helps;
// where the main window fills the view (phones), just below it.
//   main: the main window's box in the view {left, top, right, bottom};
//   view: the view's {width, height}; size: the rule window's {width, height};
//   bar: its title bar's height; gap: the page's gap between the windows;
//   offset: where the design puts it, {dx, dy} from the main window's corner.
// Returns its corner {left, top} in the view.
export function placeRule({main: m, view, size, bar, gap, offset}) {
    const {width, height} = size;
    const under = (at, extent, from, to) =>
        Math.max(0, Math.min(at + extent, to) - Math.max(at, from));
    const inView = (at, extent, room) => Math.max(0, Math.min(at, room - extent));
    const hidden = (x) => under(x, width, m.left, m.right);
    const left = [m.left + offset.dx, m.right + gap, Infinity, 0]
        .map((x) => inView(x, width, view.width))
        .reduce((best, x) => (hidden(x) < hidden(best) ? x : best));
    const design = m.top + offset.dy;
    const top = hidden(left)
        ? [design, m.bottom + gap, m.top - gap - height]
              .map((y) => inView(y, height, view.height))
              .find((y) => under(y, bar, m.top, m.bottom) <= bar / 2)
        : design;
    if (top === undefined && width - hidden(left) < bar) return {left: m.left, top: m.bottom + gap};
    return {left, top: inView(top ?? design, height, view.height)};
}
