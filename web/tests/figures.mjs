// The page's figures in Chromium (see web/measure.sh), without the test
// hook: the field at its own pace; or, with "network", the start over
// Chromium's emulation of a home connection, the first visit and the
// repeat visit (from the offline copy); with "still", the processor time of
// Chromium's processes at the still title (with "clicked", at the warning
// after a click); with "longtasks", the page's long tasks over a whole game
// and the ending's music, through the test
// hook, at the machine's speed and with the processor slowed 4 times, and
// with "trace" what Chromium's trace says of them (tracedTasks below);
// "slowed" only slowed. The long tasks and the still screen are measured in
// a browser driven through its DevTools pipe alone (bareChromium below);
// "playwright" has Playwright drive it, as the other modes do.
import { readFileSync, readdirSync, statSync, mkdtempSync, rmSync } from 'node:fs';
import { spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const [site, mode] = process.argv.slice(2);
const tracing = process.argv.includes('trace');
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
const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
// A browser with a profile of its own, as a first visitor's.
let profile = '';
const launch = () => {
  profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
  return chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1280, height: 960 },
    args: CHROMIUM_ARGS,
  });
};
// The browser of the still screen and the long tasks (bareChromium below).
const measuringBrowser = () => (process.argv.includes('playwright') ? launch() : bareChromium());

