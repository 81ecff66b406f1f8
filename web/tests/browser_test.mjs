// The browser build in a real Chromium, on a static server at 127.0.0.1
// that hosts the site under a sub-path.
//
//   node browser_test.mjs SITE REFERENCE_DIR
//
// REFERENCE_DIR holds the frames vedo-replay (the Linux build) rendered from
// walk.vrs. The page is driven through the same script with real mouse
// events, pass by pass through its test hook, and its canvas must equal each
// frame exactly, and the sound started by the clicks is heard. Then: hiding
// the tab freezes the game and showing it resumes it; Escape ends the game
// and the page offers a restart; on a page started in the ending, the music
// is heard; the button beside the canvas shows the game's options, the
// speaker mutes it and the mute holds over a reload; a game is played by
// taps alone on a phone held either way and on a tablet; a click with no
// time between press and release counts; the page plays in English when
// asked, by its address or by the switch beside the canvas, and keeps the
// choice over a reload; each
// failure is told and its retry continues; the page works offline, takes a
// new version and is installable; and Firefox plays the title.
import { execFileSync } from 'node:child_process';
import { readFileSync, readdirSync, statSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const [site, references] = process.argv.slice(2);
const here = fileURLToPath(new URL('.', import.meta.url));
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
const BASE = '/games/vedo/';
const PACK = 'vedo-data.pack';
let failures = 0;
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) failures++;
}

