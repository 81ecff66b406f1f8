// The page's figures in Chromium (see web/measure.sh): the field at its own
// pace, without the test hook.
import { readFileSync, statSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { chromium } from 'playwright-core';

const site = process.argv[2];
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = createServer((req, res) => {
  const path = join(site, decodeURIComponent(new URL(req.url, 'http://x').pathname));
  try {
    const file = statSync(path).isDirectory() ? join(path, 'index.html') : path;
    res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    res.end(req.method === 'HEAD' ? undefined : readFileSync(file));
  } catch {
    res.writeHead(404);
    res.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1280, height: 960 },
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const page = await browser.newPage();
await page.goto(`http://127.0.0.1:${server.address().port}/?set=gInTitle=0,gProloguePending=0`);
await page.waitForFunction(() => vedoFigures.figures.firstFrameMs >= 0, null, { timeout: 60000 });
await page.mouse.click(600, 400);  // sound and the synthesizer start
await page.waitForTimeout(2000);
const before = await page.evaluate(() => vedoFigures.passes());
await page.waitForTimeout(10000);
const f = await page.evaluate(() => ({ ...vedoFigures.figures, passes: vedoFigures.passes(),
  cost: vedoFigures.frameCostMs() }));
console.log(`page start to first frame      ${f.firstFrameMs.toFixed(0)} ms`);
console.log(`soundfont fetched and read     ${f.soundfontMs.toFixed(0)} ms (on the page's thread, beside the data's download)`);
console.log(`passes a second (10 s)         ${((f.passes - before) / 10).toFixed(1)}`);
console.log(`game time a frame (mean)       ${f.cost.toFixed(3)} ms (pass, conversion, canvas)`);
console.log(`${'audio context made in'.padEnd(31)}${f.soundOpenMs.toFixed(0)} ms (while the data downloads)`);
console.log(`${'longest gap, 1 s from click'.padEnd(31)}${f.clickGapMs.toFixed(1)} ms (the click at ${f.clickMs.toFixed(0)} ms, when the sound starts)`);
console.log(`longest gap between frames     ${f.longestGapMs.toFixed(1)} ms, ending at ${f.longestGapEndMs.toFixed(0)} ms (soundfont ready at ${f.soundfontReadyMs.toFixed(0)} ms); ${f.gapsOver20Ms} gaps over 20 ms in ${f.frames} frames`);
await browser.close();
server.close();
rmSync(profile, { recursive: true, force: true });
