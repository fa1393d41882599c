// Debian's Chromium, headless, driven by playwright-core, over build-web/
// served on loopback.
import { readFileSync } from 'node:fs';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';
import { webDir } from './fixtures.mjs';

export const chromiumPath = process.env.ORV_CHROMIUM ?? '/usr/bin/chromium';

export async function openBrowser() {
  const server = await serve(webDir, 0);
  const url = `http://127.0.0.1:${server.address().port}/`;
  // playwright-core gives every launch a fresh user-data folder of its own.
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  return {
    url,
    browser,
    // options: more of the context's, such as { locale: 'de-DE' }.
    async page(viewport = { width: 1280, height: 800 }, options = {}) {
      const context = await browser.newContext({ viewport, acceptDownloads: true, ...options });
      const page = await context.newPage();
      const errors = [];
      page.on('pageerror', (error) => errors.push(error.message));
      page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
      await page.goto(url);
      await page.waitForSelector('body[data-ready]');
      return { page, errors };
    },
    // A page with romFile opened, in whatever language, once its gallery shows.
    async withRom(romFile, viewport, options) {
      const opened = await this.page(viewport, options);
      await opened.page.locator('#rom-input').setInputFiles(romFile);
      await opened.page.locator('#gallery:not([hidden])').waitFor();
      return opened;
    },
    async close() {
      await browser.close();
      server.close();
    },
  };
}

// What a button of the page gives as a download: its suggested name and bytes.
export async function downloadOf(page, name) {
  const [file] = await Promise.all([page.waitForEvent('download'),
    page.getByRole('button', { name, exact: true }).click()]);
  return { name: file.suggestedFilename(), bytes: new Uint8Array(readFileSync(await file.path())) };
}

// One browser for the tests of a file, opened before them and closed after
// them; then cleanup runs.
export function browserForTests(cleanup = () => {}) {
  let browser;
  before(async () => {
    browser = await openBrowser();
  });
  after(async () => {
    await browser?.close();
    cleanup();
  });
  return {
    page: (...args) => browser.page(...args),
    withRom: (...args) => browser.withRom(...args),
  };
}