if (mode === 'network') {
  for (const [mbits, latency] of [[10, 40], [10, 40], [10, 40], [3, 150], [3, 150], [3, 150]]) {
    const browser = await launch();
    const page = await browser.newPage();
    const cdp = await browser.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await cdp.send('Network.emulateNetworkConditions', { offline: false, latency,
      downloadThroughput: (mbits * 1e6) / 8, uploadThroughput: (mbits * 1e6) / 8 });
    // What arrived, the page's worker's downloads among them (they are not
    // in the page's own resource timings): when its last byte came, by the
    // browser's clock, and the bytes of its body as it crossed (none from
    // the offline copy).
    let arrived = [];
    page.on('requestfinished', async (r) => {
      const { startTime, responseEnd } = r.timing();
      const bytes = await r.sizes().then((z) => Math.max(z.responseBodySize, 0), () => 0);
      arrived.push({ at: startTime + responseEnd, name: r.url().replace(/.*\//, ''), bytes });
    });
    const start = async (visit) => {
      await page.waitForFunction(() => window.vedoFigures && vedoFigures.figures.firstFrameMs >= 0,
        null, { timeout: 120000 });
      await page.waitForFunction(() => vedoFigures.figures.gameFrameMs >= 0, null, { timeout: 120000 });
      const f = await page.evaluate(() => {
        const paint = performance.getEntriesByName('first-contentful-paint')[0];
        return { title: vedoFigures.figures.firstFrameMs, at: performance.timeOrigin + vedoFigures.figures.firstFrameMs,
          game: vedoFigures.figures.gameFrameMs, bar: paint ? paint.startTime : -1 };
      });
      const before = arrived.filter((e) => e.at <= f.at);
      f.bytes = before.reduce((n, e) => n + e.bytes, 0);
      f.names = before.map((e) => e.name.replace(/\?.*/, ''));
      console.log(`${mbits} Mbit/s, ${latency} ms, ${visit}: loading bar at ${f.bar.toFixed(0)} ms, ` +
        `title's picture at ${f.title.toFixed(0)} ms, ${(f.bytes / 1e3).toFixed(1)} kB before it ` +
        `(${f.names.join(' ')}), the game's title at ${f.game.toFixed(0)} ms`);
    };
    await page.goto(origin);
    await start('first visit');
    await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 300000 });
    const f = await page.evaluate(() => vedoFigures.figures);
    console.log(`  the music's synthesizer ready at ${f.soundfontReadyMs.toFixed(0)} ms; longest gap ` +
      `between frames ${f.longestGapMs.toFixed(0)} ms, ending at ${f.longestGapEndMs.toFixed(0)} ms`);
    served = 0;
    arrived = [];
    await page.reload();
    await start('repeat visit');
    console.log(`  bytes from the server on the repeat visit: ${served}`);
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
  server.close();
  process.exit(0);
}

// The processor time, in clock ticks, of the browser's processes by their
// type (renderer, gpu-process, utility...): those started for `profile`.
// Chromium's child processes write their whole command line into their
// first argument.
function processTicks() {
  const byType = {};
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    let args;
    let stat;
    try {
      args = readFileSync(`/proc/${pid}/cmdline`, 'utf8').split(/[\0 ]/);
      stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
    } catch {
      continue;
    }
    if (!args.includes(`--user-data-dir=${profile}`)) continue;
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    const type = (args.find((a) => a.startsWith('--type=')) || '--type=browser').slice(7);
    const sub = (args.find((a) => a.startsWith('--utility-sub-type=')) || '').replace(/.*\./, '');
    const key = sub ? `${type} (${sub})` : type;
    byType[key] = (byType[key] || 0) + Number(fields[11]) + Number(fields[12]);
  }
  return byType;
}

if (mode === 'still') {
  const browser = await measuringBrowser();
  const page = await browser.newPage();
  await page.goto(origin);
  // (An older page, without the title's picture first, counts its first frame.)
  await page.waitForFunction(() => (vedoFigures.figures.gameFrameMs ?? vedoFigures.figures.firstFrameMs) >= 0,
    null, { timeout: 60000 });
  // With "clicked", the still screen after the title's click: the warning,
  // the sound started and its click heard.
  const clicked = process.argv.includes('clicked');
  if (clicked) await page.mouse.click(600, 400);
  await page.waitForTimeout(clicked ? 5000 : 2000);
  const before = processTicks();
  const drawn = await page.evaluate(() => [vedoFigures.figures.frames, vedoFigures.figures.framesDrawn]);
  await page.waitForTimeout(10000);
  const after = processTicks();
  const drawnAfter = await page.evaluate(() => [vedoFigures.figures.frames, vedoFigures.figures.framesDrawn]);
  console.log(`${clicked ? 'still warning, after a click' : 'still title'}, 10 s: ${drawnAfter[0] - drawn[0]} passes, ${drawnAfter[1] - drawn[1]} frames put on the canvas`);
  for (const type of Object.keys(after).sort()) {
    const ticks = after[type] - (before[type] || 0);
    console.log(`  ${type.padEnd(36)} ${(ticks / 100).toFixed(2)} s, ${ticks / 10} % of a core`);
  }
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
  process.exit(0);
}

// Chromium driven through its DevTools pipe, with only what the figures
// need: Playwright turns on DevTools' runtime, network and page
// reports, and every stack those capture has V8 read the script's source
// again for its positions. The program's script is one function of 90 kB,
// so at 4x each capture inside its start added 20 to 30 ms to that task:
// a cost no player's browser has. This gives the same calls the measuring
// below makes of a Playwright page, and nothing else.
async function bareChromium() {
  profile = mkdtempSync(join(tmpdir(), 'vedo-chromium-'));
  const proc = spawn('/usr/bin/chromium', ['--headless', ...CHROMIUM_ARGS,
    '--remote-debugging-pipe', '--window-size=1280,960', `--user-data-dir=${profile}`, 'about:blank'],
  { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const [toBrowser, fromBrowser] = [proc.stdio[3], proc.stdio[4]];
  let last = 0;
  let pending = '';
  const replies = new Map();
  const listeners = [];
  fromBrowser.setEncoding('utf8');
  fromBrowser.on('data', (chunk) => {
    pending += chunk;
    for (let end; (end = pending.indexOf('\0')) >= 0; pending = pending.slice(end + 1)) {
      const message = JSON.parse(pending.slice(0, end));
      if (message.id) {
        const [resolve, reject] = replies.get(message.id);
        replies.delete(message.id);
        if (message.error) reject(new Error(message.error.message));
        else resolve(message.result);
      } else {
        for (const l of listeners.filter((x) => x.method === message.method && x.session === message.sessionId)) {
          listeners.splice(listeners.indexOf(l), 1);
          l.resolve(message.params);
        }
      }
    }
  });
  const send = (method, params = {}, sessionId = undefined) => new Promise((resolve, reject) => {
    replies.set(++last, [resolve, reject]);
    toBrowser.write(JSON.stringify({ id: last, method, params, sessionId }) + '\0');
  });
  const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
  return {
    async newPage() {
      const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
      const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
      const cdp = {
        send: (method, params) => send(method, params, sessionId),
        once: (method, resolve) => listeners.push({ method, session: sessionId, resolve }),
      };
      const evaluate = async (fn, arg) => {
        const { result, exceptionDetails } = await cdp.send('Runtime.evaluate', {
          expression: `(${fn})(${JSON.stringify(arg)})`, awaitPromise: true, returnByValue: true });
        if (exceptionDetails) throw new Error(exceptionDetails.exception?.description || exceptionDetails.text);
        return result.value;
      };
      let at = [0, 0];
      const mouse = (type, [x, y]) => cdp.send('Input.dispatchMouseEvent',
        { type, x, y, button: type === 'mouseMoved' ? 'none' : 'left', clickCount: type === 'mouseMoved' ? 0 : 1 });
      const page = {
        cdp,
        initScripts: [],
        addInitScript(fn) { page.initScripts.push(fn); },
        // The init scripts run as soon as the new document is there (the
        // long-task observer reads its buffered entries, so nothing is missed).
        async goto(url) {
          await cdp.send('Page.navigate', { url });
          await page.waitForFunction(() => location.href !== 'about:blank' && !!document.documentElement);
          for (const fn of page.initScripts) await evaluate(fn);
        },
        evaluate,
        async waitForFunction(fn, arg, { timeout = 30000 } = {}) {
          for (const end = Date.now() + timeout; ; await sleep(50)) {
            const value = await evaluate(fn, arg).catch(() => false);
            if (value) return value;
            if (Date.now() > end) throw new Error(`timed out waiting for ${fn}`);
          }
        },
        waitForTimeout: sleep,
        mouse: {
          move: (x, y) => mouse('mouseMoved', at = [x, y]),
          down: () => mouse('mousePressed', at),
          up: () => mouse('mouseReleased', at),
          async click(x, y) {
            await page.mouse.move(x, y);
            await page.mouse.down();
            await page.mouse.up();
          },
        },
        close: () => send('Target.closeTarget', { targetId }),
      };
      return page;
    },
    newCDPSession: async (page) => page.cdp,
    async close() {
      proc.kill();
      await new Promise((resolve) => proc.once('exit', resolve));
    },
  };
}

// Chromium's trace of the page, to tell what a long task was. The page's
// observer measures wall time, which the machine's other load stretches;
// the trace also has each task's own processor time (on a processor slowed
// by Chromium, that includes the slowing). Listed: the tasks of the page's
// main thread after the title's picture whose wall time or processor time
// exceed 50 ms / SLOWER (what a processor SLOWER times slower than this one
// would make long), each with what took its time, by the trace events' own
// time (a script's or a function's name, a garbage collection, a paint).
const SLOWER = 4;
const TRACE_CATEGORIES = ['toplevel', 'devtools.timeline', 'disabled-by-default-devtools.timeline',
  'v8', 'v8.execute', 'disabled-by-default-v8.gc', 'blink.user_timing'];
async function traced(cdp, during) {
  await cdp.send('Tracing.start', { transferMode: 'ReturnAsStream',
    traceConfig: { includedCategories: TRACE_CATEGORIES } });
  await during();
  const complete = new Promise((resolve) => cdp.once('Tracing.tracingComplete', resolve));
  await cdp.send('Tracing.end');
  const { stream } = await complete;
  const parts = [];
  for (;;) {
    const { data, eof, base64Encoded } = await cdp.send('IO.read', { handle: stream, size: 1 << 22 });
    parts.push(base64Encoded ? Buffer.from(data, 'base64').toString() : data);
    if (eof) break;
  }
  await cdp.send('IO.close', { handle: stream });
  return JSON.parse(parts.join('')).traceEvents;
}
function tracedTasks(events, titleMs, rate) {
  const start = events.filter((e) => e.name === 'navigationStart' && e.args.data &&
    String(e.args.data.documentLoaderURL).startsWith(origin)).sort((a, b) => b.ts - a.ts)[0];
  const main = events.find((e) => e.pid === start.pid && e.name === 'thread_name' &&
    e.args.name === 'CrRendererMain').tid;
  const list = events.filter((e) => e.ph === 'X' && e.pid === start.pid && e.tid === main)
    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const limit = (50 * rate) / SLOWER;
  const lines = [];
  let longest = 0;
  for (let i = 0, end = 0; i < list.length; ++i) {
    const task = list[i];
    if (!/^(ThreadControllerImpl::)?RunTask$/.test(task.name) || task.ts < end) continue;
    end = task.ts + task.dur;
    const [at, wall, cpu] = [(task.ts - start.ts) / 1000, task.dur / 1000, (task.tdur || 0) / 1000];
    if (at < titleMs) continue;
    longest = Math.max(longest, cpu);
    if (wall < 50 && cpu < limit) continue;
    // Each event's own time: its span less its children's.
    const own = new Map();
    const stack = [];
    const label = (e) => {
      const d = (e.args && e.args.data) || {};
      const where = d.functionName || d.url || '';
      return where ? `${e.name} ${String(where).replace(/.*\//, '')}` : e.name;
    };
    for (let j = i + 1; j < list.length && list[j].ts < end; ++j) {
      const e = list[j];
      while (stack.length && stack[stack.length - 1].ts + stack[stack.length - 1].dur <= e.ts) stack.pop();
      own.set(label(e), (own.get(label(e)) || 0) + e.dur);
      if (stack.length) own.set(label(stack[stack.length - 1]), own.get(label(stack[stack.length - 1])) - e.dur);
      stack.push(e);
    }
    const top = [...own].filter(([, t]) => t >= 2000).sort((a, b) => b[1] - a[1]).slice(0, 4)
      .map(([l, t]) => `${l} ${(t / 1000).toFixed(0)}`).join(', ');
    lines.push(`    at ${(at / 1000).toFixed(1)} s: ${wall.toFixed(0)} ms, processor ${cpu.toFixed(0)} ms: ${top}`);
  }
  return [`  traced after the title's picture: the longest processor time of a task ${longest.toFixed(0)} ms; ` +
    `tasks over 50 ms or ${limit.toFixed(1)} ms of processor time: ${lines.length ? '' : 'none'}`, ...lines];
}

if (mode === 'longtasks') {
  // The page's long tasks after the title's picture: a whole game played
  // through the test hook by the Linux replay's script (as the browser test
  // does), then the ending with its music running for 15 s.
  const script = join(fileURLToPath(new URL('.', import.meta.url)), '../../tests/scenes/replays/full_loop_won.vrs');
  const play = async (page, query) => {
    await page.goto(origin + query);
    await page.waitForFunction(() => window.vedoTest && vedoTest.idle(), null, { timeout: 120000 });
    const run = async (n) => {
      await page.evaluate((k) => vedoTest.run(k), n);
      await page.waitForFunction(() => vedoTest.idle(), null, { timeout: 120000 });
    };
    if (query !== '?test') {
      await page.mouse.click(600, 400);
      await page.waitForFunction(() => vedoTest.synthReady(), null, { timeout: 120000 });
      await page.evaluate(() => vedoTest.run(1e9));
      await page.waitForTimeout(15000);
      return;
    }
    for (const line of readFileSync(script, 'utf8').split('\n')) {
      const [op, a, b] = line.trim().split(/\s+/);
      if (op === 'time') await page.evaluate((t) => vedoTest.setTime(t), Number(a));
      if (op === 'move') {
        const at = await page.evaluate(([fx, fy]) => {
          const r = document.getElementById('screen').getBoundingClientRect();
          return [r.left + ((fx + 0.5) * r.width) / 640, r.top + ((fy + 0.5) * r.height) / 480];
        }, [Number(a), Number(b)]);
        await page.mouse.move(...at);
      }
      if (op === 'down') await page.mouse.down();
      if (op === 'up') await page.mouse.up();
      if (op === 'frames') await run(Number(a));
      if (op === 'expect') {
        const [, global, row, col] = a.match(/^(\w+)(?:\[(\d+)\]\[(\d+)\])?$/);
        const value = await page.evaluate(([g, r, c]) => vedoTest.state(g, r, c), [global, Number(row ?? -1), Number(col ?? -1)]);
        expected.push(value === Number(b) ? '' : `${a} ${value} for ${b}`);
      }
    }
  };
  // The states the Linux replay of the script expects, as this page met them.
  let expected = [];
  for (const rate of process.argv.includes('slowed') ? [SLOWER] : [1, SLOWER]) {
    const browser = await measuringBrowser();
    for (const query of ['?test', '?test&set=gInTitle=0,gProloguePending=0,gEnding=1']) {
      const page = await browser.newPage();
      await page.addInitScript(() => {
        window.vedoLongTasks = [];
        new PerformanceObserver((list) => {
          for (const e of list.getEntries()) vedoLongTasks.push([e.startTime, e.duration]);
        }).observe({ type: 'longtask', buffered: true });
        return true;
      });
      const cdp = await browser.newCDPSession(page);
      await cdp.send('Emulation.setCPUThrottlingRate', { rate });
      const trace = tracing ? await traced(cdp, () => play(page, query)) : await play(page, query);
      const f = await page.evaluate(() => ({ tasks: vedoLongTasks, title: vedoFigures.figures.firstFrameMs,
        game: vedoFigures.figures.gameFrameMs, peak: vedoTest.heard.peak, synth: vedoFigures.figures.soundfontMs,
        wait: vedoTest.heard.longestWaitMs }));
      const list = (l) => l.map(([t, d]) => `${d.toFixed(0)} ms at ${(t / 1000).toFixed(1)} s`).join(', ') || 'none';
      const missed = expected.filter((e) => e);
      const states = expected.length ? ` (${expected.length - missed.length} of the script's ${expected.length} ` +
        `states as on Linux${missed.length ? `; not: ${missed.join(', ')}` : ''})` : '';
      expected = [];
      console.log(`processor ${rate}x slower, ${query === '?test' ? 'a whole won game' + states : 'the ending, 15 s of music'}: ` +
        `the title's picture at ${(f.title / 1000).toFixed(1)} s, the game's first frame at ${(f.game / 1000).toFixed(1)} s; ` +
        `long tasks after the picture: ${list(f.tasks.filter(([t]) => t >= f.title))}; ` +
        `before it: ${list(f.tasks.filter(([t]) => t < f.title))}; ` +
        `synthesizer ready after ${f.synth.toFixed(0)} ms; output peak ${f.peak}` +
        (f.wait === undefined ? '' : `; the output's longest wait between two calls ${f.wait} ms`));
      if (tracing) console.log(tracedTasks(trace, f.title, rate).join('\n'));
      await page.close();
    }
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
console.log(`page start to the title's picture ${f.firstFrameMs.toFixed(0)} ms; to the game's first frame ${f.gameFrameMs.toFixed(0)} ms`);
console.log(`synthesizer started, soundfont ${f.soundfontMs.toFixed(0)} ms (fetched after the first frame, read in the worklet)`);
console.log(`passes a second (10 s)         ${((f.passes - before) / 10).toFixed(1)}`);
console.log(`game time a frame (mean)       ${f.cost.toFixed(3)} ms (pass, conversion, canvas)`);
console.log(`${'audio context made in'.padEnd(31)}${f.soundOpenMs.toFixed(0)} ms (while the data downloads)`);
console.log(`${'longest gap, 1 s from click'.padEnd(31)}${f.clickGapMs.toFixed(1)} ms (the click at ${f.clickMs.toFixed(0)} ms, when the sound starts)`);
console.log(`longest gap between frames     ${f.longestGapMs.toFixed(1)} ms, ending at ${f.longestGapEndMs.toFixed(0)} ms (soundfont ready at ${f.soundfontReadyMs.toFixed(0)} ms); ${f.gapsOver20Ms} gaps over 20 ms in ${f.frames} frames`);
await browser.close();
server.close();
rmSync(profile, { recursive: true, force: true });
