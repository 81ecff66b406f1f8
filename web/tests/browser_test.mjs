// The browser build in a real Chromium, on a static server at 127.0.0.1
// that hosts the site under a sub-path.
//
//   node browser_test.mjs SITE REFERENCE_DIR
//
// REFERENCE_DIR holds the frames vedo-replay (the Linux build) rendered from
// walk.vrs. The page is driven through the same script with real mouse
// events, pass by pass through its test hook, and its canvas must equal each
// frame exactly, and the sound started by the clicks is heard. Then: hiding
// the tab freezes the game and showing it resumes it; Escape asks, then
// ends the game and the page offers a restart, and that game's recording
// is saved and a Linux one watched in the canvas; on a page started in the
// ending, the music is heard, with and without an audio worklet, and a
// hidden tab silences it; the button beside the canvas shows the game's
// options, the speaker mutes it and the mute holds over a reload; a game is
// played by fingers on a phone held either way and on a tablet (taps, rests,
// drags, a second finger, every cell of the view's outer ring); a click with
// no time between press and release counts; the page plays in English when
// asked, by its address or by the switch beside the canvas (which asks
// during a game), and keeps the choice over a reload; the title's picture
// comes before the data, and a click on it counts; each failure is told and
// its retry continues; the page works offline, takes a new version and is
// installable; and Firefox and WebKitGTK play the title and the field.
import { execFileSync, spawn } from 'node:child_process';
import { copyFileSync, readFileSync, readdirSync, statSync, mkdtempSync, rmSync } from 'node:fs';
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
const served = [];  // the names asked for, in order
let swVersion = null;  // a new version's service worker, when set
const server = createServer((req, res) => {
  const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).slice(BASE.length);
  try {
    const file = statSync(join(site, name)).isDirectory() ? join(site, name, 'index.html') : join(site, name);
    let body = readFileSync(file);
    if (name === 'sw.js' && swVersion) body = Buffer.from(String(body).replace(/VERSION = '[^']*'/, `VERSION = '${swVersion}'`));
    const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream' };
    const from = Number((/^bytes=(\d+)-$/.exec(req.headers.range || '') || [])[1] || 0);
    served.push(name);
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
// The same server under a name that is not this machine's: a plain HTTP
// page there is not a secure one, and has no audio worklet.
const plainOrigin = `http://vedo.test:${server.address().port}${BASE}`;

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--autoplay-policy=no-user-gesture-required', '--host-resolver-rules=MAP vedo.test 127.0.0.1'],
});
// The frame at twice its size. Service workers would answer requests from
// their copy, so only the offline checks have one.
const desk = await browser.newContext({ viewport: { width: 1280, height: 960 }, serviceWorkers: 'block' });

let refused = 0;  // what the page's Content-Security-Policy refused
async function open(query, context = desk, from = origin) {
  const page = await context.newPage();
  page.on('console', (m) => {
    if (m.text().includes('Content Security Policy')) refused++;
    console.log('  page: ' + m.text());
  });
  page.on('pageerror', (e) => console.log('  page error: ' + e));
  await page.goto(from + 'index.html?test' + query);
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
    if (op === 'down') await page.mouse.down();
    if (op === 'up') await page.mouse.up();
    if (op === 'frames') await run(page, Number(a));
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

// A quiet game lets its audio rest after 2 s; a sound that starts with no
// click (the prologue's, at its first pass) wakes it and is heard.
{
  const page = await open('&set=gInTitle=0');
  await page.keyboard.press('Shift');
  const audioState = (want) => page.waitForFunction((w) => vedoTest.audioState() === w, want, { timeout: 8000 })
    .then(() => true, () => false);
  const rested = await audioState('running') && await audioState('suspended');
  await page.evaluate(() => { vedoTest.heard.peak = 0; });
  await run(page, 5);
  await page.waitForFunction(() => vedoTest.heard.peak > 0, null, { timeout: 5000 }).catch(() => {});
  const peak = await page.evaluate(() => vedoTest.heard.peak);
  check(rested && peak > 0, `a quiet game's audio rests (${rested}); the prologue's sound wakes it (peak ${peak})`);
  await page.close();
}

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
  // What the output had already queued may still play after the mute: the
  // muted click is judged once that has drained.
  const drained = async () => {
    for (let tries = 0; tries < 20; tries++) {
      await page.evaluate(() => { vedoTest.heard.peak = 0; });
      await page.waitForTimeout(250);
      if (await page.evaluate(() => vedoTest.heard.peak) === 0) return true;
    }
    return false;
  };
  await run(page, 20);
  const unmuted = await heardAfterClick(320, 400);
  const muted = await speaker(true) && await drained() && await heardAfterClick(150, 130) === 0;
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
const setHidden = (on, hidden) => on.evaluate((h) => {
  Object.defineProperty(document, 'hidden', { value: h, configurable: true });
  Object.defineProperty(document, 'visibilityState', { value: h ? 'hidden' : 'visible', configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
}, hidden);
await page.evaluate(() => vedoTest.run(1000000));
await page.waitForTimeout(300);
await setHidden(page, true);
await page.waitForTimeout(300);
const hiddenFrom = await page.evaluate(() => vedoTest.passes());
await page.waitForTimeout(1000);
const hiddenTo = await page.evaluate(() => vedoTest.passes());
check(hiddenTo === hiddenFrom, `a hidden tab freezes the game (${hiddenTo - hiddenFrom} passes)`);
await setHidden(page, false);
await page.waitForTimeout(1000);
const shown = await page.evaluate(() => vedoTest.passes());
check(shown > hiddenTo, `showing it resumes the game (${shown - hiddenTo} passes)`);

// ---- Escape -------------------------------------------------------------------------
// It asks first: "No" plays on, "Yes" ends the game.
await page.keyboard.press('Escape');
const askedFirst = await page.isVisible('#ask');
await page.click('#ask-no');
await page.waitForTimeout(300);
const kept = !(await page.evaluate(() => vedoTest.ended()));
await page.keyboard.press('Escape');
await page.click('#ask-yes');
await page.waitForFunction(() => vedoTest.ended(), null, { timeout: 10000 });
check(askedFirst && kept && await page.isVisible('#ended button'),
  'Escape asks; "No" plays on, "Yes" ends the game and the page offers a restart');

// ---- Recordings ------------------------------------------------------------------------
// The game just ended was kept: "Save the recording" downloads it
// (VEDO_MAKE_RECORDINGS=DIR keeps it there as page-walk.vzr, as
// tests/recordings/README.md says). "Watch a recording" plays one made in
// the Linux window in the canvas, to its digest.
const downloaded = page.waitForEvent('download');
await page.click('#save-recording');
const recording = await (await downloaded).path();
const recorded = readFileSync(recording);
check(recorded.subarray(0, 4).toString() === 'VZRC',
  `"Save the recording" downloads the game's recording (${recorded.length} bytes)`);
if (process.env.VEDO_MAKE_RECORDINGS) {
  copyFileSync(recording, join(process.env.VEDO_MAKE_RECORDINGS, 'page-walk.vzr'));
}
await page.close();
const watching = await open('');
await Promise.all([watching.waitForEvent('load'),
  watching.setInputFiles('#watch-file', join(here, '../../tests/recordings/linux-hard.vzr'))]);
await idle(watching);
await watching.evaluate(() => vedoTest.run(100000));
const watched = await watching.waitForFunction(
  () => /recording: (.*)/.exec(document.getElementById('messages').textContent)?.[1], null,
  { timeout: 60000 }).then((line) => line.jsonValue()).catch((e) => e.message);
check(watched.includes('came out as recorded'), `"Watch a recording" plays it in the canvas: ${watched}`);
await watching.close();

// ---- Music ----------------------------------------------------------------------------
// Heard through the audio worklet, and, where a page has none (plain HTTP
// from another address), through the same player on the page's thread.
const endingMusic = async (from) => {
  const page = await open('&set=gInTitle=0,gProloguePending=0,gEnding=1', desk, from);
  await page.mouse.click(640, 480);  // sound starts on a click
  await page.waitForFunction(() => vedoTest.synthReady(), null, { timeout: 60000 });
  await page.evaluate(() => vedoTest.run(100000));
  await page.waitForFunction(() => vedoTest.heard.peak > 1000, null, { timeout: 20000 }).catch(() => {});
  return [page, await page.evaluate(() => vedoTest.heard.peak)];
};
{
  const [plain, peak] = await endingMusic(plainOrigin);
  const insecure = await plain.evaluate(() => !isSecureContext && !('audioWorklet' in BaseAudioContext.prototype));
  check(insecure && peak > 1000,
    `on plain HTTP from another address (no audio worklet: ${insecure}) the ending's music is heard (peak ${peak})`);
  await plain.close();
}
const [ending, peak] = await endingMusic();
check(peak > 1000, `the ending's music is heard (peak ${peak})`);
// A hidden tab suspends the sound within a second; shown again, it plays.
{
  const heard = () => ending.evaluate(() => [vedoTest.audioState(), vedoTest.heard.frames]);
  await setHidden(ending, true);
  await ending.waitForTimeout(1000);
  const [state, from] = await heard();
  await ending.waitForTimeout(500);
  const [, to] = await heard();
  await ending.evaluate(() => { vedoTest.heard.peak = 0; });
  await setHidden(ending, false);
  await ending.waitForFunction(() => vedoTest.heard.peak > 1000, null, { timeout: 10000 }).catch(() => {});
  const again = await ending.evaluate(() => vedoTest.heard.peak);
  check(state === 'suspended' && to === from && again > 1000,
    `hidden, the output is ${state} and silent (${to - from} frames in 0.5 s); shown, the music plays (peak ${again})`);
}
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

// ---- Fingers ---------------------------------------------------------------------
// A phone held sideways, a tablet and a phone held upright, with touch
// events: the title, a normal game, both prologue pages, a finger resting
// in the right edge band scrolling the view and stopping when lifted, a tap
// on a hidden cell, the event window closed by its button, and a hint line
// after a tap on the opened number. Nothing zooms or scrolls the page. On
// the phones besides: a finger resting outside the frame scrolls nothing
// while a second finger's tap opens a cell; a drag moves the view and opens
// nothing; and with the view at each corner of the map, a tap opens every
// cell of the view's outer ring (health and files kept up meanwhile, so
// that the game goes on, and each window closed by the test).
const HOLD = 450;  // past the page's HOLD_MS: a finger at rest
for (const [width, height] of [[844, 390], [1024, 768], [390, 844]]) {
  const context = await browser.newContext({ viewport: { width, height }, hasTouch: true,
    isMobile: width < 900, serviceWorkers: 'block' });
  const page = await open('', context);
  const cdp = await context.newCDPSession(page);
  // Fingers [x, y, id = 0]: those put down or moved, or lifted (touchEnd;
  // all of them when none is named).
  const fingers = (type, ...points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map(([x, y, id = 0]) => ({ x, y, id })) });
  const touch = (type, point) => fingers(type, ...(type === 'touchEnd' ? [] : [point]));
  const view = async () => [await state(page, 'gViewCol'), await state(page, 'gViewRow')];
  // A finger rests at [x, y] for `frames` passes and lifts.
  const rest = async (point, frames) => {
    await touch('touchStart', point);
    await page.waitForTimeout(HOLD);
    await run(page, frames);
    await touch('touchEnd');
    await run(page, 2);
  };
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
  // The right edge band, inside the frame.
  await rest([r.right - 4, r.top + r.height / 3], 5);
  const scrolled = await state(page, 'gViewCol');
  await run(page, 10);
  check(scrolled > 0 && await state(page, 'gViewCol') === scrolled && await state(page, 'gEventOpen') === 0,
    `${where} a finger resting at the right edge scrolls (to ${scrolled}), attacks nothing, and stops when lifted`);
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
  if (width < 900) await phone(page, fingers, touch, rest, view, r, where);
  await context.close();
}

// The phone's checks of the fingers, on a game in the field.
async function phone(page, fingers, touch, rest, view, r, where) {
  await run(page, 10);
  const hidden = (code) => code !== 0 && code < 12;
  const cellAt = ([c, w], x, y) => page.evaluate(([row, col]) => vedoTest.state('gObjectLayer', row, col), [w + y, c + x]);
  const opened = () => page.evaluate(() => {
    let n = 0;
    for (let row = 0; row < 18; ++row) {
      for (let col = 0; col < 25; ++col) {
        const code = vedoTest.state('gObjectLayer', row, col);
        n += code === 0 || code >= 12;
      }
    }
    return n;
  });
  const closeWindow = async () => {
    if (await state(page, 'gEventOpen') !== 1) return;
    await fingers('touchStart', await at(page, 456, 256));
    await fingers('touchEnd');
    await run(page, 8);
  };
  // A finger resting outside the frame, and a second finger's tap.
  const upright = page.viewportSize().height > page.viewportSize().width;
  const outside = upright ? [r.left + r.width / 2, r.bottom + 60] : [r.left / 2, r.top + r.height / 2];
  const before = await view();
  const [c, w] = before;
  let target = null;
  for (let y = 1; y < 8 && !target; ++y) for (let x = 1; x < 15 && !target; ++x) if (hidden(await cellAt(before, x, y))) target = [x, y];
  await fingers('touchStart', outside);
  await page.waitForTimeout(HOLD);
  await run(page, 10);
  const still = (await view()).join() === before.join();
  const tapped = [...await at(page, target[0] * 40 + 20, target[1] * 40 + 20), 1];
  await fingers('touchStart', outside, tapped);
  await fingers('touchEnd', tapped);
  await run(page, 8);
  const second = !hidden(await cellAt(before, ...target)) && await state(page, 'gEventOpen') === 1;
  await fingers('touchEnd');
  await run(page, 2);
  await closeWindow();
  check(still && second, `${where} a finger resting ${upright ? 'below the frame' : 'on a side bar'} scrolls nothing (view ${before} to ${await view()}); a second finger's tap opens a cell`);
  // A drag from the middle, up and to the left: the view follows the finger.
  await rest([r.left + 12, r.top + 12], 15);
  const openedBefore = await opened();
  await touch('touchStart', [r.left + r.width / 2, r.top + r.height / 3]);
  for (let i = 1; i <= 6; ++i) await touch('touchMove', [r.left + r.width / 2 - 20 * i, r.top + r.height / 3 - 8 * i]);
  await touch('touchEnd');
  await run(page, 12);
  const dragged = await view();
  check(dragged[0] > 0 && dragged[1] > 0 && await opened() === openedBefore && await state(page, 'gEventOpen') === 0,
    `${where} a drag up and to the left moves the view right and down (to ${dragged}) and opens nothing`);
  // The outer ring at each corner, the view taken there by a finger resting
  // in the corner's bands (away from the page's buttons, which a finger
  // near them would hit).
  for (const [name, corner] of [['top left', [r.left + 12, r.top + 12]], ['top right', [r.right - 12, r.top + 12]],
    ['bottom right', [r.right - 12, r.bottom - 12]], ['bottom left', [r.left + 12, r.bottom - 12]]]) {
    await rest(corner, 25);
    const v = await view();
    let ring = 0;
    let reached = 0;
    let attacked = 0;
    for (let y = 0; y < 9; ++y) {
      for (let x = 0; x < 16; ++x) {
        if (y > 0 && y < 8 && x > 0 && x < 15) continue;
        ++ring;
        // The cell's code, the window and the pointer's cell; the last
        // window closed at once, health and files kept up.
        const probe = () => page.evaluate(([row, col]) => [vedoTest.state('gObjectLayer', row, col),
          vedoTest.state('gEventOpen'), Math.floor(vedoTest.state('gMouseX') / 40), Math.floor(vedoTest.state('gMouseY') / 40)],
        [v[1] + y, v[0] + x]);
        await page.evaluate(() => vedoTest.set('gHealth=100,gFilesLeft=9,gRocketTimer=0,gEventOpen=0'));
        const [was] = await probe();
        await fingers('touchStart', await at(page, x * 40 + 20, y * 40 + 20));
        await fingers('touchEnd');
        await run(page, 8);
        const [is, open, px, py] = await probe();
        if (hidden(was)) {
          ++attacked;
          if (!hidden(is) && open === 1) ++reached;
        } else if (px === x && py === y) {
          ++reached;
        }
      }
    }
    await closeWindow();
    check(reached === ring && (await view()).join() === v.join(),
      `${where} view at the ${name} corner (${v}): a tap reaches every cell of the outer ring (${reached} of ${ring}, ${attacked} hidden ones opened)`);
  }
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
  const unknown = await open('&lang=xx');
  check(!(await unknown.evaluate(() => localStorage.getItem('vedo-zeza1-settings') || '')).includes('xx'),
    'an unknown ?lang= is not kept for the next visit');
  await unknown.close();
  // During a game the switch asks first; "No" plays on.
  const playing = await open('&set=gInTitle=0,gProloguePending=0');
  await run(playing, 5);
  await playing.click('#language');
  const asks = await playing.isVisible('#ask');
  await playing.click('#ask-no');
  await run(playing, 5);
  check(asks && await state(playing, 'gInTitle') === 0 && await playing.textContent('#language') === 'English',
    'during a game the language switch asks before it starts again, and "No" plays on');
  // The licences open beside the game, in a tab of their own.
  const [licences] = await Promise.all([desk.waitForEvent('page'), playing.click('#corner a')]);
  await licences.waitForLoadState();
  check(licences.url().endsWith('/licences/') && !(await playing.evaluate(() => vedoTest.ended())),
    'the licences open in a new tab, and the game plays on');
  await licences.close();
  await playing.close();
}

// ---- The title first ---------------------------------------------------------------
// The title's picture shows, with the bar over it, while the data kit is
// still on its way; a click made then leads to the warning screen once the
// game runs. Without DecompressionStream (an older browser) the packs are
// unpacked all the same; without WebAssembly the panel says what is
// missing. Without JavaScript only the note saying so shows.
{
  const page = await desk.newPage();
  let release = null;
  const held = new Promise((resolve) => { release = resolve; });
  await page.route('**/' + PACK, async (route) => {
    await held;
    await route.continue();
  });
  await page.goto(origin + 'index.html?test');
  await page.waitForFunction(() => vedoFigures.figures.firstFrameMs >= 0, null, { timeout: 60000 });
  const picture = await sameFrame(page, join(here, '../../tests/golden/title_picture.png'));
  const bar = await page.isVisible('#loading');
  await page.mouse.click(...(await at(page, 320, 400)));
  release();
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  await run(page, 20);
  check(picture === 0 && bar && await state(page, 'gWarningShown') === 1,
    `before the data kit, the title's picture (${picture} pixels differ) with the bar over it; a click then leads to the warning screen`);
  await page.close();
  const older = await desk.newPage();
  await older.addInitScript(() => { delete window.DecompressionStream; });
  await older.goto(origin + 'index.html?test');
  await older.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  await run(older, 20);
  check(await sameFrame(older, join(here, '../../tests/golden/title_picture.png')) === 0,
    'without DecompressionStream the game reaches its title');
  await older.close();
  const oldest = await desk.newPage();
  await oldest.addInitScript(() => { delete window.WebAssembly; });
  await oldest.goto(origin + 'index.html?test');
  await oldest.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
  check((await oldest.textContent('#problem [lang=en]')).includes('cannot run WebAssembly'),
    'without WebAssembly the panel says so');
  await oldest.close();
  const plain = await browser.newContext({ javaScriptEnabled: false });
  const noScript = await plain.newPage();
  await noScript.goto(origin + 'index.html');
  const shown = await noScript.evaluate(() => [...document.querySelectorAll('body *')]
    .filter((e) => e.getClientRects().length && !e.closest('noscript')).map((e) => e.id || e.tagName));
  check(shown.length === 0 && await noScript.isVisible('noscript .panel'),
    `without JavaScript only the note shows (besides it: ${shown.join() || 'nothing'})`);
  await plain.close();
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

// A title pack without the title's picture and a data kit without the
// warning's: the game plays, and a note names each.
{
  const folder = mkdtempSync(join(tmpdir(), 'vedo-kit-'));
  execFileSync('tar', ['-xzf', join(site, PACK), '-C', folder]);
  rmSync(join(folder, 'warning.bmp'));
  const noWarning = execFileSync('tar', ['-czf', '-', '-C', folder, ...readdirSync(folder)], { maxBuffer: 1 << 26 });
  const noTitle = execFileSync('tar', ['-czf', '-', '-C', folder, 'start.wav']);
  rmSync(folder, { recursive: true, force: true });
  const page = await desk.newPage();
  await page.route('**/' + PACK, (route) => route.fulfill({ body: noWarning }));
  await page.route('**/title.pack', (route) => route.fulfill({ body: noTitle }));
  await page.goto(origin + 'index.html?test');
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  const told = await page.textContent('#messages');
  check(told.includes('Title.bmp is missing') && told.includes('warning.bmp is missing'),
    `without Title.bmp and warning.bmp the page names them ("${told}")`);
  await page.close();
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
    `Firefox ESR shows the title and its first click leaves it (WebAssembly compiled in the ` +
    `${await page.evaluate(() => vedoFigures.figures.wasmCompiledIn)})`);
  await firefox.close();
}

// ---- WebKit -------------------------------------------------------------------------
// Debian's WebKitGTK (Safari's engine) through WebKitWebDriver, its
// MiniBrowser on an Xvfb screen of the test's own: the title, a click that
// leaves it, and the field, where a click attacks a cell.
{
  const began = Date.now();
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((resolve) => xvfb.stdio[3].once('data', (d) => resolve(String(d).trim())));
  const port = await new Promise((resolve) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const { port: free } = probe.address();
      probe.close(() => resolve(free));
    });
  });
  const driver = spawn('WebKitWebDriver', [`--port=${port}`],
    { env: { ...process.env, DISPLAY: ':' + display }, stdio: 'ignore' });
  const wd = async (method, path, body) => {
    const r = await fetch(`http://127.0.0.1:${port}${path}`, { method, body: body && JSON.stringify(body),
      headers: { 'Content-Type': 'application/json' } });
    const { value } = await r.json();
    if (value && value.error) throw new Error(`${path}: ${value.message}`);
    return value;
  };
  try {
    for (let i = 0; i < 100; ++i) {
      if (await wd('GET', '/status').then((v) => v.ready, () => false)) break;
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const { sessionId } = await wd('POST', '/session', { capabilities: { alwaysMatch: {
      'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
        args: ['--automation'] } } } });
    const s = `/session/${sessionId}`;
    const js = (script, ...args) => wd('POST', `${s}/execute/sync`, { script, args });
    const until = async (script) => {
      for (let i = 0; i < 600 && !(await js(script)); ++i) await new Promise((resolve) => setTimeout(resolve, 100));
    };
    const passes = async (n) => {
      await js('vedoTest.run(arguments[0])', n);
      await until('return vedoTest.idle()');
    };
    const click = async (x, y, n) => {
      const [cx, cy] = await js(`const r = document.getElementById('screen').getBoundingClientRect();
        return [Math.round(r.left + (arguments[0] + 0.5) * r.width / 640), Math.round(r.top + (arguments[1] + 0.5) * r.height / 480)];`, x, y);
      await wd('POST', `${s}/actions`, { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' },
        actions: [{ type: 'pointerMove', x: cx, y: cy, origin: 'viewport' }, { type: 'pointerDown', button: 0 },
          { type: 'pause', duration: 50 }, { type: 'pointerUp', button: 0 }] }] });
      await passes(n);
    };
    const state = (name) => js('return vedoTest.state(arguments[0])', name);
    await wd('POST', `${s}/url`, { url: origin + 'index.html?test' });
    await until('return !!(window.vedoTest && vedoTest.idle())');
    await passes(20);
    const title = await state('gInTitle') === 1 && await js('return vedoFigures.figures.firstFrameMs') > 0;
    const compiledIn = await js('return vedoFigures.figures.wasmCompiledIn');
    await click(320, 400, 15);
    const left = await state('gWarningShown') === 1;
    for (const [x, y] of [[150, 130], [456, 316], [456, 316]]) await click(x, y, 15);
    const field = await state('gInTitle') === 0 && await state('gProloguePending') === 0;
    await click(100, 300, 5);
    check(title && left && field && await state('gEventOpen') === 1,
      `WebKitGTK shows the title (${title}), a click leaves it (${left}), the field (${field}) takes a click on a cell ` +
      `(${((Date.now() - began) / 1000).toFixed(1)} s with its start; WebAssembly compiled in the ${compiledIn})`);
    await wd('DELETE', s);
  } catch (e) {
    check(false, `WebKitGTK plays the page (${e.message})`);
  } finally {
    driver.kill();
    xvfb.kill();
  }
}

