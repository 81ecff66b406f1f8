// The page's sound output, on the browser's audio thread (an AudioWorklet):
// it plays the blocks of the effects' mix that the page posts, in order,
// and adds the music, which the synthesizer renders here, beside it.
//
// The page's messages (its port):
//   { pcm: Int16Array, music: bool, events: [[at, kind, channel, a, b]...] }
//       a block of interleaved stereo; when `music`, the synthesizer renders
//       for its frames, each event sent at its frame `at` in the block (a
//       sysex is kind -1 with its bytes in `a`).
//   { soundfontPort: MessagePort }
//       where the soundfont will come, as { soundfont: ArrayBuffer }.
//   { startSynth: true }
//       js-synthesizer's worklet build is in this scope: with the soundfont,
//       start the synthesizer and read it; answered { synth: ms } or
//       { synthFailed: message }.
// Its answers besides: { played, peak } every PLAYED_EVERY frames played,
// the frames played so far and the loudest sample since the last answer,
// so that the page keeps the queue filled and can tell that sound was heard.
'use strict';

// FluidSynth's module decodes its WebAssembly from base64 with atob, which
// this scope lacks; its own stand-in builds a string a character at a time
// and held this thread for a long while. This one decodes in one pass.
if (typeof globalThis.atob !== 'function') {
  const ALPHABET = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/';
  const value = new Int16Array(128).fill(-1);
  for (let i = 0; i < 64; ++i) value[ALPHABET.charCodeAt(i)] = i;
  globalThis.atob = (text) => {
    const out = new Uint8Array(Math.floor((text.length * 3) / 4));
    let n = 0;
    let bits = 0;
    let count = 0;
    for (let i = 0; i < text.length; ++i) {
      const v = value[text.charCodeAt(i) & 127];
      if (v < 0) continue;
      bits = (bits << 6) | v;
      count += 6;
      if (count >= 8) {
        count -= 8;
        out[n++] = (bits >> count) & 255;
      }
    }
    let s = '';
    for (let i = 0; i < n; i += 8192) s += String.fromCharCode.apply(null, out.subarray(i, Math.min(n, i + 8192)));
    return s;
  };
}

const PLAYED_EVERY = 1024;
// js-synthesizer's channel calls, numbered as the game's bridge numbers them.
const CALLS = ['midiNoteOn', 'midiNoteOff', 'midiControl', 'midiKeyPressure', 'midiChannelPressure',
  'midiProgramChange', 'midiPitchBend', 'midiSystemReset', 'midiAllNotesOff', 'midiAllSoundsOff'];

class Output extends AudioWorkletProcessor {
  constructor() {
    super();
    this.queue = [];
    this.at = 0;  // the next frame of the first block
    this.event = 0;  // its next event
    this.played = 0;
    this.reported = 0;
    this.peak = 0;
    this.synth = null;
    // The synthesizer starts once its scripts are in this scope (startSynth)
    // and the soundfont has come through its own port, in either order.
    let scripts = false;
    let soundfont = null;
    const start = () => {
      if (scripts && soundfont) this.startSynth(soundfont);
    };
    this.port.onmessage = (e) => {
      if (e.data.pcm) {
        this.queue.push(e.data);
      } else if (e.data.soundfontPort) {
        e.data.soundfontPort.onmessage = (f) => {
          soundfont = f.data.soundfont;
          start();
        };
      } else if (e.data.startSynth) {
        scripts = true;
        start();
      }
    };
  }

  async startSynth(soundfont) {
    const start = currentTime;
    const begun = Date.now();
    try {
      const JSSynth = globalThis.JSSynth;
      if (!JSSynth) throw new Error('js-synthesizer is not in the worklet');
      await JSSynth.Synthesizer.waitForWasmInitialized();
      if (JSSynth.disableLogging) JSSynth.disableLogging();
      const synth = new JSSynth.Synthesizer();
      synth.init(sampleRate);
      synth.setGain(0.6);  // the Linux build's gain
      await synth.loadSFont(soundfont);
      this.synth = synth;
      this.port.postMessage({ synth: Date.now() - begun, audioTime: currentTime - start });
    } catch (e) {
      this.port.postMessage({ synthFailed: String((e && e.message) || e) });
    }
  }

  send(event) {
    const [, kind, channel, a, b] = event;
    const synth = this.synth;
    if (!synth) return;
    if (kind < 0) synth.midiSysEx(a);
    else if (kind >= 7) synth[CALLS[kind]]();
    else synth[CALLS[kind]](channel, a, b);
  }

  // Music for frames [from, to) of the output, the block's events sent at
  // their frames on the way.
  renderMusic(block, left, right, from, to) {
    let at = from;
    const base = this.at - from;  // the block's frame at the output's `from` is this.at
    while (at < to) {
      while (this.event < block.events.length && block.events[this.event][0] <= base + at) {
        this.send(block.events[this.event++]);
      }
      let until = to;
      if (this.event < block.events.length) until = Math.min(to, block.events[this.event][0] - base);
      if (this.synth) {
        const l = this.scratchL.subarray(0, until - at);
        const r = this.scratchR.subarray(0, until - at);
        this.synth.render([l, r]);
        for (let i = 0; i < l.length; ++i) {
          left[at + i] += l[i];
          right[at + i] += r[i];
        }
      }
      at = until;
    }
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    const size = left.length;
    if (!this.scratchL) {
      this.scratchL = new Float32Array(size);
      this.scratchR = new Float32Array(size);
    }
    let at = 0;
    while (at < size && this.queue.length) {
      const block = this.queue[0];
      const frames = block.pcm.length >> 1;
      const n = Math.min(size - at, frames - this.at);
      for (let i = 0; i < n; ++i) {
        left[at + i] = block.pcm[2 * (this.at + i)] / 32768;
        right[at + i] = block.pcm[2 * (this.at + i) + 1] / 32768;
      }
      // Events outside a mix block's music still reach the synthesizer.
      if (block.music) {
        this.renderMusic(block, left, right, at, at + n);
      } else {
        while (this.event < block.events.length) this.send(block.events[this.event++]);
      }
      at += n;
      this.at += n;
      if (this.at >= frames) {
        while (this.event < block.events.length) this.send(block.events[this.event++]);
        this.queue.shift();
        this.at = 0;
        this.event = 0;
      }
    }
    // An empty queue is silence, and the stream waits: nothing is skipped.
    left.fill(0, at);
    right.fill(0, at);
    let peak = this.peak;
    for (let i = 0; i < at; ++i) peak = Math.max(peak, Math.abs(left[i]), Math.abs(right[i]));
    this.peak = peak;
    this.played += at;
    if (this.played - this.reported >= PLAYED_EVERY || (at < size && this.played !== this.reported)) {
      this.port.postMessage({ played: this.played, peak: Math.round(this.peak * 32768) });
      this.reported = this.played;
      this.peak = 0;
    }
    return true;
  }
}

registerProcessor('vedo-output', Output);