// The server answers ranges, as static hosts do, and can stall a file
// halfway for ever; `asked` keeps the ranges asked for.
const stall = new Set();
const asked = [];
let swVersion = null;  // a new version's service worker, when set
const server = createServer((req, res) => {
  const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).slice(BASE.length);
  try {
    const file = statSync(join(site, name)).isDirectory() ? join(site, name, 'index.html') : join(site, name);
    let body = readFileSync(file);
    if (name === 'sw.js' && swVersion) body = Buffer.from(String(body).replace(/VERSION = '[^']*'/, `VERSION = '${swVersion}'`));
    const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream' };
    const from = Number((/^bytes=(\d+)-$/.exec(req.headers.range || '') || [])[1] || 0);
    if (from) asked.push(`${name} from ${from}`);
    if (stall.delete(name)) {
      res.writeHead(200, { ...headers, 'Content-Length': body.length });
      res.write(body.subarray(0, body.length >> 1));
      return;
    }
    if (from) headers['Content-Range'] = `bytes ${from}-${body.length - 1}/${body.length}`;
    res.writeHead(from ? 206 : 200, headers);
    res.end(req.method === 'HEAD' ? undefined : body.subarray(from));
  } catch {
    res.writeHead(404);
    res.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}${BASE}`;

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--autoplay-policy=no-user-gesture-required'],
});
// The frame at twice its size. Service workers would answer requests from
// their copy, so only the offline checks have one.
const desk = await browser.newContext({ viewport: { width: 1280, height: 960 }, serviceWorkers: 'block' });

let refused = 0;  // what the page's Content-Security-Policy refused
async function open(query, context = desk) {
  const page = await context.newPage();
  page.on('console', (m) => {
    if (m.text().includes('Content Security Policy')) refused++;
    console.log('  page: ' + m.text());
  });
  page.on('pageerror', (e) => console.log('  page error: ' + e));
  await page.goto(origin + 'index.html?test' + query);
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  return page;
}
const idle = (page) => page.waitForFunction(() => vedoTest.idle(), null, { timeout: 60000 });
const run = async (page, n) => {
  await page.evaluate((k) => vedoTest.run(k), n);
  await idle(page);
};
// A game-state value by the replay scripts' names, taken apart here: a
// global, or a layer's cell, gObjectLayer[r][c].
const state = (page, name) => {
  const [, global, row, col] = name.match(/^(\w+)(?:\[(\d+)\]\[(\d+)\])?$/);
  return page.evaluate(([g, r, c]) => vedoTest.state(g, r, c), [global, Number(row ?? -1), Number(col ?? -1)]);
};
// A frame pixel's centre in the page's CSS pixels.
const at = (page, x, y) => page.evaluate(([fx, fy]) => {
  const r = document.getElementById('screen').getBoundingClientRect();
  return [r.left + ((fx + 0.5) * r.width) / 640, r.top + ((fy + 0.5) * r.height) / 480];
}, [x, y]);

// The canvas equals the reference frame, compared in the page: both are
// drawn into canvases without colour conversion and read back.
async function sameFrame(page, name) {
  const png = readFileSync(name.startsWith('/') ? name : join(references, name)).toString('base64');
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
  let pointer = [0, 0];
  let options = false;  // the options are open
  for (const line of readFileSync(script, 'utf8').split('\n')) {
    const [op, a, b] = line.trim().split(/\s+/);
    if (op === 'time') await page.evaluate((t) => vedoTest.setTime(t), Number(a));
    if (op === 'move') pointer = [Number(a), Number(b)];
    if (op === 'move') await page.mouse.move(...(await at(page, ...pointer)));
    if (op === 'down') await page.mouse.down();
    if (op === 'up') await page.mouse.up();
    if (op === 'frames') await run(page, Number(a));
    if (op === 'key' && a === 'f1') {
      // The options' button beside the canvas, full screen (the page's own
      // button), as the Linux replay's game is, whose options say so.
      options = !options;
      const fullScreen = async (on) => {
        if (await page.evaluate(() => !!document.fullscreenElement) === on) return;
        await page.click('#fullscreen');
        await page.waitForFunction((want) => !!document.fullscreenElement === want, on);
      };
      if (options) await fullScreen(true);
      await page.click('#options');
      await idle(page);
      if (!options) await fullScreen(false);
      await page.mouse.move(...(await at(page, ...pointer)));
    }
    if (op === 'expect') { const v = await state(page, a); check(v === Number(b), `${a} = ${b}` + (v === Number(b) ? '' : ` (${v})`)); }
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

// ---- The options ----------------------------------------------------------------
// The speaker mutes the game: the title's click is heard, the warning's
// start button's is not. The mute is kept in the page's storage: after a
// reload the title's click is silent until the speaker turns the sound on.
{
  const page = await open('');
  const heardAfterClick = async (x, y) => {
    await page.evaluate(() => { vedoTest.heard.peak = 0; });
    await page.mouse.click(...(await at(page, x, y)));
    await run(page, 30);
    await page.waitForTimeout(500);
    return page.evaluate(() => vedoTest.heard.peak);
  };
  const speaker = async (muted) => {
    await page.click('#speaker');
    await idle(page);
    return await page.getAttribute('#speaker', 'aria-pressed') === String(muted);
  };
  await run(page, 20);
  const unmuted = await heardAfterClick(320, 400);
  const muted = await speaker(true) && await heardAfterClick(150, 130) === 0;
  check(unmuted > 0 && muted && await state(page, 'gInTitle') === 0,
    `the speaker mutes the game (a click heard at ${unmuted} before, not after)`);
  await page.reload();
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  await run(page, 20);
  const kept = await page.getAttribute('#speaker', 'aria-pressed') === 'true' &&
    await heardAfterClick(320, 400) === 0;
  const again = await speaker(false) && await heardAfterClick(150, 130) > 0;
  check(kept && again, 'the mute holds over a reload, until the speaker turns the sound on');
  await page.evaluate(() => localStorage.removeItem('vedo-zeza1-settings'));
  await page.close();
}

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

// ---- A click with no time between press and release -----------------------------
// As a touchpad's tap-to-click sends it: the title is left and a cell attacked.
{
  const page = await open('');
  const click = async (x, y, frames) => {
    await page.mouse.click(...(await at(page, x, y)));
    await run(page, frames);
  };
  await run(page, 20);
  await click(320, 400, 15);
  check(await state(page, 'gWarningShown') === 1, 'a 0 ms click leaves the title');
  for (const [x, y] of [[150, 130], [456, 316], [456, 316]]) await click(x, y, 15);
  await click(100, 300, 3);
  check(await state(page, 'gEventOpen') === 1, 'a 0 ms click attacks a cell');
  await page.close();
}

// ---- Taps alone ------------------------------------------------------------------
// A phone held sideways, a tablet and a phone held upright, with touch
// events: the title, a normal game, both prologue pages, a finger held at
// the right edge scrolling the view and stopping when lifted, a tap on a
// hidden cell, the event window closed by its button, and a hint line after
// a tap on the opened number. Nothing zooms or scrolls the page.
for (const [width, height] of [[844, 390], [1024, 768], [390, 844]]) {
  const context = await browser.newContext({ viewport: { width, height }, hasTouch: true,
    isMobile: width < 900, serviceWorkers: 'block' });
  const page = await open('', context);
  const cdp = await context.newCDPSession(page);
  const touch = (type, [x, y] = []) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
  const tap = async (x, y, frames) => {
    await touch('touchStart', await at(page, x, y));
    await touch('touchEnd');
    await run(page, frames);
  };
  const where = `at ${width} x ${height}`;
  const layout = await page.evaluate(() => {
    const r = document.getElementById('screen').getBoundingClientRect();
    const l = document.querySelector('#corner a').getBoundingClientRect();
    return { r: r.toJSON(), l: l.toJSON(), turn: !document.getElementById('turn').hidden };
  });
  const { r, l } = layout;
  check(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height &&
    (width > height || (r.width === width && layout.turn)) &&
    (l.left >= r.right || l.top >= r.bottom), `${where} the whole frame shows, the licences beside it`);
  await run(page, 20);
  await tap(320, 400, 15);
  await tap(150, 130, 15);
  await tap(456, 316, 15);
  await tap(456, 316, 10);
  check(await state(page, 'gInTitle') === 0 && await state(page, 'gProloguePending') === 0,
    `${where} taps pass the title, the warning and both prologue pages`);
  // The right edge: the bar beside the frame, or the band inside its edge.
  await touch('touchStart', [r.right < width - 4 ? width - 2 : r.right - 4, r.top + r.height / 3]);
  await run(page, 5);
  const scrolled = await state(page, 'gViewCol');
  await touch('touchEnd');
  await run(page, 10);
  check(scrolled > 0 && await state(page, 'gViewCol') === scrolled && await state(page, 'gEventOpen') === 0,
    `${where} a finger at the right edge scrolls (to ${scrolled}), attacks nothing, and stops when lifted`);
  // A hidden cell with a number to show once opened, away from the edges.
  const [col, row] = await page.evaluate(() => {
    for (let y = 1; y < 8; ++y) {
      for (let x = 1; x < 15; ++x) {
        const c = x + vedoTest.state('gViewCol');
        const r = y + vedoTest.state('gViewRow');
        if (vedoTest.state('gObjectLayer', r, c) === 9 && vedoTest.state('gCountLayer', r, c) > 0) return [x, y];
      }
    }
    return [0, 0];
  });
  await tap(col * 40 + 20, row * 40 + 20, 10);
  check(await state(page, 'gEventOpen') === 1, `${where} a tap on a hidden cell opens the event window`);
  await tap(456, 256, 10);
  check(await state(page, 'gEventOpen') === 0, `${where} a tap on its button closes it`);
  const hint = () => page.evaluate(() => Array.from(document.getElementById('screen').getContext('2d')
    .getImageData(135, 372, 240, 80).data).join());
  const without = await hint();
  await tap(col * 40 + 20, row * 40 + 20, 3);
  await touch('touchStart', [r.left + r.width / 2, r.top + r.height / 3]);  // a swipe
  for (let i = 1; i <= 4; ++i) await touch('touchMove', [r.left + r.width / 2 - 20 * i, r.top + 30 * i]);
  await touch('touchEnd');
  check(await hint() !== without && await page.evaluate(() => visualViewport.scale === 1 &&
    scrollX === 0 && scrollY === 0), `${where} a tap on the number shows its hint lines; the page never moved`);
  await context.close();
}

// ---- The language ------------------------------------------------------------------
// The title as the Linux build draws it (the golden images of the suite):
// Korean without a choice; English after the switch, after a reload, and
// with "?lang=en"; Korean again after the switch.
{
  const golden = (name) => join(here, '../../tests/golden', name);
  const title = async (page, name) => {
    await run(page, 20);
    return (await sameFrame(page, golden(name))) === 0;
  };
  const reloaded = async (page, action) => {
    await Promise.all([page.waitForEvent('load'), action()]);
    await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  };
  const page = await open('');
  check(await title(page, 'title_picture.png') && await page.textContent('#language') === 'English',
    'without a choice the page plays in Korean and offers English beside the canvas');
  await reloaded(page, () => page.click('#language'));
  check(await title(page, 'english_title.png') && await page.textContent('#language') === '한국어',
    'the switch starts the game again in English');
  await reloaded(page, () => page.reload());
  check(await title(page, 'english_title.png'), 'the choice survives a reload');
  await reloaded(page, () => page.click('#language'));
  check(await title(page, 'title_picture.png'), 'the switch goes back to Korean');
  await page.close();
  const english = await open('&lang=en');
  check(await title(english, 'english_title.png'), '?lang=en plays in English');
  await english.evaluate(() => localStorage.removeItem('vedo-zeza1-settings'));
  await english.close();
}

// ---- A missing data file -----------------------------------------------------------
// The same start-up messages as on Linux: the message box in the page's
// panel, and the game ends, naming the file.
const kit = mkdtempSync(join(tmpdir(), 'vedo-kit-'));
execFileSync('tar', ['-xzf', join(site, PACK), '-C', kit]);
rmSync(join(kit, 'WEAPON.SPR'));
const lacking = execFileSync('tar', ['-czf', '-', '-C', kit, ...readdirSync(kit)],
  { maxBuffer: 1 << 26 });
rmSync(kit, { recursive: true, force: true });
{
  const broken = await desk.newPage();
  await broken.route('**/' + PACK, (route) => route.fulfill({ body: lacking }));
  await broken.goto(origin + 'index.html?test');
  await broken.waitForFunction(() => window.vedoTest && vedoTest.ended(), null, { timeout: 60000 });
  const told = await broken.textContent('#messages');
  check(told.includes('InitProgram(): Fail Get Sprite Num'),
    `without WEAPON.SPR the page shows the game's message box ("${told}")`);
  check((await broken.textContent('#ended')).includes('WEAPON.SPR is missing'), 'and names the file');
  await broken.close();
}

// ---- Failures and their retries ----------------------------------------------------
// Each failure is told in the panel, naming the file; the retry continues
// and the game starts. A stalled download continues from where it stopped.
for (const [file, fault] of [
  ['vedo-zeza1.wasm.gz', (route) => route.fulfill({ status: 404 })],
  ['vedo-zeza1.wasm.gz', (route) => route.fulfill({ body: 'not WebAssembly' })],
  ['vedo-zeza1.js', (route) => route.fulfill({ status: 404 })],
  [PACK, (route) => route.fulfill({ status: 404 })],
  [PACK, (route) => route.fulfill({ body: lacking.subarray(0, 100000) })],
  [PACK, (route) => route.abort('connectionreset')],
  [PACK, 'stall'],
]) {
  const page = await desk.newPage();
  if (fault === 'stall') stall.add(file);
  else await page.route('**/' + file, fault, { times: 1 });
  await page.goto(origin + 'index.html?test');
  await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
  const told = await page.textContent('#problem [lang=en]');
  await page.click('#retry');
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  const resumed = fault !== 'stall' || asked.includes(`${file} from ${statSync(join(site, file)).size >> 1}`);
  check(told.includes(file) && resumed, `"${told}"; the retry continues`);
  await page.close();
}
await desk.close();

// ---- Firefox -----------------------------------------------------------------------
// Debian's Firefox ESR through WebDriver BiDi: the title, and the first
// click leaves it.
{
  const firefox = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    headless: true });
  const page = await firefox.newPage();
  await page.goto(origin + 'index.html?test');
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), { timeout: 60000 });
  const runFox = (n) => page.evaluate((k) => vedoTest.run(k), n)
    .then(() => page.waitForFunction(() => vedoTest.idle(), { timeout: 60000 }));
  await runFox(20);
  await page.mouse.click(...(await at(page, 320, 400)));
  await runFox(5);
  check(await page.evaluate(() => vedoTest.state('gWarningShown')) === 1,
    'Firefox ESR shows the title and its first click leaves it');
  await firefox.close();
}

