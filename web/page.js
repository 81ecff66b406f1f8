// The page around the game: the canvas and its scaling, input, the data
// files, message boxes, the end of the game, sound and music.
//
// Address options: "?test" switches on the test hook (window.vedoTest): the
// game then runs pass by pass as the test grants, on the replay tool's
// clock, and the sound output is measured. "?set=name=value,..." sets
// game-state values before the first pass, as VEDO_DEBUG_SET does on Linux.
'use strict';

(function () {
  const params = new URLSearchParams(location.search);
  const testing = params.has('test');
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const messages = document.getElementById('messages');
  const FRAME_W = 640;
  const FRAME_H = 480;
  // Event types as the game's platform layer numbers them.
  const EV = { activate: 1, move: 2, leftDown: 3, leftUp: 4, rightDown: 5, rightUp: 6, key: 7 };
  // What the page measures of itself (window.vedoFigures): the time from the
  // page's start to the first frame, the soundfont's load, the audio
  // context's making, the gaps between frames, and the longest of them in
  // the second after the first click (when the sound starts).
  const figures = { firstFrameMs: -1, soundfontMs: -1, lastFrameMs: -1, longestGapMs: 0,
                    gapsOver20Ms: 0, frames: 0, longestGapEndMs: -1,
                    soundfontReadyMs: -1, soundOpenMs: -1, clickMs: -1, clickGapMs: 0 };
  let started = false;
  let ended = false;

  function layout() {
    const scale = Math.min(innerWidth / FRAME_W, innerHeight / FRAME_H);
    const w = Math.floor(FRAME_W * scale);
    const h = Math.floor(FRAME_H * scale);
    canvas.style.width = w + 'px';
    canvas.style.height = h + 'px';
    canvas.style.left = Math.floor((innerWidth - w) / 2) + 'px';
    canvas.style.top = Math.floor((innerHeight - h) / 2) + 'px';
  }
  addEventListener('resize', layout);
  layout();

  // ---- Input ---------------------------------------------------------------

  function push(type, x, y, active, key) {
    if (started && !ended) Module._vedo_push_event(type, x, y, active, key);
  }
  function framePoint(e) {
    const r = canvas.getBoundingClientRect();
    const x = Math.floor(((e.clientX - r.left) * FRAME_W) / r.width);
    const y = Math.floor(((e.clientY - r.top) * FRAME_H) / r.height);
    return [Math.min(Math.max(x, 0), FRAME_W - 1), Math.min(Math.max(y, 0), FRAME_H - 1)];
  }
  addEventListener('mousemove', (e) => push(EV.move, ...framePoint(e), 0, 0));
  addEventListener('mousedown', (e) => {
    firstClick();
    if (e.button === 0) push(EV.leftDown, ...framePoint(e), 0, 0);
    if (e.button === 2) push(EV.rightDown, ...framePoint(e), 0, 0);
  });
  addEventListener('mouseup', (e) => {
    if (e.button === 0) push(EV.leftUp, ...framePoint(e), 0, 0);
    if (e.button === 2) push(EV.rightUp, ...framePoint(e), 0, 0);
  });
  addEventListener('contextmenu', (e) => e.preventDefault());
  addEventListener('keydown', (e) => {
    push(EV.key, 0, 0, 0, e.key === 'Escape' ? 1 : 0);
  });
  document.addEventListener('visibilitychange', () => {
    push(EV.activate, 0, 0, document.hidden ? 0 : 1, 0);
  });

  // Browsers allow full screen and sound only from a click.
  let clicked = false;
  function firstClick() {
    if (clicked || ended) return;
    clicked = true;
    if (!testing && document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(() => {});
    }
    startSound();
  }

  // ---- Sound -----------------------------------------------------------------

  const BLOCK = 2048;
  let audio = null;
  let node = null;
  let mixBuffer = 0;
  let outputOpen = false;
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

  function startSound() {
    figures.clickMs = performance.now();
    openSound();
    if (audio) audio.resume();
  }

  // The synthesizer and the soundfont, read while the data downloads; the
  // game's output takes the synthesizer when it opens (or when it arrives).
  let soundfontPresent = false;
  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const s = document.createElement('script');
      s.src = src;
      s.onload = resolve;
      s.onerror = reject;
      document.head.appendChild(s);
    });
  }
  async function loadSynth() {
    const start = performance.now();
    soundfontPresent = await fetch('TimGM6mb.sf2', { method: 'HEAD' }).then((r) => r.ok, () => false);
    if (!soundfontPresent) return;
    try {
      const [font] = await Promise.all([
        fetch('TimGM6mb.sf2').then((r) => r.arrayBuffer()),
        loadScript('synth/libfluidsynth-2.4.6.js').then(() => loadScript('synth/js-synthesizer.min.js')),
      ]);
      await JSSynth.waitForReady();
      JSSynth.disableLogging && JSSynth.disableLogging();
      const synth = new JSSynth.Synthesizer();
      synth.init(44100);
      synth.setGain(0.6);  // the Linux build's gain
      await synth.loadSFont(font);
      Module.vedoPage.synth = synth;
      figures.soundfontReadyMs = performance.now();
      figures.soundfontMs = figures.soundfontReadyMs - start;
      // Before the program runs, the output finds it there when it opens.
      if (started && !ended) Module._vedo_synth_arrived(figures.soundfontMs);
    } catch (e) {
      console.warn('Vedo Zeza1: the synthesizer did not load (' + e + '); music is silent.');
      Module.vedoPage.synth = null;
      if (started && !ended) Module._vedo_synth_arrived(-1);
    }
  }

  // ---- The program ------------------------------------------------------------

  async function loadData() {
    const list = await fetch('files.txt').then((r) => (r.ok ? r.text() : ''));
    const FS = Module.FS;
    FS.mkdir('/data');
    await Promise.all(
      list.split('\n').filter((n) => n.trim()).map(async (name) => {
        const r = await fetch(encodeURIComponent(name.trim()));
        // A missing file stays missing: the game says so as on Linux.
        if (r.ok) FS.writeFile('/data/' + name.trim(), new Uint8Array(await r.arrayBuffer()));
      }));
    FS.chdir('/data');
  }

  const Module = {
    canvas,
    preRun: [() => {
      Module.addRunDependency('data');
      // The synthesizer's start and the soundfont's read hold the page's
      // thread for up to a second; done beside the data's download, before
      // the first frame, they stall no frame of the game.
      Module.addRunDependency('synth');
      loadSynth().finally(() => Module.removeRunDependency('synth'));
      loadData().then(() => Module.removeRunDependency('data'), (e) => {
        Module.vedoPage.messageBox('Vedo Zeza1', 'The game files could not be read: ' + e);
      });
      // The audio context, with the requests already on their way. Listing
      // the media devices first has Chromium start its audio without
      // holding the page's thread, and the context is then made in a few
      // milliseconds; where the list is not to be had (an insecure page),
      // the context's own cost fills the wait.
      if (navigator.mediaDevices && navigator.mediaDevices.enumerateDevices) {
        navigator.mediaDevices.enumerateDevices().catch(() => {}).then(openSound);
      } else {
        openSound();
      }
    }],
    onRuntimeInitialized() {
      if (testing) Module._vedo_test_enable();
      started = true;
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    vedoPage: {
      synth: null,
      get soundfontPresent() { return soundfontPresent; },
      debugSettings: params.get('set') || '',
      present(rgba, width, height) {
        const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
        context.putImageData(new ImageData(pixels, width, height), 0, 0);
        const now = performance.now();
        if (figures.firstFrameMs < 0) figures.firstFrameMs = now;
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
        messages.appendChild(p);
      },
      gameEnded(code) {
        ended = true;
        outputOpen = false;
        if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
        document.getElementById('ended').hidden = false;
        console.log('Vedo Zeza1: the game has ended (' + code + ')');
      },
      audioOpened() { outputOpen = true; },
      audioClosed() { outputOpen = false; },
    },
  };
  // The program is built as a factory, so that its names stay out of the
  // page's global scope, where the synthesizer's own module lives.
  window.addEventListener('load', () => VedoZeza1(Module));
  document.getElementById('restart').addEventListener('click', () => location.reload());

  window.vedoFigures = {
    figures,
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
      state: (name) => {
        const p = Module.allocateUTF8(name);
        const v = Module._vedo_state(p);
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
