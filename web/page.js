// The page around the game: the canvas and its place on the screen, input
// from a mouse, a pen or a finger, the downloads with their bar and their
// failures, questions and message boxes, the end of the game, sound and
// music, and the offline copy.
//
// Address options: "?test" switches on the test hook (window.vedoTest): the
// game then runs pass by pass as the test grants, on the replay tool's
// clock, and the sound output is measured. "?set=name=value,..." sets
// game-state values before the first pass, as VEDO_DEBUG_SET does on Linux.
// "?lang=en" plays in English for this visit (see Settings and language
// below).
'use strict';

(function () {
  // The build's version, the sizes of the program, of each language's title
  // picture, of the data and of each language pack, with the name its
  // language calls itself; make_site.sh writes this line.
  const BUILD = { version: 'dev', program: 0, wasm: 0, titles: {}, pack: 0, languages: {} };
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
  // Keys as the game's platform layer numbers them; 0 is a key the game ignores.
  const KEY = { escape: 1, f1: 2, f11: 3, f12: 4, m: 5, altEnter: 6 };
  // What the page measures of itself (window.vedoFigures): the time from the
  // page's start to the first frame (the title's picture) and to the game's
  // own first frame, the synthesizer's start, the audio context's making,
  // the gaps between frames, and the longest of them in the second after
  // the first click (when the sound starts).
  const figures = { firstFrameMs: -1, gameFrameMs: -1, soundfontMs: -1, lastFrameMs: -1,
                    longestGapMs: 0, gapsOver20Ms: 0, frames: 0, framesDrawn: 0,
                    longestGapEndMs: -1, soundfontReadyMs: -1, soundOpenMs: -1, clickMs: -1,
                    clickGapMs: 0, wasmCompiledIn: '' };
  let started = false;  // the program's runtime is up
  let playing = false;  // the game's loop runs: all its data is in
  let ended = false;
  for (const id of ['screen', 'loading', 'corner']) $(id).hidden = false;

  // ---- Panels ------------------------------------------------------------------
  // Failures, questions and notes are told in a panel, in Korean and in
  // English, naming the file where there is one.

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
  // A note beside the game, which plays on (the game's message boxes too).
  function note(ko, en) {
    console.warn('Vedo Zeza1: ' + en);
    $('messages').appendChild(lines(ko, en));
  }

  // A failure; resolves when the player asks to retry. The retry button
  // continues whatever waits for it: a download resumes where it stopped,
  // and what has arrived is kept.
  const problemPanel = $('problem');
  const problemText = $('problem-text');
  let waiting = [];
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

  // A question about something a stray touch or key would lose; resolves
  // true when the player confirms, false when not.
  let answer = null;
  function ask(ko, en) {
    if (answer) answer(false);
    const text = $('ask-text');
    text.textContent = '';
    text.appendChild(lines(ko, en));
    $('ask').hidden = false;
    return new Promise((resolve) => {
      answer = (yes) => {
        answer = null;
        $('ask').hidden = true;
        resolve(yes);
      };
    });
  }
  $('ask-yes').addEventListener('click', () => answer && answer(true));
  $('ask-no').addEventListener('click', () => answer && answer(false));

  if (typeof WebAssembly !== 'object') {
    $('loading').hidden = true;
    $('retry').hidden = true;
    problem('이 브라우저는 게임에 필요한 웹어셈블리(WebAssembly)를 실행하지 못합니다. 다른 브라우저나 새 버전에서 열어 주세요.',
      'This browser cannot run WebAssembly, which the game needs. Please open it in another browser or a newer version.');
    return;
  }

  // ---- Layout ----------------------------------------------------------------
  // The frame as large as the visual viewport allows, its aspect kept. The
  // corner's controls stay off it: in a bar beside it when the bar is wide
  // enough, else in a strip below. In portrait the frame spans the width
  // and a line below suggests turning the device.

  const corner = $('corner');
  const turn = $('turn');
  // Held to whole multiples (the game's "sharp" scaling), each frame pixel
  // is a whole number of the screen's pixels, with black around.
  let sharp = false;
  function layout() {
    const view = window.visualViewport;
    const vw = view ? view.width : innerWidth;
    const vh = view ? view.height : innerHeight;
    const cornerW = corner.offsetWidth + 12;
    const cornerH = corner.offsetHeight + 10;
    const fit = (width, height) => Math.min(width / FRAME_W, height / FRAME_H);
    const beside = fit(vw - 2 * cornerW, vh);
    const below = fit(vw, vh - cornerH);
    let scale = Math.max(beside, below);
    const ratio = window.devicePixelRatio || 1;
    if (sharp && Math.floor(scale * ratio + 1e-9) >= 1) scale = Math.floor(scale * ratio + 1e-9) / ratio;
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
  let leftFullscreenAt = -1e9;  // the Escape that leaves full screen may reach the page too
  document.addEventListener('fullscreenchange', () => {
    if (!document.fullscreenElement) leftFullscreenAt = performance.now();
    layout();
  });

  // How to play, for the mouse, a finger and Escape.
  $('help-button').addEventListener('click', () => { $('help').hidden = !$('help').hidden; });
  $('help-close').addEventListener('click', () => { $('help').hidden = true; });

  addEventListener('resize', layout);
  if (window.visualViewport) visualViewport.addEventListener('resize', layout);
  layout();

  // A game-state value by its name, as the test hook reads them; -1 before
  // the game runs.
  const names = new Map();
  function gameState(name) {
    if (!playing) return -1;
    if (!names.has(name)) names.set(name, Module.allocateUTF8(name));
    return Module._vedo_state(names.get(name), -1, -1);
  }
  // Whether a stray touch or key now would lose a game in progress.
  const inGame = () => playing && !ended && gameState('gInTitle') !== 1;

  // ---- Settings and language ------------------------------------------------
  // The game keeps the player's settings in the page's local storage, as
  // the text of its settings file (the game reads and writes it; the page
  // only looks at the language and the mute). The language is the
  // address's ("?lang=en", for this visit only), else the settings', else
  // Korean. The switch in the corner starts the game again in the next
  // language, after asking when a game is under way, as choosing one in the
  // game's options does. A language pack is downloaded only by a page that
  // plays in it; a name the site has no pack for is handed to the game all
  // the same, which says so and plays in Korean.
  const SETTINGS_KEY = 'vedo-zeza1-settings';
  const OLD_LANGUAGE_KEY = 'vedo-zeza1-language';
  const languageName = (lang) => (lang === 'ko' ? '한국어' : (BUILD.languages[lang] || {}).name || lang);
  const languages = ['ko', ...Object.keys(BUILD.languages)];
  const stored = {
    get(key) {
      try {
        return localStorage.getItem(key);
      } catch {
        return null;  // a browser that keeps nothing
      }
    },
    set(key, value) {
      try {
        if (value === null) localStorage.removeItem(key);
        else localStorage.setItem(key, value);
        return true;
      } catch {
        return false;
      }
    },
  };
  const setting = (name) => {
    const m = new RegExp(`^[ \\t]*${name}[ \\t]*=[ \\t]*(\\S+)[ \\t]*\\r?$`, 'm')
      .exec(stored.get(SETTINGS_KEY) || '');
    return m ? m[1] : null;
  };
  // The settings with one setting changed (or added), as the game would
  // write it.
  const withSetting = (name, value) => {
    const text = stored.get(SETTINGS_KEY) || '';
    const line = new RegExp(`^[ \\t]*${name}[ \\t]*=.*$`, 'm');
    return line.test(text) ? text.replace(line, `${name} = ${value}`)
      : text + (text && !text.endsWith('\n') ? '\n' : '') + `${name} = ${value}\n`;
  };
  // A choice the page once kept on its own becomes the game's setting.
  if (stored.get(OLD_LANGUAGE_KEY) !== null) {
    if (setting('language') === null) stored.set(SETTINGS_KEY, withSetting('language', stored.get(OLD_LANGUAGE_KEY)));
    stored.set(OLD_LANGUAGE_KEY, null);
  }
  const validLanguage = (name) => /^[a-z][a-z0-9-]{0,15}$/.test(name || '');
  const language = [params.get('lang'), setting('language'), 'ko'].find(validLanguage);
  // Starts the game again in `next`, kept as the player's choice; the
  // address's choice, which held for one visit, goes.
  function restartIn(next) {
    stored.set(SETTINGS_KEY, withSetting('language', next));
    if (params.has('lang')) {
      params.delete('lang');
      location.search = params.toString();
    } else {
      location.reload();
    }
  }
  const languageSwitch = $('language');
  if (languages.length > 1) {
    const next = languages[(languages.indexOf(language) + 1) % languages.length];
    const name = languageName(next);
    languageSwitch.textContent = name;
    languageSwitch.lang = next;
    languageSwitch.title = next === 'ko' ? '한국어로 다시 시작합니다' : `Start again in ${name}`;
    languageSwitch.hidden = false;
    languageSwitch.addEventListener('click', () => {
      if (!inGame()) {
        restartIn(next);
        return;
      }
      ask(`게임을 끝내고 ${name}(으)로 다시 시작할까요?`, `End this game and start again in ${name}?`)
        .then((yes) => yes && restartIn(next));
    });
  }
  // The options (F1) and the speaker (M) are the game's keys, pressed.
  const speaker = $('speaker');
  const showMute = () => speaker.setAttribute('aria-pressed', setting('mute') === 'yes' ? 'true' : 'false');
  showMute();
  $('options').addEventListener('click', () => {
    gesture();
    push(EV.key, 0, 0, 0, KEY.f1);
  });
  speaker.addEventListener('click', () => {
    gesture();
    push(EV.key, 0, 0, 0, KEY.m);
  });
  layout();

  // ---- Input ---------------------------------------------------------------
  // The mouse and a pen are the game's mouse: the pointer follows them, over
  // the black bars too (clamped to the frame's edge), and their buttons are
  // its buttons. Fingers follow their own rules (Fingers, below). While the
  // title's picture shows and the rest of the data arrives, a click or tap
  // is held and counts when the game runs: the button is held down for the
  // game's first HELD_PASSES passes, long enough for the title, which takes
  // no click in its first 11, and shorter than the 11 more that the warning
  // picture's buttons wait.

  const HELD_PASSES = 16;
  let pointer = [-1, -1];  // where the game's pointer was last put
  let heldClick = null;    // [x, y] of a click made while loading
  let heldPasses = 0;
  function push(type, x = 0, y = 0, active = 0, key = 0) {
    if (!playing || ended) return;
    if (type === EV.move) pointer = [x, y];
    Module._vedo_push_event(type, x, y, active, key);
  }
  const pointTo = ([x, y]) => {
    if (x !== pointer[0] || y !== pointer[1]) push(EV.move, x, y);
  };
  // A point in frame pixels, clamped to the frame.
  function framePoint(e) {
    const r = canvas.getBoundingClientRect();
    const along = (at, start, size, pixels) =>
      Math.min(Math.max(Math.floor(((at - start) * pixels) / size), 0), pixels - 1);
    return [along(e.clientX, r.left, r.width, FRAME_W), along(e.clientY, r.top, r.height, FRAME_H)];
  }
  function click(at) {
    if (!playing) {
      heldClick = at;
      return;
    }
    pointTo(at);
    push(EV.leftDown);
    push(EV.leftUp);
  }
  // The held click, pass by pass.
  function holdClick() {
    if (heldClick) {
      pointTo(heldClick);
      push(EV.leftDown);
      heldClick = null;
      heldPasses = HELD_PASSES;
    } else if (heldPasses > 0 && --heldPasses === 0) {
      push(EV.leftUp);
    }
  }
  // Presses count on the game's screen and, for a mouse, the bars, not on
  // the page's own buttons and links.
  const onGame = (e) => e.target === canvas || e.target === document.body ||
    e.target === document.documentElement;

  addEventListener('pointerdown', (e) => {
    if (!onGame(e) || answer) return;
    gesture();
    if (e.pointerType === 'touch') {
      fingerDown(e);
    } else if (!playing) {
      if (e.button === 0) click(framePoint(e));
    } else {
      pointTo(framePoint(e));
      if (e.button === 0) push(EV.leftDown);
      if (e.button === 2) push(EV.rightDown);
    }
  });
  addEventListener('pointermove', (e) => {
    if (e.pointerType === 'touch') {
      fingerMove(e);
      return;
    }
    pointTo(framePoint(e));
    // A second button pressed or released while one is down.
    if (e.button === 0) push(e.buttons & 1 ? EV.leftDown : EV.leftUp);
    if (e.button === 2) push(e.buttons & 2 ? EV.rightDown : EV.rightUp);
  });
  function lift(e) {
    if (e.pointerType === 'touch') {
      fingerUp(e);
      return;
    }
    if (e.button === 0) push(EV.leftUp);
    if (e.button === 2) push(EV.rightUp);
  }
  addEventListener('pointerup', lift);
  addEventListener('pointercancel', lift);
  addEventListener('contextmenu', (e) => e.preventDefault());
  // Escape leaves full screen; otherwise it asks before it ends the game,
  // which a stray key must not do (the game on Linux and Windows ends at
  // once, as it always has).
  // The program's own keys (F1 the options, M mute, F11 and Alt+Enter full
  // screen, F12 a screenshot) go to the game, where the browser lets the
  // page have them; M is the key in M's place, whatever the layout or the
  // input method make of it.
  function keyOf(e) {
    const plain = !e.ctrlKey && !e.metaKey;
    if (e.key === 'F1' && plain) return KEY.f1;
    if (e.key === 'F11' && plain) return KEY.f11;
    if (e.key === 'F12' && plain) return KEY.f12;
    if (e.key === 'Enter' && e.altKey && plain) return KEY.altEnter;
    if (e.code === 'KeyM' && plain && !e.altKey) return KEY.m;
    return 0;
  }
  addEventListener('keydown', (e) => {
    gesture();
    if (e.key !== 'Escape') {
      const key = keyOf(e);
      if (key) e.preventDefault();
      if (!key || !e.repeat) push(EV.key, 0, 0, 0, key);
      return;
    }
    if (document.fullscreenElement || performance.now() - leftFullscreenAt < 500) {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      return;
    }
    if (!playing || ended || answer) return;
    ask('게임을 끝낼까요?', 'End the game?').then((yes) => yes && push(EV.key, 0, 0, 0, 1));
  });
  document.addEventListener('visibilitychange', () => {
    push(EV.activate, 0, 0, document.hidden ? 0 : 1);
    soundShown();
  });

  // ---- Fingers -----------------------------------------------------------------
  // A finger is not a mouse: it covers what it touches, it drags, it rests,
  // and other fingers join it. The game has one pointer and a left button,
  // and these rules decide what a finger makes of them, pass by pass; the
  // game's own rules are untouched.
  // - Only a finger that comes down on the frame counts, and the newest such
  //   finger plays. A finger that came down beside or below the frame does
  //   nothing, and keeps no other finger from playing.
  // - A tap (lifted within HOLD_MS, having moved less than SLOP CSS pixels)
  //   is a click exactly where the finger was: the pointer goes there and
  //   the button is pressed and released. Edge cells are cells like others.
  // - A finger held still for HOLD_MS rests: the pointer rests under it, as
  //   a mouse's does (an opened cell's hint lines show). Within EDGE_BAND CSS
  //   pixels of the frame's edge, the pointer goes to the frame's outermost
  //   pixel there, and the view scrolls that way as under a mouse at the
  //   edge. Lifting a resting finger clicks nothing.
  // - A finger that moves SLOP or more drags the map: the view follows the
  //   finger, a cell for about each cell's width dragged, the pointer put at
  //   the frame's edge for one pass per cell (where the game scrolls); it
  //   opens nothing. While the view cannot scroll (an event window, the
  //   rocket), a drag moves the pointer under the finger instead: the
  //   player's figure dodges with it.
  // - When the finger lifts, the pointer moves to where the view stands
  //   still (off the outermost rows and columns, and from below the map up
  //   onto its last row or across onto the buttons): a mouse moves on of
  //   itself, a finger leaves the pointer where it was.

  const HOLD_MS = 350;
  const SLOP = 10;
  const EDGE_BAND = 24;
  const CELL = 40;
  let finger = null;  // the finger that plays, while it is down
  const pan = [0, 0];  // cells the view still has to move, by column and row
  let lifted = null;  // where the last finger lifted, for the pointer to rest near

  // The edge band a point is in: -1, 0 or 1 across and down.
  function band(e) {
    const r = canvas.getBoundingClientRect();
    const side = (at, start, size) => (at < start + EDGE_BAND ? -1 : at >= start + size - EDGE_BAND ? 1 : 0);
    return [side(e.clientX, r.left, r.width), side(e.clientY, r.top, r.height)];
  }
  // Where the field scrolls: the outermost columns, the top row, and below
  // the map outside the panel's buttons.
  function scrolls(x, y) {
    return x < 1 || x > 638 || y < 1 || (y > 358 && (x < 450 || y > 460));
  }
  function restingPoint([x, y]) {
    x = Math.min(Math.max(x, 1), 638);
    y = Math.max(y, 1);
    if (!scrolls(x, y)) return [x, y];
    // Below the map: up onto its last row, or across onto the buttons,
    // whichever is nearer.
    const across = [Math.max(x, 450), Math.min(y, 460)];
    return across[0] - x + (y - across[1]) < y - 358 ? across : [x, 358];
  }
  // The point at the frame's edge where the view scrolls by [dx, dy] cells'
  // signs: the outermost column, the top row, and the panel's bottom; from
  // `at` along an edge.
  const edgePoint = ([dx, dy], at = [320, 180]) =>
    [dx > 0 ? 639 : dx < 0 ? 0 : at[0], dy > 0 ? 479 : dy < 0 ? 0 : Math.min(at[1], 358)];
  const viewHeld = () => gameState('gEventOpen') === 1 || gameState('gRocketActive') === 1;

  function fingerDown(e) {
    if (e.target !== canvas) return;
    const at = framePoint(e);
    finger = { id: e.pointerId, from: [e.clientX, e.clientY], downAt: performance.now(), at,
               band: band(e), mode: 'touch', dragged: [0, 0], cssToFrame: FRAME_W / canvas.getBoundingClientRect().width };
    pan[0] = pan[1] = 0;
    if (playing) pointTo(at);
  }
  function fingerMove(e) {
    if (!finger || e.pointerId !== finger.id) return;
    const at = framePoint(e);
    const moved = [e.clientX - finger.from[0], e.clientY - finger.from[1]];
    if (finger.mode !== 'drag') {
      if (Math.hypot(...moved) < SLOP) return;
      finger.mode = 'drag';
    }
    finger.from = [e.clientX, e.clientY];
    finger.at = at;
    finger.band = band(e);
    if (viewHeld()) {
      pointTo(at);
      return;
    }
    // The view follows the finger: dragged left, it moves right.
    for (const i of [0, 1]) {
      finger.dragged[i] += moved[i] * finger.cssToFrame;
      const cells = Math.round(-finger.dragged[i] / CELL);
      pan[i] += cells;
      finger.dragged[i] += cells * CELL;
    }
  }
  function fingerUp(e) {
    if (!finger || e.pointerId !== finger.id) return;
    const { mode, at } = finger;
    finger = null;
    lifted = at;
    if (e.type === 'pointerup') gesture();
    if (mode === 'touch' && e.type === 'pointerup') {
      click(at);  // the pointer comes to rest after the pass that sees it
    } else if (!pan[0] && !pan[1] && heldPasses === 0) {
      pointTo(restingPoint(at));
      lifted = null;
    }
  }
  // Each pass: a finger that has held still rests, the view moves a cell
  // towards where a drag took it, and a lifted finger leaves the pointer at
  // rest.
  function fingerPass() {
    if (finger && finger.mode === 'touch' && performance.now() - finger.downAt >= HOLD_MS) {
      finger.mode = 'rest';
    }
    if ((pan[0] || pan[1]) && !viewHeld()) {
      const step = [Math.sign(pan[0]), Math.sign(pan[1])];
      pan[0] -= step[0];
      pan[1] -= step[1];
      pointTo(edgePoint(step));
      return;
    }
    pan[0] = pan[1] = 0;
    if (finger && finger.mode === 'rest' && (finger.band[0] || finger.band[1])) {
      pointTo(edgePoint(finger.band, finger.at));
    } else if (finger && finger.mode !== 'touch') {
      pointTo(restingPoint(finger.at));
    } else if (lifted && heldPasses === 0) {
      pointTo(restingPoint(lifted));
      lifted = null;
    }
  }

  // ---- Downloads -----------------------------------------------------------------
  // A worker of the page's (fetch_worker.js, which says how) downloads the
  // files and unpacks them, so that neither their arrival nor their
  // inflating and copying holds this thread. Bytes are counted into the bar
  // as they arrive. A download that fails or stalls for STALL_MS is told,
  // and on the retry continues from the byte it had reached; a damaged file
  // is told, and the retry fetches it again. The title's picture comes
  // first, in a pack of its own, with the program; the data kit and the
  // language pack follow once those have arrived, so that nothing competes
  // with them.

  const languagePack = BUILD.languages[language] !== undefined ? `lang-${language}.pack` : null;
  const titleLanguage = languagePack && BUILD.titles[language] !== undefined ? language : 'ko';
  const TITLE = titleLanguage === 'ko' ? 'title.pack' : `title-${titleLanguage}.pack`;
  const total = BUILD.program + BUILD.wasm + (BUILD.titles[titleLanguage] || 0) + BUILD.pack +
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

  let fetcher = null;
  let jobs = 0;
  const answers = new Map();
  const compiling = new Set();  // jobs whose answer is a compiled module
  function fetchWorker() {
    if (fetcher) return fetcher;
    fetcher = new Worker('fetch_worker.js');
    fetcher.onmessage = ({ data }) => {
      if (data.progress) {
        progress(data.progress);
        return;
      }
      answers.get(data.job)(data);
      answers.delete(data.job);
    };
    // A compiled module the page's browser cannot take from a worker: its
    // job is asked again for the bytes.
    fetcher.onmessageerror = () => {
      for (const [job, answer] of answers) {
        if (compiling.has(job)) answer({ uncompiled: true });
      }
    };
    fetcher.onerror = () => {
      fetcher = null;
      for (const answer of answers.values()) answer({ failed: 'fetch_worker.js could not be started' });
      answers.clear();
    };
    return fetcher;
  }
  // The worker's answer to a job (see fetch_worker.js).
  function fetched(message, transfer = []) {
    if (message.compile) compiling.add(message.job);
    return new Promise((resolve) => {
      answers.set(message.job, (answer) => {
        compiling.delete(message.job);
        resolve(answer);
      });
      fetchWorker().postMessage(message, transfer);
    });
  }
  // A file's bytes, or a pack's files as a map of names to bytes.
  // (With a `picture`, the map's `rgba` holds that picture for the canvas,
  // when the worker could convert it; with `compile`, a WebAssembly file
  // may come as its compiled module.)
  async function unpacked(name, tar = false, picture = '', compile = false) {
    for (let job = ++jobs; ;) {
      const { bytes, files, rgba, module, uncompiled, http, stalled, failed, broken } = await fetched(
        { job, url: name, stallMs: STALL_MS, native: !!window.DecompressionStream, tar, picture, compile });
      if (module) return module;
      if (uncompiled) {
        compile = false;
        job = ++jobs;
        continue;
      }
      if (bytes && !tar) return bytes;
      if (bytes) return Object.assign(new Map(files.map(([file, at, size]) => [file, bytes.subarray(at, at + size)])), { rgba });
      if (broken) {
        await problem(`${name}이(가) 손상되었습니다 (${broken}).`, `${name} is damaged (${broken}).`);
        job = ++jobs;
      } else if (http) {
        await problem(`${name}을(를) 받지 못했습니다 (HTTP ${http}).`, `${name} could not be downloaded (HTTP ${http}).`);
      } else if (stalled) {
        await problem(`${name}을(를) 받는 일이 ${STALL_MS / 1000}초 동안 멈춰 있습니다.`,
          `The download of ${name} has stalled for ${STALL_MS / 1000} seconds.`);
      } else {
        await problem(`${name}을(를) 받는 중에 연결이 끊어졌습니다 (${failed}).`,
          `The connection broke while downloading ${name} (${failed}).`);
      }
    }
  }

  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const s = document.createElement('script');
      s.src = src;
      s.onload = resolve;
      s.onerror = () => reject(new Error(`${src} could not be loaded`));
      document.head.appendChild(s);
    });
  }

  // ---- Sound -----------------------------------------------------------------
  // The output (audio.js) plays blocks of the mix in order: an AudioWorklet,
  // on the browser's audio thread; where a page has none (AudioWorklet
  // needs a secure page: HTTPS or this machine), the same player on this
  // thread under a ScriptProcessorNode. The game mixes its effects on this
  // thread, where it runs, a block at a time, and the page posts the blocks
  // to the output, keeping LEAD frames ahead of what it has played. Once
  // the music's synthesizer runs, in a worker of its own (synth_worker.js),
  // the blocks go through it: it renders the music for each, its messages
  // riding with the block at their frames, and hands the block on to the
  // output. A hidden tab suspends the audio, and showing it resumes; the
  // game is stopped meanwhile, so nothing is mixed.

  const BLOCK = 1024;
  const LEAD = 3072;
  let audio = null;
  let output = null;   // the output's port, once it plays
  let outputLoaded = null;
  let synth = null;    // the synthesizer's worker, once it runs
  let mixBuffer = 0;
  let outputOpen = false;
  let clicked = false;
  let posted = 0;
  let played = 0;
  let musicEvents = [];
  const heard = { peak: 0, frames: 0, longestWaitMs: 0 };
  // A quiet game lets its audio rest: once REST_FRAMES have been mixed with
  // no effect sounding and no tune playing, the context is suspended, which
  // stops the browser's audio thread and device (a few per cent of a core
  // on a still screen). The next sound, seen at the pass that starts it, or
  // a click resumes it; the silence still queued plays first, so that sound
  // comes no later than any other.
  const REST_FRAMES = 2 * 44100;
  let quietFrames = 0;
  let resting = false;

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
    // A browser that lets it run before a click plays nothing on it: it
    // rests until then.
    if (!clicked) audio.suspend().catch(() => {});
    outputLoaded = (audio.audioWorklet && window.AudioWorkletNode ? workletOutput() : pageOutput()).then((node) => {
      output = node.port;
      output.onmessage = (e) => fromOutput(e.data);
      node.connect(audio.destination);
      feed();
    });
    outputLoaded.catch((e) => console.warn(`Vedo Zeza1: no sound output (${e.message || e}).`));
  }
  async function workletOutput() {
    await audio.audioWorklet.addModule('audio.js');
    return new AudioWorkletNode(audio, 'vedo-output', { numberOfInputs: 0, outputChannelCount: [2] });
  }
  // The player on this thread: audio.js, given what a worklet's scope has.
  async function pageOutput() {
    const channel = new MessageChannel();
    let player = null;
    window.AudioWorkletProcessor = class { constructor() { this.port = channel.port1; } };
    window.registerProcessor = (name, Player) => { player = new Player(); };
    await loadScript('audio.js');
    const node = audio.createScriptProcessor(2 * BLOCK, 0, 2);
    node.onaudioprocess = ({ outputBuffer: out }) =>
      player.process([], [[out.getChannelData(0), out.getChannelData(1)]]);
    return { port: channel.port2, connect: (to) => node.connect(to) };
  }

  function fromOutput(message) {
    played = message.played;
    heard.frames = played;
    heard.peak = Math.max(heard.peak, message.peak);
    heard.longestWaitMs = Math.max(heard.longestWaitMs, message.waitedMs);
    feed();
  }

  // Mixes and posts blocks until the output has LEAD frames to play.
  function feed() {
    if (!output || !clicked || !outputOpen || !playing || ended || document.hidden) return;
    if (resting) {
      if (Module._vedo_audio_quiet()) return;
      wake();
    }
    if (!mixBuffer) mixBuffer = Module._malloc(BLOCK * 4);
    while (posted - played < LEAD) {
      const music = Module._vedo_audio_mix(mixBuffer, BLOCK) > 0;
      const pcm = Module.HEAP16.slice(mixBuffer >> 1, (mixBuffer >> 1) + 2 * BLOCK);
      (synth || output).postMessage({ seq: posted, pcm, music, events: musicEvents }, [pcm.buffer]);
      musicEvents = [];
      posted += BLOCK;
      quietFrames = Module._vedo_audio_quiet() ? quietFrames + BLOCK : 0;
    }
    if (quietFrames >= REST_FRAMES && audio.state === 'running') {
      resting = true;
      audio.suspend().catch(() => {});
    }
  }

  function wake() {
    resting = false;
    quietFrames = 0;
    if (audio && audio.state !== 'running' && !document.hidden) audio.resume().then(feed, () => {});
  }

  // Browsers let sound start only from a click, a key or a lifted finger.
  function gesture() {
    if (ended) return;
    if (!clicked) {
      clicked = true;
      figures.clickMs = performance.now();
    }
    openSound();
    wake();
    // The first blocks' mix waits for a task of its own: only the resuming
    // needs the gesture.
    setTimeout(feed, 0);
  }

  function soundShown() {
    if (!audio || ended) return;
    if (document.hidden) audio.suspend().catch(() => {});
    else if (clicked && !resting) audio.resume().then(feed, () => {});
  }

  // The music's synthesizer (js-synthesizer, FluidSynth in WebAssembly) and
  // soundfont (6.5 MB) serve only the ending, so they come after the game's
  // first frame, in the background, and start in the synthesizer's worker,
  // off this thread and off the output's: its start and the soundfont's
  // read, tens of milliseconds in one piece, silenced the effects when they
  // held the output's thread. The soundfont goes from the download worker
  // straight to the synthesizer's. The output takes the synthesizer when it
  // is ready; if it never is, the music is silent after one console line.
  let synthState = 'loading';
  async function loadSynth() {
    const start = performance.now();
    try {
      await outputLoaded;
      if (!output) throw new Error('there is no audio output');
      const worker = new Worker('synth_worker.js');
      const started = new Promise((resolve, reject) => {
        worker.onmessage = (e) => resolve(e.data);
        worker.onerror = () => reject(new Error('synth_worker.js could not be started'));
      });
      started.catch(() => {});
      const font = new MessageChannel();
      const blocks = new MessageChannel();
      output.postMessage({ blocks: blocks.port1 }, [blocks.port1]);
      worker.postMessage({ soundfont: font.port1, output: blocks.port2 }, [font.port1, blocks.port2]);
      const sent = await fetched({ job: ++jobs, url: SOUNDFONT, stallMs: STALL_MS, port: font.port2 }, [font.port2]);
      if (!sent.done) {
        throw new Error(sent.http ? `no soundfont at ${SOUNDFONT} beside the page (HTTP ${sent.http})`
          : sent.stalled ? `${SOUNDFONT} stalled` : sent.broken || sent.failed);
      }
      const reply = await started;
      if (reply.synthFailed) throw new Error(reply.synthFailed);
      synth = worker;
      Module.vedoPage.synthReady = true;
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

  // ---- The program ------------------------------------------------------------

  // First the title's picture, alone, which the page shows itself; then the
  // program and its WebAssembly (the audio context is made meanwhile); then
  // the rest of the data. Nothing before the picture competes with it.
  // The worker converts the kit's picture for the canvas (fetch_worker.js);
  // a picture in another form waits for the game's reader (game_main.cpp).
  const titleFiles = unpacked(TITLE, true, TITLE === 'title.pack' ? 'Title.bmp' : `${titleLanguage}/Title.bmp`);
  titleFiles.then((files) => {
    if (files.rgba) Module.vedoPage.showTitle(files.rgba, 640, 480);
  });
  // The WebAssembly is compiled in the download worker, off this thread.
  let wasmBytes = titleFiles.then(() => unpacked(WASM, false, '', true));
  let programLoaded = null;
  function loadProgram() {
    programLoaded = loadScript(PROGRAM).then(() => {
      progress(BUILD.program);
      VedoZeza1(Module);
    }, () => problem(`${PROGRAM}을(를) 불러오지 못했습니다.`, `${PROGRAM} could not be loaded.`)
      .then(loadProgram));
    return programLoaded;
  }
  const rest = Promise.all([wasmBytes, titleFiles.then(loadProgram)]).then(() => Promise.all([
    unpacked(PACK, true),
    languagePack ? unpacked(languagePack, true) : Promise.resolve(new Map())]));
  if (navigator.mediaDevices && navigator.mediaDevices.enumerateDevices) {
    // Listing the media devices first has Chromium start its audio without
    // holding the page's thread; the context is then made in a few
    // milliseconds.
    navigator.mediaDevices.enumerateDevices().catch(() => {}).then(openSound);
  } else {
    openSound();
  }

  // The files into the program's file system: the kit's into the data
  // folder, a language's under lang/. The file system keeps the unpacked
  // bytes themselves, no copy. The kit's hundreds of files take tens of
  // milliseconds on a slow phone, so they are written a few milliseconds
  // at a time, the page's other tasks running between.
  const folders = new Set();
  async function writeFiles(files, folder) {
    const FS = Module.FS;
    let since = performance.now();
    for (const [name, bytes] of files) {
      const within = folder + name.replace(/[^/]*$/, '');
      if (!folders.has(within)) FS.mkdirTree(within);
      folders.add(within);
      FS.writeFile(folder + name, bytes, { canOwn: true });
      if (performance.now() - since > 4) {
        await new Promise((resolve) => setTimeout(resolve, 0));
        since = performance.now();
      }
    }
  }
  // The game plays on without a picture, but the player should know why the
  // screen is black.
  function checkPictures() {
    const has = (name) => ['/data/', `/data/lang/${language}/`]
      .some((folder) => Module.FS.analyzePath(folder + name).exists);
    for (const name of ['Title.bmp', 'warning.bmp']) {
      if (!has(name)) {
        note(`데이터에 ${name}이(가) 없어서 그 화면이 검게 보입니다.`,
          `${name} is missing from the data, so its screen shows black.`);
      }
    }
  }

  function gameEnded(code, file, damaged) {
    ended = true;
    outputOpen = false;
    if (answer) answer(false);
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    $('loading').hidden = true;
    if (code !== 0) {
      // A start-up failure: the game's own messages are above; say what it
      // means, and name the file when one was missing or damaged.
      const text = $('ended-text');
      text.textContent = '';
      text.appendChild(lines('게임을 시작하지 못했습니다.', 'The game could not start.'));
      if (file && damaged) {
        text.appendChild(lines(`데이터 팩의 ${file}이(가) 손상되었습니다. 페이지를 새로 고쳐 보십시오. 그래도 같다면 이 사이트의 게임이 손상된 것입니다.`,
          `${file} in the data pack is damaged. Reload the page; if it happens again, this site's copy of the game is damaged.`));
      } else if (file) {
        text.appendChild(lines(`데이터 팩에 ${file}이(가) 없습니다.`, `${file} is missing from the data pack.`));
      }
    }
    $('ended').hidden = false;
    console.log('Vedo Zeza1: the game has ended (' + code + ')');
  }

  let frameImage = null;
  let frameAt = 0;
  function frameShown(now) {
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
  }

  // ---- Recordings ----------------------------------------------------------------
  // The game hands over each finished game's recording: the last 20 are kept
  // in the page's IndexedDB, and the newest can be saved as a file. A
  // recording to watch (from the picker, or dropped on the page) is played
  // by the page started afresh, which finds it in the tab's session storage.
  const KEPT_RECORDINGS = 20;
  const WATCH_KEY = 'vedo-zeza1-watch';
  const saveButton = $('save-recording');
  let newestRecording = null;
  function recordings(mode, use) {
    if (!window.indexedDB) return;
    const open = indexedDB.open('vedo-zeza1-recordings', 1);
    open.onupgradeneeded = () => open.result.createObjectStore('games', { autoIncrement: true });
    open.onsuccess = () => use(open.result.transaction('games', mode).objectStore('games'));
    open.onerror = () => console.log('Vedo Zeza1: no recordings kept (' + open.error + ')');
  }
  function offerRecording(recording) {
    newestRecording = recording;
    saveButton.hidden = false;
    layout();
  }
  function keepRecording(bytes) {
    const t = new Date();
    const two = (n) => String(n).padStart(2, '0');
    const name = `vedo-zeza1-${t.getFullYear()}${two(t.getMonth() + 1)}${two(t.getDate())}-` +
      `${two(t.getHours())}${two(t.getMinutes())}${two(t.getSeconds())}.vzr`;
    offerRecording({ name, bytes });
    recordings('readwrite', (store) => {
      store.add({ name, bytes });
      const keys = store.getAllKeys();  // the oldest first, this one last
      keys.onsuccess = () => {
        for (const key of keys.result.slice(0, -KEPT_RECORDINGS)) store.delete(key);
      };
    });
  }
  // The newest kept game can be saved from the start.
  recordings('readonly', (store) => {
    const newest = store.openCursor(null, 'prev');
    newest.onsuccess = () => {
      if (newest.result && !newestRecording) offerRecording(newest.result.value);
    };
  });
  saveButton.addEventListener('click', () => {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(new Blob([newestRecording.bytes]));
    a.download = newestRecording.name;
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  });
  function watch(file) {
    if (!file) return;
    file.arrayBuffer().then((buffer) => {
      const bytes = new Uint8Array(buffer);
      let text = '';  // the bytes as the characters 0 to 255
      for (let i = 0; i < bytes.length; i += 8192) {
        text += String.fromCharCode(...bytes.subarray(i, i + 8192));
      }
      sessionStorage.setItem(WATCH_KEY, text);
      location.reload();
    }).catch((e) => note(`${file.name}을(를) 재생할 수 없습니다 (${e.message}).`,
      `${file.name} cannot be played (${e.message}).`));
  }
  $('watch').addEventListener('click', () => $('watch-file').click());
  $('watch-file').addEventListener('change', (e) => watch(e.target.files[0]));
  addEventListener('dragover', (e) => e.preventDefault());
  addEventListener('drop', (e) => {
    e.preventDefault();
    watch(e.dataTransfer.files[0]);
  });
  const watched = sessionStorage.getItem(WATCH_KEY);
  sessionStorage.removeItem(WATCH_KEY);
  function playbackEnded(line, asRecorded) {
    note(asRecorded ? '기록이 기록된 대로 재생되었습니다.' : '기록을 끝까지 재생하지 못했습니다.',
      'The recording: ' + line);
  }

  const Module = {
    canvas,
    // The WebAssembly is compiled from the downloaded bytes (in the
    // download worker, or here where its module could not come), so a
    // host's MIME type for it does not matter.
    instantiateWasm(imports, receive) {
      (async () => {
        for (;;) {
          const bytes = await wasmBytes;
          // The program's script has just run its start in this task;
          // the instantiation takes the next.
          await new Promise((resolve) => setTimeout(resolve, 0));
          try {
            if (bytes instanceof WebAssembly.Module) {
              figures.wasmCompiledIn = 'worker';
              receive(await WebAssembly.instantiate(bytes, imports), bytes);
              return;
            }
            const { instance, module } = await WebAssembly.instantiate(bytes, imports);
            figures.wasmCompiledIn = 'page';
            receive(instance, module);
            return;
          } catch (e) {
            await problem(`${WASM}이(가) 손상되었습니다 (${e.message}).`, `${WASM} is damaged (${e.message}).`);
            wasmBytes = unpacked(WASM, false, '', true);
          }
        }
      })();
      return {};
    },
    // The program starts with the title's picture in its file system (main()
    // shows it if the page could not) and waits for the rest
    // (vedoPage.dataArrived).
    preRun: [() => {
      Module.addRunDependency('title');
      titleFiles.then(async (files) => {
        Module.FS.mkdir('/data');
        await writeFiles(files, TITLE === 'title.pack' ? '/data/' : '/data/lang/');
        Module.FS.chdir('/data');
        Module.removeRunDependency('title');
        rest.then(async ([files, languageFiles]) => {
          await writeFiles(files, '/data/');
          await writeFiles(languageFiles, '/data/lang/');
          // Every language of the site has its folder, so that the game's
          // options list it; a pack not downloaded comes with a new start.
          for (const name of Object.keys(BUILD.languages)) Module.FS.mkdirTree('/data/lang/' + name);
          checkPictures();
          playing = true;
          Module.vedoPage.dataArrived = true;
        });
      });
    }],
    // The program's start (its static constructors) and its main's first
    // steps are a task each.
    noInitialRun: true,
    onRuntimeInitialized() {
      if (testing) Module._vedo_test_enable();
      started = true;
      setTimeout(() => Module.callMain([]), 0);
    },
    onAbort(what) {
      problem(`게임이 오류로 멈췄습니다 (${what}).`, `The game stopped with an error (${what}).`)
        .then(() => location.reload());
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    vedoPage: {
      dataArrived: false,
      get titleShown() { return figures.firstFrameMs >= 0; },
      synthReady: false,
      get synthFailed() { return synthState === 'failed'; },
      debugSettings: params.get('set') || '',
      // The address's language, which holds for this visit over the settings.
      language: validLanguage(params.get('lang')) ? params.get('lang') : '',
      readSettings: () => stored.get(SETTINGS_KEY),
      writeSettings(text) {
        const kept = stored.set(SETTINGS_KEY, text);
        showMute();
        return kept;
      },
      setSettingsAside() {
        stored.set(SETTINGS_KEY + '.bad', stored.get(SETTINGS_KEY));
        stored.set(SETTINGS_KEY, null);
      },
      restart: restartIn,
      // Full screen as the game asks (null: as it is), and sharp pixels.
      display(full, whole) {
        sharp = whole;
        layout();
        if (full === true && !document.fullscreenElement && document.fullscreenEnabled) {
          document.documentElement.requestFullscreen({ navigationUI: 'hide' }).catch(() => {});
        } else if (full === false && document.fullscreenElement) {
          document.exitFullscreen().catch(() => {});
        }
      },
      fullScreen: () => !!document.fullscreenElement,
      // A screenshot, as a download.
      download(bytes, name) {
        const url = URL.createObjectURL(new Blob([bytes], { type: 'image/png' }));
        const a = document.createElement('a');
        a.href = url;
        a.download = name;
        a.click();
        setTimeout(() => URL.revokeObjectURL(url), 10000);
      },
      showTitle(rgba, width, height) {
        if (figures.firstFrameMs >= 0) return;  // the page has shown it
        const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
        context.putImageData(new ImageData(pixels, width, height), 0, 0);
        figures.firstFrameMs = performance.now();
      },
      // Each pass's frame (null when it equals the one on the canvas; else
      // rows from `top` up to `bottom` changed), and the page's turn to
      // decide what the game sees in the next pass.
      present(rgba, width, height, top, bottom) {
        if (rgba) {
          // One picture over the program's frame while it stays where it is,
          // not one a pass for the garbage collector.
          if (!frameImage || frameImage.data.buffer !== rgba.buffer || frameAt !== rgba.byteOffset ||
              frameImage.width !== width || frameImage.height !== height) {
            frameImage = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4),
              width, height);
            frameAt = rgba.byteOffset;
          }
          context.putImageData(frameImage, 0, 0, 0, top, width, bottom - top);
          figures.framesDrawn++;
        }
        const now = performance.now();
        if (figures.gameFrameMs < 0) gameRuns(now);
        frameShown(now);
        holdClick();
        fingerPass();
        feed();
      },
      messageBox(caption, text) {
        const p = document.createElement('p');
        p.textContent = caption + ': ' + text;
        $('messages').appendChild(p);
      },
      gameEnded,
      watch: watched === null ? null : Uint8Array.from(watched, (c) => c.charCodeAt(0)),
      keepRecording,
      playbackEnded,
      audioOpened() { outputOpen = true; },
      audioClosed() { outputOpen = false; },
      // The synthesizer's messages, stamped with their frame in the block
      // being mixed (-1 outside one: the next block's start).
      music: {
        send(kind, channel, a, b, at) { musicEvents.push([Math.max(at, 0), kind, channel, a, b]); },
        sysex(bytes, at) { musicEvents.push([Math.max(at, 0), -1, 0, bytes, 0]); },
      },
    },
  };

  // The game's first frame. The web app manifest, which makes the page
  // installable, is linked only now: its icons, which the browser fetches
  // when it sees it, came before the title's picture.
  function gameRuns(now) {
    figures.gameFrameMs = now;
    const manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    if (figures.firstFrameMs < 0) figures.firstFrameMs = now;
    $('loading').hidden = true;
    setTimeout(() => loadSynth().finally(keepOffline), 0);
  }

  // ---- Offline -------------------------------------------------------------------
  // A service worker keeps the site under the build's version (see sw.js).
  // It is registered once the music has arrived, so that its copying never
  // competes with the game's own downloads; it is told which language this
  // page plays in, whose pack it keeps too.
  function keepOffline() {
    if (!('serviceWorker' in navigator) || ended) return;
    navigator.serviceWorker.register('sw.js').then(() => navigator.serviceWorker.ready).then((r) => {
      if (languagePack && r.active) r.active.postMessage({ keep: [languagePack, TITLE] });
    }).catch((e) => {
      console.log('Vedo Zeza1: no offline copy (' + e.message + ')');
    });
  }

  $('restart').addEventListener('click', () => location.reload());

  window.vedoFigures = {
    figures,
    version: BUILD.version,
    frameCostMs: () => (playing ? Module._vedo_frame_cost_ms() : 0),
    passes: () => (playing ? Module._vedo_passes() : 0),
  };
  if (testing) {
    window.vedoTest = {
      started: () => started,
      playing: () => playing,
      ended: () => ended,
      run: (passes) => Module._vedo_test_run(passes),
      idle: () => playing && !ended && Module._vedo_test_idle() === 1,
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
      set: (settings) => {
        const p = Module.allocateUTF8(settings);
        Module._vedo_debug_set(p);
        Module._free(p);
      },
      synthReady: () => Module.vedoPage.synthReady,
      audioState: () => (audio ? audio.state : 'none'),
      heard,
      figures,
      frameCostMs: () => Module._vedo_frame_cost_ms(),
    };
  }
})();
