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
        // The page's modules, joined into its one script by the build.
        files: ['web/*.js'],
        languageOptions: {
            sourceType: 'module',
            // Declared by the compiled module's script, which the page runs last.
            globals: {...globals.browser, createDrillModule: 'readonly'},
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
