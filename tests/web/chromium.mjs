// SPDX-License-Identifier: GPL-3.0-or-later
// How the browser tests and the start-up benchmark start the system Chromium:
// headless, with a profile of its own, and none of its background traffic, which
// this offline machine would refuse.
export function chromiumOptions(profile) {
    return {
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: [
            '--headless=new',
            '--no-sandbox',
            '--disable-gpu',
            '--no-first-run',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
            `--user-data-dir=${profile}`,
        ],
    };
}
