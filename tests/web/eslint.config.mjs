// SPDX-License-Identifier: GPL-3.0-or-later
// ESLint's recommended rules over the page's scripts, the browser tests and the
// page's benchmark, run from the repository's root by ./scripts/lint:
//   eslint -c tests/web/eslint.config.mjs FILE...
// (compat.mjs lints the page against the oldest browsers with a configuration
// of its own.)
import js from '@eslint/js';
import globals from 'globals';

export default [
    js.configs.recommended,
    {
        files: ['web/page.js'],
        languageOptions: {sourceType: 'script', globals: globals.browser},
        rules: {
            // Called by the page's last script, once the compiled module loads.
            'no-unused-vars': ['error', {varsIgnorePattern: '^(attachQuiz|failToStart)$'}],
        },
    },
    {
        // Node scripts, whose callbacks for page.evaluate() run in the page.
        files: ['tests/web/*.mjs', 'bench/web/*.mjs'],
        languageOptions: {
            sourceType: 'module',
            globals: {
                ...globals.node,
                ...globals.browser,
                // Set on the page by browser.mjs when it holds the compiled module back.
                releaseDrillModule: 'readonly',
            },
        },
    },
];
