// The browser build in a real Chromium, on a static server at 127.0.0.1.
//
//   node browser_test.mjs SITE REFERENCE_DIR
//
// REFERENCE_DIR holds the frames vedo-replay (the Linux build) rendered from
// walk.vrs. The page is driven through the same script with real mouse
// events, pass by pass through its test hook, and its canvas must equal each
// frame exactly, and the sound started by the clicks is heard. Then: hiding the tab freezes the game and showing it
// resumes it; Escape ends the game and the page offers a restart; on a page
// started in the ending, the music is heard; and a missing data file gives
// the game's start-up message in the page.
import { readFileSync, statSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const [site, references] = process.argv.slice(2);
const here = fileURLToPath(new URL('.', import.meta.url));
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
let failures = 0;
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) failures++;
}

const missing = new Set();  // files the server pretends not to have
const server = createServer((req, res) => {
  const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
  const path = join(site, name);
  try {
    if (missing.has(name.slice(1))) throw new Error('missing');
    const file = statSync(path).isDirectory() ? join(path, 'index.html') : path;
    const body = readFileSync(file);
    res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
    res.end(req.method === 'HEAD' ? undefined : body);
  } catch {
    res.writeHead(404);
    res.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}/`;

const profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1280, height: 960 },  // the frame at twice its size
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--autoplay-policy=no-user-gesture-required'],
});

async function open(query) {
  const page = await browser.newPage();
  page.on('console', (m) => console.log('  page: ' + m.text()));
  page.on('pageerror', (e) => console.log('  page error: ' + e));
  await page.goto(origin + 'index.html?test' + query);
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  return page;
}
const idle = (page) => page.waitForFunction(() => vedoTest.idle(), null, { timeout: 60000 });

// The canvas equals the reference frame, compared in the page: both are
// drawn into canvases without colour conversion and read back.
async function sameFrame(page, name) {
  const png = readFileSync(join(references, name)).toString('base64');
  return page.evaluate(async (data) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const picture = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
      { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const c = new OffscreenCanvas(640, 480);
    const cx = c.getContext('2d');
    cx.drawImage(picture, 0, 0);
    const want = cx.getImageData(0, 0, 640, 480).data;
    const got = document.getElementById('screen').getContext('2d').getImageData(0, 0, 640, 480).data;
    let differ = 0;
    for (let i = 0; i < want.length; i += 4) {
      if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) differ++;
    }
    return differ;
  }, png);
}

// ---- The walk ------------------------------------------------------------------
// Plays a replay script on the page with real mouse events, pass by pass;
// `shot` compares the canvas with the Linux build's frame of that name.
async function walk(page, script) {
  for (const line of readFileSync(script, 'utf8').split('\n')) {
    const [op, a, b] = line.trim().split(/\s+/);
    if (op === 'time') await page.evaluate((t) => vedoTest.setTime(t), Number(a));
    if (op === 'move') await page.mouse.move(2 * Number(a) + 1, 2 * Number(b) + 1);
    if (op === 'down') await page.mouse.down();
    if (op === 'up') await page.mouse.up();
    if (op === 'frames') {
      await page.evaluate((n) => vedoTest.run(n), Number(a));
      await idle(page);
    }
    if (op === 'expect') {
      check((await page.evaluate((n) => vedoTest.state(n), a)) === Number(b), `${a} = ${b}`);
    }
    if (op === 'shot') {
      const differ = await sameFrame(page, a);
      check(differ === 0, `${a}: the canvas equals the Linux frame (${differ} pixels differ)`);
    }
  }
}

// A whole game from the title to the ending and back to the title, with
// every state the Linux replay of the same script expects.
{
  const whole = await open('');
  const before = failures;
  await walk(whole, join(here, '../../tests/scenes/replays/full_loop_won.vrs'));
  check(failures === before, 'a whole won game, from the title through the ending to the title');
  await whole.close();
}

const page = await open('');
await walk(page, join(here, 'walk.vrs'));

// The clicks started the page's sound: the effects of the title and the
// prologue were heard.
await page.waitForFunction(() => vedoTest.heard.peak > 0, null, { timeout: 10000 }).catch(() => {});
const effects = await page.evaluate(() => vedoTest.heard.peak);
check(effects > 0, `after the title click the output is not silent (peak ${effects})`);

// ---- Hidden and shown -------------------------------------------------------------
// Headless Chromium keeps every tab visible, so the page is told the way a
// browser tells it: document.hidden changes and visibilitychange fires.
const setHidden = (hidden) => page.evaluate((h) => {
  Object.defineProperty(document, 'hidden', { value: h, configurable: true });
  Object.defineProperty(document, 'visibilityState', { value: h ? 'hidden' : 'visible', configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
}, hidden);
await page.evaluate(() => vedoTest.run(1000000));
await page.waitForTimeout(300);
await setHidden(true);
await page.waitForTimeout(300);
const hiddenFrom = await page.evaluate(() => vedoTest.passes());
await page.waitForTimeout(1000);
const hiddenTo = await page.evaluate(() => vedoTest.passes());
check(hiddenTo === hiddenFrom, `a hidden tab freezes the game (${hiddenTo - hiddenFrom} passes)`);
await setHidden(false);
await page.waitForTimeout(1000);
const shown = await page.evaluate(() => vedoTest.passes());
check(shown > hiddenTo, `showing it resumes the game (${shown - hiddenTo} passes)`);

// ---- Escape -------------------------------------------------------------------------
await page.keyboard.press('Escape');
await page.waitForFunction(() => vedoTest.ended(), null, { timeout: 10000 });
check(await page.isVisible('#ended button'), 'Escape ends the game and the page offers a restart');
await page.close();

// ---- Music ----------------------------------------------------------------------------
const ending = await open('&set=gInTitle=0,gProloguePending=0,gEnding=1');
await ending.mouse.click(640, 480);  // sound starts on a click
await ending.waitForFunction(() => vedoTest.synthReady(), null, { timeout: 60000 });
await ending.evaluate(() => vedoTest.run(100000));
await ending.waitForFunction(() => vedoTest.heard.peak > 1000, null, { timeout: 20000 })
  .catch(() => {});
const peak = await ending.evaluate(() => vedoTest.heard.peak);
check(peak > 1000, `the ending's music is heard (peak ${peak})`);
await ending.close();

// ---- A missing data file -----------------------------------------------------------
// The same start-up messages as on Linux: the message box in the page's
// panel, and the game ends.
missing.add('WEAPON.SPR');
const broken = await browser.newPage();
await broken.goto(origin + 'index.html?test');
await broken.waitForFunction(() => window.vedoTest && vedoTest.ended(), null, { timeout: 60000 });
const told = await broken.textContent('#messages');
check(told.includes('InitProgram(): Fail Get Sprite Num'),
  `without WEAPON.SPR the page shows the game's message box ("${told}")`);
await broken.close();

await browser.close();
server.close();
rmSync(profile, { recursive: true, force: true });
console.log(failures === 0 ? 'All browser checks passed.' : `${failures} browser checks failed.`);
process.exit(failures === 0 ? 0 : 1);
