// The page around the game: the canvas and its place on the screen, input
// from a mouse, a pen or a finger, the downloads with their bar and their
// failures, message boxes, the end of the game, sound and music, and the
// offline copy.
//
// Address options: "?test" switches on the test hook (window.vedoTest): the
// game then runs pass by pass as the test grants, on the replay tool's
// clock, and the sound output is measured. "?set=name=value,..." sets
// game-state values before the first pass, as VEDO_DEBUG_SET does on Linux.
// "?lang=en" plays in English (see Language below).
'use strict';

(function () {
  // The build's version, the sizes of what comes before the title and of
  // each language pack with the name it calls itself; make_site.sh writes
  // this line.
  const BUILD = { version: 'dev', program: 0, wasm: 0, pack: 0, languages: {} };
  const PROGRAM = 'vedo-zeza1.js';
  const WASM = 'vedo-zeza1.wasm.gz';
  const PACK = 'vedo-data.pack';
  const SOUNDFONT = 'TimGM6mb.sf2';
  const STALL_MS = 20000;

  const params = new URLSearchParams(location.search);
  const testing = params.has('test');
  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const FRAME_W = 640;
  const FRAME_H = 480;
  // Event types as the game's platform layer numbers them.
  const EV = { activate: 1, move: 2, leftDown: 3, leftUp: 4, rightDown: 5, rightUp: 6, key: 7 };
  // What the page measures of itself (window.vedoFigures): the time from the
  // page's start to the first frame, the synthesizer's start, the audio
  // context's making, the gaps between frames, and the longest of them in
  // the second after the first click (when the sound starts).
  const figures = { firstFrameMs: -1, soundfontMs: -1, lastFrameMs: -1, longestGapMs: 0,
                    gapsOver20Ms: 0, frames: 0, longestGapEndMs: -1,
                    soundfontReadyMs: -1, soundOpenMs: -1, clickMs: -1, clickGapMs: 0 };
  let started = false;
  let ended = false;

  // ---- Layout ----------------------------------------------------------------
  // The frame as large as the visual viewport allows, its aspect kept. The
  // corner's controls stay off it: in a bar beside it when the bar is wide
  // enough, else in a strip below. In portrait the frame spans the width
  // and a line below suggests turning the device.

  const corner = $('corner');
  const turn = $('turn');
  function layout() {
    const view = window.visualViewport;
    const vw = view ? view.width : innerWidth;
    const vh = view ? view.height : innerHeight;
    const cornerW = corner.offsetWidth + 12;
    const cornerH = corner.offsetHeight + 10;
    const fit = (width, height) => Math.min(width / FRAME_W, height / FRAME_H);
    const beside = fit(vw - 2 * cornerW, vh);
    const below = fit(vw, vh - cornerH);
    const scale = Math.max(beside, below);
    const w = Math.floor(FRAME_W * scale + 1e-9);
    const h = Math.floor(FRAME_H * scale + 1e-9);
    turn.hidden = vh <= vw;
    const turnH = turn.hidden ? 0 : turn.offsetHeight + 12;
    const top = Math.max(0, Math.floor((vh - (below > beside ? cornerH : 0) - h - turnH) / 2));
    canvas.style.width = w + 'px';
    canvas.style.height = h + 'px';
    canvas.style.left = Math.floor((vw - w) / 2) + 'px';
    canvas.style.top = top + 'px';
    turn.style.top = top + h + 12 + 'px';
  }

  // Full screen is offered, never forced: a button in the corner, which on
  // phones also turns the picture sideways where the browser allows.
  const fullscreen = $('fullscreen');
  fullscreen.hidden = !document.fullscreenEnabled;
  fullscreen.addEventListener('click', () => {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
      return;
    }
    document.documentElement.requestFullscreen({ navigationUI: 'hide' }).then(() => {
      if (screen.orientation && screen.orientation.lock) screen.orientation.lock('landscape').catch(() => {});
    }, () => {});
  });

  addEventListener('resize', layout);
  if (window.visualViewport) visualViewport.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  layout();

  // ---- Language ------------------------------------------------------------
  // Korean, the game's own, unless the address ("?lang=en") or the switch in
  // the corner asks for another; the choice is kept in the page's local
  // storage, so that it holds for the next visit. The switch starts the
  // game again in the next language. A language pack is downloaded only by
  // a page that plays in it; a name the site has no pack for is handed to
  // the game all the same, which says so and plays in Korean.
  const LANGUAGE_KEY = 'vedo-zeza1-language';
  const languageName = (lang) => (lang === 'ko' ? '한국어' : (BUILD.languages[lang] || {}).name || lang);
  const remember = (lang) => {
    try {
      localStorage.setItem(LANGUAGE_KEY, lang);
    } catch {}  // a browser that keeps nothing forgets it
  };
  const remembered = () => {
    try {
      return localStorage.getItem(LANGUAGE_KEY);
    } catch {
      return null;
    }
  };
  const validLanguage = (name) => /^[a-z][a-z0-9-]{0,15}$/.test(name || '');
  const language = [params.get('lang'), remembered(), 'ko'].find(validLanguage);
  if (params.has('lang')) remember(language);
  const languages = ['ko', ...Object.keys(BUILD.languages)];
  const languageSwitch = $('language');
  if (languages.length > 1) {
    const next = languages[(languages.indexOf(language) + 1) % languages.length];
    languageSwitch.textContent = languageName(next);
    languageSwitch.lang = next;
    languageSwitch.title = next === 'ko' ? '한국어로 다시 시작합니다' : `Start again in ${languageName(next)}`;
    languageSwitch.hidden = false;
    languageSwitch.addEventListener('click', () => {
      remember(next);
      if (params.has('lang')) {
        params.set('lang', next);
        location.search = params.toString();
      } else {
        location.reload();
      }
    });
  }
  layout();

  // ---- Input ---------------------------------------------------------------
  // The mouse and a pen are the game's mouse: the pointer follows them, over
  // the black bars too (clamped to the frame's edge), and their buttons are
  // its buttons.
  //
  // A finger is the game's pointer and left button, by these rules:
  // - A finger that comes down on the frame moves the pointer there and
  //   presses; lifting it releases. While it is down, other fingers are
  //   ignored. A tap's press and release come together; the game's loop
  //   holds such a release until a pass has seen the press.
  // - A band of EDGE_BAND CSS pixels along each edge of the canvas, wide
  //   enough for a finger, is the frame's outermost pixel row or column, and
  //   the black bars count as the nearest edge. A finger held there scrolls
  //   the field as a resting mouse does, and so it does not press: holding
  //   it never attacks the cell at the edge.
  // - When a finger lifts where the field would go on scrolling (an
  //   outermost row or column, or below the map outside the panel's
  //   buttons), the pointer moves to the nearest point just inside, where
  //   the view stops. A mouse moves on of itself; a finger must not leave
  //   the view running.

  const EDGE_BAND = 24;
  function push(type, x, y, active, key) {
    if (started && !ended) Module._vedo_push_event(type, x, y, active || 0, key || 0);
  }
  // A point in frame pixels; for a finger, the edge bands and the bars are
  // the edges, and the third value says the point is in one.
  function framePoint(e, bands) {
    const r = canvas.getBoundingClientRect();
    const band = bands ? EDGE_BAND : 0;
    const along = (at, start, size, pixels) => {
      if (at < start + band) return [0, bands];
      if (at >= start + size - band) return [pixels - 1, bands];
      return [Math.min(Math.floor(((at - start) * pixels) / size), pixels - 1), false];
    };
    const [x, edgeX] = along(e.clientX, r.left, r.width, FRAME_W);
    const [y, edgeY] = along(e.clientY, r.top, r.height, FRAME_H);
    return [x, y, edgeX || edgeY];
  }
  // Where the field scrolls: the outermost columns, the top row, and below
  // the map outside the panel's buttons.
  function scrolls(x, y) {
    return x < 1 || x > 638 || y < 1 || (y > 358 && (x < 450 || y > 460));
  }
  function restingPoint(x, y) {
    x = Math.min(Math.max(x, 1), 638);
    y = Math.max(y, 1);
    if (!scrolls(x, y)) return [x, y];
    // Below the map: up onto its last row, or across onto the buttons,
    // whichever is nearer.
    const across = [Math.max(x, 450), Math.min(y, 460)];
    return across[0] - x + (y - across[1]) < y - 358 ? across : [x, 358];
  }
  // Presses count on the game's screen and the bars, not on the page's
  // own buttons and links.
  const onGame = (e) => e.target === canvas || e.target === document.body ||
    e.target === document.documentElement;

  let finger = null;  // the finger that counts, while it is down
  let fingerPresses = false;
  let fingerAt = [0, 0];
  addEventListener('pointerdown', (e) => {
    if (!onGame(e)) return;
    gesture();
    if (e.pointerType === 'touch') {
      if (finger !== null) return;
      finger = e.pointerId;
      const [x, y, edge] = framePoint(e, true);
      fingerAt = [x, y];
      fingerPresses = !edge;
      push(EV.move, x, y);
      if (fingerPresses) push(EV.leftDown, x, y);
    } else {
      const [x, y] = framePoint(e, false);
      push(EV.move, x, y);
      if (e.button === 0) push(EV.leftDown);
      if (e.button === 2) push(EV.rightDown);
    }
  });
  addEventListener('pointermove', (e) => {
    if (e.pointerType !== 'touch') {
      const [x, y] = framePoint(e, false);
      push(EV.move, x, y);
      // A second button pressed or released while one is down.
      if (e.button === 0) push(e.buttons & 1 ? EV.leftDown : EV.leftUp);
      if (e.button === 2) push(e.buttons & 2 ? EV.rightDown : EV.rightUp);
    } else if (e.pointerId === finger) {
      const [x, y] = framePoint(e, true);
      fingerAt = [x, y];
      push(EV.move, x, y);
    }
  });
  function lift(e) {
    if (e.pointerType !== 'touch') {
      if (e.button === 0) push(EV.leftUp);
      if (e.button === 2) push(EV.rightUp);
      return;
    }
    if (e.pointerId !== finger) return;
    finger = null;
    if (e.type === 'pointerup') gesture();
    if (fingerPresses) push(EV.leftUp);
    const [x, y] = restingPoint(...fingerAt);
    if (x !== fingerAt[0] || y !== fingerAt[1]) push(EV.move, x, y);
  }
  addEventListener('pointerup', lift);
  addEventListener('pointercancel', lift);
  addEventListener('contextmenu', (e) => e.preventDefault());
  addEventListener('keydown', (e) => {
    gesture();
    push(EV.key, 0, 0, 0, e.key === 'Escape' ? 1 : 0);
  });
  document.addEventListener('visibilitychange', () => {
    push(EV.activate, 0, 0, document.hidden ? 0 : 1, 0);
  });

  // ---- Failures ----------------------------------------------------------------
  // Every failure is told in the panel, in Korean and in English, naming
  // the file. The retry button continues whatever waits for it: a download
  // resumes where it stopped, and what has arrived is kept.

  const problemPanel = $('problem');
  const problemText = $('problem-text');
  let waiting = [];
  function lines(ko, en) {
    const block = document.createElement('div');
    for (const [text, lang] of [[ko, 'ko'], [en, 'en']]) {
      const p = document.createElement('p');
      p.lang = lang;
      p.textContent = text;
      block.appendChild(p);
    }
    return block;
  }
  // Shows the failure and resolves when the player asks to retry.
  function problem(ko, en) {
    console.warn('Vedo Zeza1: ' + en);
    problemText.appendChild(lines(ko, en));
    problemPanel.hidden = false;
    return new Promise((resolve) => waiting.push(resolve));
  }
  $('retry').addEventListener('click', () => {
    problemPanel.hidden = true;
    problemText.textContent = '';
    const go = waiting;
    waiting = [];
    go.forEach((resolve) => resolve());
  });

  class Broken extends Error {}

  // ---- Downloads -----------------------------------------------------------------
  // Bytes arrive as a stream, counted into the bar. A download that fails or
  // stalls for STALL_MS is told, and on the retry continues from the byte
  // it had reached (with a range request; a host that answers with the whole
  // file has its first bytes skipped).

  const languagePack = BUILD.languages[language] !== undefined ? `lang-${language}.pack` : null;
  const total = BUILD.program + BUILD.wasm + BUILD.pack +
    (languagePack ? BUILD.languages[language].bytes : 0);
  let done = 0;
  const loadingBar = $('loaded');
  const loadingText = $('bytes');
  const mb = (n) => (n / 1e6).toFixed(1);
  function progress(n) {
    done += n;
    const shown = Math.min(done, total);
    loadingBar.style.width = total ? (100 * shown) / total + '%' : '0';
    loadingText.textContent = `${mb(shown)} / ${mb(total)} MB`;
    $('loading').setAttribute('aria-valuenow', total ? Math.round((100 * shown) / total) : 0);
  }
  progress(0);

  // An abort signal that fires once watch() has not been called for STALL_MS.
  function stallWatch() {
    const abort = new AbortController();
    let timer = 0;
    const watch = () => {
      clearTimeout(timer);
      timer = setTimeout(() => abort.abort(), STALL_MS);
    };
    return { signal: abort.signal, watch, stop: () => clearTimeout(timer) };
  }

  async function download(name, take) {
    let received = 0;
    for (;;) {
      const { signal, watch, stop } = stallWatch();
      try {
        watch();
        const r = await fetch(name, { headers: received ? { Range: `bytes=${received}-` } : {},
          signal });
        if (!r.ok) {
          await problem(`${name}을(를) 받지 못했습니다 (HTTP ${r.status}).`,
            `${name} could not be downloaded (HTTP ${r.status}).`);
          continue;
        }
        let skip = r.status === 206 ? 0 : received;
        const reader = r.body.getReader();
        for (;;) {
          const { done: end, value } = await reader.read();
          if (end) break;
          watch();
          let piece = value;
          if (skip > 0) {
            const n = Math.min(skip, piece.length);
            piece = piece.subarray(n);
            skip -= n;
          }
          if (!piece.length) continue;
          received += piece.length;
          progress(piece.length);
          await take(piece);
        }
        return;
      } catch (e) {
        if (e instanceof Broken) throw e;
        if (signal.aborted) {
          await problem(`${name}을(를) 받는 일이 ${STALL_MS / 1000}초 동안 멈춰 있습니다.`,
            `The download of ${name} has stalled for ${STALL_MS / 1000} seconds.`);
        } else {
          await problem(`${name}을(를) 받는 중에 연결이 끊어졌습니다 (${e.message}).`,
            `The connection broke while downloading ${name} (${e.message}).`);
        }
      } finally {
        stop();
      }
    }
  }

  function join(pieces) {
    const all = new Uint8Array(pieces.reduce((n, p) => n + p.length, 0));
    let at = 0;
    for (const p of pieces) {
      all.set(p, at);
      at += p.length;
    }
    return all;
  }

  // The data kit, one tar file.
  function untar(bytes) {
    const text = (from, length) => {
      let s = '';
      for (let i = 0; i < length && bytes[from + i]; ++i) s += String.fromCharCode(bytes[from + i]);
      return s;
    };
    const files = new Map();
    for (let at = 0; at + 512 <= bytes.length;) {
      const name = text(at, 100);
      if (!name) break;
      const size = parseInt(text(at + 124, 12).trim(), 8);
      if (!(size >= 0) || at + 512 + size > bytes.length) throw new Broken(`${name} is cut short`);
      if (bytes[at + 156] === 0x30 || bytes[at + 156] === 0) {
        files.set(name, bytes.subarray(at + 512, at + 512 + size));
      }
      at += 512 + Math.ceil(size / 512) * 512;
    }
    if (!files.size) throw new Broken('it holds no files');
    return files;
  }
  // The WebAssembly and the data kit come gzip-compressed by the build, and
  // are unpacked here as they arrive, so that no host's settings decide
  // their size; a host that has already undone the gzip (a Content-Encoding)
  // is read as it comes. A damaged file is told, and the retry fetches it
  // again.
  async function unpacked(name, read = (bytes) => bytes) {
    const broken = (e) => {
      throw new Broken(e.message);
    };
    for (;;) {
      const pieces = [];
      let writer = null;
      let unpacking = null;
      try {
        await download(name, async (piece) => {
          if (!writer) {
            const gzip = piece[0] === 0x1f && piece[1] === 0x8b;
            const stream = gzip ? new DecompressionStream('gzip') : new TransformStream();
            writer = stream.writable.getWriter();
            unpacking = (async () => {
              const reader = stream.readable.getReader();
              for (;;) {
                const { done: end, value } = await reader.read();
                if (end) return;
                pieces.push(value);
              }
            })();
            unpacking.catch(() => {});
          }
          await writer.write(piece).catch(broken);
        });
        if (!writer) throw new Broken('it is empty');
        await writer.close().catch(broken);
        await unpacking.catch(broken);
        return read(join(pieces));
      } catch (e) {
        if (!(e instanceof Broken)) throw e;
        await problem(`${name}이(가) 손상되었습니다 (${e.message}).`, `${name} is damaged (${e.message}).`);
      }
    }
  }

  // ---- Sound -----------------------------------------------------------------

  const BLOCK = 2048;
  let audio = null;
  let node = null;
  let mixBuffer = 0;
  let outputOpen = false;
  let clicked = false;
  const heard = { peak: 0, frames: 0 };

  // Making the browser's first audio context can hold the page's thread for
  // a few hundred milliseconds (Chromium starts its audio then); made on the
  // first click, it froze the game. So it is made while the data downloads,
  // before the first frame. Until a click it stays suspended, as browsers
  // want, or gives silence where a browser lets it run: the game's sound
  // starts with the first click either way, and the click only resumes it.
  function openSound() {
    if (audio || ended) return;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    const start = performance.now();
    try {
      audio = new Context({ sampleRate: 44100 });
    } catch {
      try {
        audio = new Context();
      } catch {
        return;  // no sound; the game plays on
      }
    }
    figures.soundOpenMs = performance.now() - start;
    // The mix is pulled on the page's thread, where the game runs; the
    // processor's block is the device's latency.
    node = audio.createScriptProcessor(BLOCK, 0, 2);
    node.onaudioprocess = (e) => {
      const left = e.outputBuffer.getChannelData(0);
      const right = e.outputBuffer.getChannelData(1);
      const n = left.length;
      if (!clicked || !outputOpen || !started) {
        left.fill(0);
        right.fill(0);
        return;
      }
      if (!mixBuffer) mixBuffer = Module._malloc(BLOCK * 4);
      Module._vedo_audio_mix(mixBuffer, n);
      const samples = Module.HEAP16.subarray(mixBuffer >> 1, (mixBuffer >> 1) + 2 * n);
      let peak = heard.peak;
      for (let i = 0; i < n; ++i) {
        left[i] = samples[2 * i] / 32768;
        right[i] = samples[2 * i + 1] / 32768;
        peak = Math.max(peak, Math.abs(samples[2 * i]), Math.abs(samples[2 * i + 1]));
      }
      heard.peak = peak;
      heard.frames += n;
    };
    node.connect(audio.destination);
  }

  // Browsers let sound start only from a click, a key or a lifted finger.
  function gesture() {
    if (ended) return;
    if (!clicked) {
      clicked = true;
      figures.clickMs = performance.now();
    }
    openSound();
    if (audio && audio.state !== 'running') audio.resume().catch(() => {});
  }

  // The music's synthesizer and soundfont (6.5 MB) serve only the ending, so
  // they come after the first frame, in the background. Their start holds
  // the page's thread in a few pieces (the scripts, FluidSynth's module, the
  // soundfont's read), with frames let through between them. The output
  // takes the synthesizer when it arrives; if it never does, the music is
  // silent after one console line.
  let synthState = 'loading';
  const nextFrame = () => new Promise((resolve) => setTimeout(resolve, 50));
  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const s = document.createElement('script');
      s.src = src;
      s.onload = resolve;
      s.onerror = () => reject(new Error(`${src} could not be loaded`));
      document.head.appendChild(s);
    });
  }
  // The soundfont, given up on when it fails or stalls.
  async function soundfont() {
    const { signal, watch, stop } = stallWatch();
    try {
      watch();
      const r = await fetch(SOUNDFONT, { signal });
      if (!r.ok) throw new Error(`no soundfont at ${SOUNDFONT} beside the page (HTTP ${r.status})`);
      const pieces = [];
      for (const reader = r.body.getReader(); ;) {
        const { done: end, value } = await reader.read();
        if (end) return join(pieces);
        watch();
        pieces.push(value);
      }
    } catch (e) {
      throw signal.aborted ? new Error(`${SOUNDFONT} stalled`) : e;
    } finally {
      stop();
    }
  }
  async function loadSynth() {
    const start = performance.now();
    try {
      const font = soundfont();
      font.catch(() => {});
      await loadScript('synth/libfluidsynth-2.4.6.js');
      await fluidSynthStarted();
      await nextFrame();
      await loadScript('synth/js-synthesizer.min.js');
      await JSSynth.waitForReady();
      JSSynth.disableLogging && JSSynth.disableLogging();
      const synth = new JSSynth.Synthesizer();
      synth.init(44100);
      synth.setGain(0.6);  // the Linux build's gain
      const bytes = await font;
      await nextFrame();
      await synth.loadSFont(bytes);
      Module.vedoPage.synth = synth;
      synthState = 'ready';
      figures.soundfontReadyMs = performance.now();
      figures.soundfontMs = figures.soundfontReadyMs - start;
      if (!ended) Module._vedo_synth_arrived(figures.soundfontMs);
    } catch (e) {
      console.warn(`Vedo Zeza1: the music's synthesizer did not load (${e.message || e}); music is silent.`);
      synthState = 'failed';
      if (!ended) Module._vedo_synth_arrived(-1);
    }
  }
  // FluidSynth's own module (a global of its script) has started when its
  // runtime has.
  function fluidSynthStarted() {
    const fluid = window.Module;
    if (!fluid || fluid.calledRun) return Promise.resolve();
    return new Promise((resolve) => {
      const before = fluid.onRuntimeInitialized;
      fluid.onRuntimeInitialized = () => {
        if (before) before();
        resolve();
      };
    });
  }

  // ---- The program ------------------------------------------------------------

  // Everything starts at once: the program's script, its WebAssembly and the
  // data, and the audio context while they download.
  let wasmBytes = unpacked(WASM);
  const pack = unpacked(PACK, untar);
  const lang = languagePack ? unpacked(languagePack, untar) : Promise.resolve(new Map());
  function loadProgram() {
    loadScript(PROGRAM).then(() => {
      progress(BUILD.program);
      VedoZeza1(Module);
    }, () => problem(`${PROGRAM}을(를) 불러오지 못했습니다.`, `${PROGRAM} could not be loaded.`)
      .then(loadProgram));
  }
  if (navigator.mediaDevices && navigator.mediaDevices.enumerateDevices) {
    // Listing the media devices first has Chromium start its audio without
    // holding the page's thread; the context is then made in a few
    // milliseconds.
    navigator.mediaDevices.enumerateDevices().catch(() => {}).then(openSound);
  } else {
    openSound();
  }

  function gameEnded(code, missing) {
    ended = true;
    outputOpen = false;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    $('loading').hidden = true;
    if (code !== 0) {
      // A start-up failure: the game's own messages are above; say what it
      // means, and name the file when one was missing.
      const text = $('ended-text');
      text.textContent = '';
      text.appendChild(lines('게임을 시작하지 못했습니다.', 'The game could not start.'));
      if (missing) {
        text.appendChild(lines(`데이터 팩에 ${missing}이(가) 없습니다.`, `${missing} is missing from the data pack.`));
      }
    }
    $('ended').hidden = false;
    console.log('Vedo Zeza1: the game has ended (' + code + ')');
  }

  const Module = {
    canvas,
    // The WebAssembly is compiled from the downloaded bytes, so a host's
    // MIME type for it does not matter.
    instantiateWasm(imports, receive) {
      (async () => {
        for (;;) {
          const bytes = await wasmBytes;
          try {
            const { instance, module } = await WebAssembly.instantiate(bytes, imports);
            receive(instance, module);
            return;
          } catch (e) {
            await problem(`${WASM}이(가) 손상되었습니다 (${e.message}).`, `${WASM} is damaged (${e.message}).`);
            wasmBytes = unpacked(WASM);
          }
        }
      })();
      return {};
    },
    preRun: [() => {
      Module.addRunDependency('data');
      Promise.all([pack, lang]).then(([files, languageFiles]) => {
        const FS = Module.FS;
        FS.mkdir('/data');
        for (const [name, bytes] of files) FS.writeFile('/data/' + name, bytes);
        for (const [name, bytes] of languageFiles) {
          FS.mkdirTree('/data/lang/' + name.replace(/[^/]*$/, ''));
          FS.writeFile('/data/lang/' + name, bytes);
        }
        FS.chdir('/data');
        Module.removeRunDependency('data');
      });
    }],
    onRuntimeInitialized() {
      if (testing) Module._vedo_test_enable();
      started = true;
    },
    onAbort(what) {
      problem(`게임이 오류로 멈췄습니다 (${what}).`, `The game stopped with an error (${what}).`)
        .then(() => location.reload());
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    vedoPage: {
      synth: null,
      get synthFailed() { return synthState === 'failed'; },
      debugSettings: params.get('set') || '',
      language: language === 'ko' ? '' : language,
      present(rgba, width, height) {
        const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
        context.putImageData(new ImageData(pixels, width, height), 0, 0);
        const now = performance.now();
        if (figures.firstFrameMs < 0) firstFrame(now);
        if (figures.lastFrameMs >= 0) {
          const gap = now - figures.lastFrameMs;
          if (gap > figures.longestGapMs) {
            figures.longestGapMs = gap;
            figures.longestGapEndMs = now;
          }
          if (gap > 20) figures.gapsOver20Ms++;
          if (figures.clickMs >= 0 && now - figures.clickMs < 1000) {
            figures.clickGapMs = Math.max(figures.clickGapMs, gap);
          }
        }
        figures.lastFrameMs = now;
        figures.frames++;
      },
      messageBox(caption, text) {
        const p = document.createElement('p');
        p.textContent = caption + ': ' + text;
        $('messages').appendChild(p);
      },
      gameEnded,
      audioOpened() { outputOpen = true; },
      audioClosed() { outputOpen = false; },
    },
  };
  loadProgram();

  function firstFrame(now) {
    figures.firstFrameMs = now;
    $('loading').hidden = true;
    setTimeout(() => loadSynth().finally(keepOffline), 0);
  }

  // ---- Offline -------------------------------------------------------------------
  // A service worker keeps the site under the build's version (see sw.js).
  // It is registered once the music has arrived, so that its copying never
  // competes with the game's own downloads.
  function keepOffline() {
    if (!('serviceWorker' in navigator) || ended) return;
    navigator.serviceWorker.register('sw.js').catch((e) => {
      console.log('Vedo Zeza1: no offline copy (' + e.message + ')');
    });
  }

  $('restart').addEventListener('click', () => location.reload());

  window.vedoFigures = {
    figures,
    version: BUILD.version,
    frameCostMs: () => (started ? Module._vedo_frame_cost_ms() : 0),
    passes: () => (started ? Module._vedo_passes() : 0),
  };
  if (testing) {
    window.vedoTest = {
      started: () => started,
      ended: () => ended,
      run: (passes) => Module._vedo_test_run(passes),
      idle: () => started && !ended && Module._vedo_test_idle() === 1,
      setTime: (seconds) => Module._vedo_test_set_time(seconds),
      passes: () => Module._vedo_passes(),
      flips: () => Module._vedo_flips(),
      // A global's value, or a layer's cell at (row, col).
      state: (name, row = -1, col = -1) => {
        const p = Module.allocateUTF8(name);
        const v = Module._vedo_state(p, row, col);
        Module._free(p);
        return v;
      },
      synthReady: () => !!Module.vedoPage.synth,
      heard,
      figures,
      frameCostMs: () => Module._vedo_frame_cost_ms(),
    };
  }
})();