// ---- Offline, a new version, installable ----------------------------------------------
// In a profile of its own: Chromium installs nothing from a private one.
{
  const profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
  const context = await chromium.launchPersistentContext(profile, { executablePath: '/usr/bin/chromium',
    headless: true, args: ['--no-sandbox', '--disable-gpu', '--no-first-run'] });
  const page = await open('', context);
  await run(page, 1);
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 60000 });
  const cdp = await context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0,
    `Chromium finds the page installable (${JSON.stringify(installabilityErrors)})`);
  const port = server.address().port;
  server.close();
  server.closeAllConnections();
  await page.reload().catch(() => {});
  check(await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 })
    .then(() => true, () => false), 'with the server stopped, a reload starts the game');
  await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
  swVersion = 'next';
  await page.reload();
  let kept = [];
  for (let i = 0; i < 120 && kept.join() !== 'vedo-zeza1-next'; ++i) {
    await page.waitForTimeout(500);
    kept = await page.evaluate(() => caches.keys());
  }
  check(kept.join() === 'vedo-zeza1-next', `a new version replaces the offline copy (${kept})`);
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}

check(refused === 0, `the pages ran within their Content-Security-Policy (${refused} refusals)`);
await browser.close();
server.close();
server.closeAllConnections();
console.log(failures === 0 ? 'All browser checks passed.' : `${failures} browser checks failed.`);
process.exit(failures === 0 ? 0 : 1);
