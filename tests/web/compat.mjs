// SPDX-License-Identifier: GPL-3.0-or-later
// The page's style and scripts against the oldest browsers it supports (the
// browserslist in package.json): every feature newer than them is reported.
// Usage: node compat.mjs [FILE...]   (default: the page's own files)
import fs from 'node:fs';
import path from 'node:path';
import {ESLint} from 'eslint';
import compat from 'eslint-plugin-compat';
import postcss from 'postcss';
import doiuse from 'doiuse';

const here = path.dirname(new URL(import.meta.url).pathname);
const browsers = JSON.parse(fs.readFileSync(path.join(here, 'package.json'))).browserslist;
const web = path.join(here, '../../web');
const files = process.argv.slice(2).length
    ? process.argv.slice(2)
    : ['page.css', 'page.js', 'page.html'].map((f) => path.join(web, f));
const found = [];
// Findings excused, each no wider than its one use: the feature and the form written.
const excused = [
    // Chrome and Edge 109-112 read the prefixed form alone; unprefixed, they drop the picture.
    {feature: 'css-image-set', form: /^background-image: -webkit-image-set\(/},
];

const eslint = new ESLint({
    cwd: '/',
    overrideConfigFile: true,
    overrideConfig: [
        {
            ...compat.configs['flat/recommended'],
            // Syntax newer than the oldest browser's fails to parse.
            languageOptions: {ecmaVersion: 2021, sourceType: 'script'},
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
        const onFeatureUsage = (u) =>
            excused.some((e) => e.feature === u.feature && e.form.test(u.usage.toString())) ||
            found.push(u.message);
        await postcss([doiuse({browsers, onFeatureUsage})]).process(sheet, {from: file});
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
