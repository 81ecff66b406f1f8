// The page's figures in Chromium (see web/measure.sh), without the test
// hook: the field at its own pace; or, with "network", the start over
// Chromium's emulation of a home connection, the first visit and the
// repeat visit (from the offline copy).
import { readFileSync, statSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { chromium } from 'playwright-core';

const [site, mode] = process.argv.slice(2);
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
let served = 0;  // bytes of the files the server sent
const server = createServer((req, res) => {
  const path = join(site, decodeURIComponent(new URL(req.url, 'http://x').pathname));
  try {
    const file = statSync(path).isDirectory() ? join(path, 'index.html') : path;
    const body = readFileSync(file);
    served += body.length;
    res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    res.end(body);
  } catch {
    res.writeHead(404);
    res.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}/`;
// A browser with a profile of its own, as a first visitor's.
let profile = '';
const launch = () => {
  profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
  return chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1280, height: 960 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
};

if (mode === 'network') {
  for (const [mbits, latency] of [[10, 40], [3, 150]]) {
    const browser = await launch();
    const page = await browser.newPage();
    const cdp = await browser.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await cdp.send('Network.emulateNetworkConditions', { offline: false, latency,
      downloadThroughput: (mbits * 1e6) / 8, uploadThroughput: (mbits * 1e6) / 8 });
    const start = async (visit) => {
      await page.waitForFunction(() => window.vedoFigures && vedoFigures.figures.firstFrameMs >= 0,
        null, { timeout: 120000 });
      const f = await page.evaluate(() => {
        const title = vedoFigures.figures.firstFrameMs;
        const paint = performance.getEntriesByName('first-contentful-paint')[0];
        const before = [...performance.getEntriesByType('navigation'),
          ...performance.getEntriesByType('resource')].filter((e) => e.responseEnd <= title);
        return { title, bar: paint ? paint.startTime : -1,
          bytes: before.reduce((n, e) => n + e.encodedBodySize, 0) };
      });
      console.log(`${mbits} Mbit/s, ${latency} ms, ${visit}: loading bar at ${f.bar.toFixed(0)} ms, ` +
        `title at ${f.title.toFixed(0)} ms, ${(f.bytes / 1e6).toFixed(2)} MB before the title`);
    };
    await page.goto(origin);
    await start('first visit');
    await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 300000 });
    const f = await page.evaluate(() => vedoFigures.figures);
    console.log(`  the music's synthesizer ready at ${f.soundfontReadyMs.toFixed(0)} ms; longest gap ` +
      `between frames ${f.longestGapMs.toFixed(0)} ms, ending at ${f.longestGapEndMs.toFixed(0)} ms`);
    served = 0;
    await page.reload();
    await start('repeat visit');
    console.log(`  bytes from the server on the repeat visit: ${served}`);
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
  server.close();
  process.exit(0);
}

const browser = await launch();
const page = await browser.newPage();
await page.goto(`${origin}?set=gInTitle=0,gProloguePending=0`);
await page.waitForFunction(() => vedoFigures.figures.firstFrameMs >= 0, null, { timeout: 60000 });
await page.mouse.click(600, 400);  // sound and the synthesizer start
await page.waitForTimeout(2000);
const before = await page.evaluate(() => vedoFigures.passes());
await page.waitForTimeout(10000);
const f = await page.evaluate(() => ({ ...vedoFigures.figures, passes: vedoFigures.passes(),
  cost: vedoFigures.frameCostMs() }));
console.log(`page start to first frame      ${f.firstFrameMs.toFixed(0)} ms`);
console.log(`synthesizer started, soundfont ${f.soundfontMs.toFixed(0)} ms (fetched and read after the first frame)`);
console.log(`passes a second (10 s)         ${((f.passes - before) / 10).toFixed(1)}`);
console.log(`game time a frame (mean)       ${f.cost.toFixed(3)} ms (pass, conversion, canvas)`);
console.log(`${'audio context made in'.padEnd(31)}${f.soundOpenMs.toFixed(0)} ms (while the data downloads)`);
console.log(`${'longest gap, 1 s from click'.padEnd(31)}${f.clickGapMs.toFixed(1)} ms (the click at ${f.clickMs.toFixed(0)} ms, when the sound starts)`);
console.log(`longest gap between frames     ${f.longestGapMs.toFixed(1)} ms, ending at ${f.longestGapEndMs.toFixed(0)} ms (soundfont ready at ${f.soundfontReadyMs.toFixed(0)} ms); ${f.gapsOver20Ms} gaps over 20 ms in ${f.frames} frames`);
await browser.close();
server.close();
rmSync(profile, { recursive: true, force: true });