// ---- Offline, a new version, installable ----------------------------------------------
// In a profile of its own: Chromium installs nothing from a private one.
// The service worker starts its copy only after the game's own downloads,
// the music's included, and copies no language pack until a page plays in
// that language; the licences work offline too.
{
  const profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
  const context = await chromium.launchPersistentContext(profile, { executablePath: '/usr/bin/chromium',
    headless: true, args: ['--no-sandbox', '--disable-gpu', '--no-first-run'] });
  served.length = 0;
  const page = await open('', context);
  await run(page, 1);
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 60000 });
  const worker = served.indexOf('sw.js');
  check(worker > served.indexOf(PACK) && worker > served.indexOf('TimGM6mb.sf2') && !served.includes('lang-en.pack'),
    `the offline copy starts after the game's downloads (request ${worker} of ${served.length}) and leaves out the English pack`);
  await Promise.all([page.waitForEvent('load'), page.click('#language')]);
  await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 });
  await run(page, 1);  // the game's first frame links the manifest
  let english = false;
  for (let i = 0; i < 60 && !english; ++i) {
    await page.waitForTimeout(500);
    english = await page.evaluate(async () => !!(await caches.match('lang-en.pack')) && !!(await caches.match('title-en.pack')));
  }
  check(english, 'choosing English keeps its packs in the offline copy');
  const cdp = await context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0,
    `Chromium finds the page installable (${JSON.stringify(installabilityErrors)})`);
  const port = server.address().port;
  server.close();
  server.closeAllConnections();
  await page.reload().catch(() => {});
  check(await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 60000 })
    .then(() => true, () => false), 'with the server stopped, a reload starts the game (in English)');
  await page.evaluate(() => localStorage.removeItem('vedo-zeza1-settings'));
  const licences = await context.newPage();
  await licences.goto(origin + 'licences/').catch(() => {});
  check((await licences.textContent('h1').catch(() => '')).includes('ships from others'), 'the licences open offline');
  await licences.close();
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
