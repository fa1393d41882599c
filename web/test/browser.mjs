// Debian's Chromium, headless, driven by playwright-core, over build-web/
// served on loopback.
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
    async close() {
      await browser.close();
      server.close();
    },
  };
}
