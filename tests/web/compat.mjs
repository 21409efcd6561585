// SPDX-License-Identifier: GPL-3.0-or-later
// The page's style and scripts against the oldest browsers it supports (the
// browserslist in package.json): every feature newer than them is reported.
// Usage: node compat.mjs FILE...   (the page's style, template and scripts;
// a .js file is one of the modules the build joins into the page's script)
import fs from 'node:fs';
import path from 'node:path';
import {ESLint} from 'eslint';
import compat from 'eslint-plugin-compat';
import postcss from 'postcss';
import doiuse from 'doiuse';

const here = path.dirname(new URL(import.meta.url).pathname);
const browsers = JSON.parse(fs.readFileSync(path.join(here, 'package.json'))).browserslist;
const files = process.argv.slice(2);
const found = [];
// The one finding excused, as narrowly as its use: Chrome and Edge 109-112 read
// image-set() prefixed alone, as written; unprefixed, they drop the picture.
const excused = (u) =>
    u.feature === 'css-image-set' && /^background-image: -webkit-image-set\(/.test(u.usage);

const eslint = new ESLint({
    cwd: '/',
    overrideConfigFile: true,
    overrideConfig: [
        {
            ...compat.configs['flat/recommended'],
            // Syntax newer than the oldest browser's fails to parse.
            languageOptions: {ecmaVersion: 2021, sourceType: 'module'},
            settings: {browsers},
        },
    ],
});
for (const file of files) {
    const text = fs.readFileSync(file, 'utf8');
    const css = file.endsWith('.css')
        ? [text]
        : [...text.matchAll(/<style>([^<]*)<\/style>/g)].map((m) => m[1]);
    const js = file.endsWith('.js')
        ? [text]
        : // The template's placeholders left out: what fills them is linted itself.
          [...text.matchAll(/<script>([^<]*)<\/script>/g)].map((m) =>
              m[1].replace(/^@\w+@$/gm, ''),
          );
    for (const sheet of css) {
        await postcss([
            doiuse({browsers, onFeatureUsage: (u) => excused(u) || found.push(u.message)}),
        ]).process(sheet, {from: file});
    }
    // Machine translation garbles the equations.
    if (file.endsWith('.html') && !/<html[^>]* translate="no"/.test(text)) {
        found.push(`${file}: <html> lacks translate="no"`);
    }
    for (const script of js) {
        for (const result of await eslint.lintText(script, {filePath: file + '.js'})) {
            for (const m of result.messages) found.push(`${file}:${m.line}: ${m.message}`);
        }
    }
}
console.log(found.join('\n') || `no feature newer than ${browsers.join(', ')}`);
process.exitCode = found.length ? 1 : 0;
