// SPDX-License-Identifier: GPL-3.0-or-later
// The page's start: every behaviour but the quiz's given at once, so that the
// page works while the module is still compiling, and the marks of its
// readiness.
import {setUpMessageBox} from './message.js';
import {setUpRuleWindow} from './rule.js';
import {setUpPresses, startQuiz} from './bridge.js';
import {tightenWideTexts} from './fit.js';

// The embedded face, by the name the page's style gives it.
const kFace = getComputedStyle(document.documentElement).getPropertyValue('--face').trim();

// Drawn at the first frame after the embedded faces are in (marked in the task
// after the frame's callbacks); ready once the quiz answers presses too. The
// start-up benchmark waits for the first mark, the tests for the second. The
// faces are asked about at each frame: the promise of fonts.ready is kept only
// after a layout, a frame later than the one that shows them.
function facesIn() {
    return document.fonts.check('16px ' + kFace) && document.fonts.check('bold 16px ' + kFace);
}

function markWhenDrawn() {
    const drawn = new Promise((done) => {
        const atFrame = () =>
            requestAnimationFrame(() => {
                if (facesIn()) setTimeout(done);
                else document.fonts.ready.then(atFrame);
            });
        atFrame();
    });
    drawn.then(() => {
        tightenWideTexts();
        performance.mark('drill-drawn');
        document.documentElement.dataset.drawn = '1';
    });
    return drawn;
}

function markWhenReady(drawn, attached) {
    Promise.all([drawn, attached]).then(() => {
        performance.mark('drill-ready');
        document.documentElement.dataset.ready = '1';
    });
}

setUpMessageBox();
setUpRuleWindow();
const pageDrawn = markWhenDrawn();
markWhenReady(pageDrawn, setUpPresses());
startQuiz(pageDrawn);
