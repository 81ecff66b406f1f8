// The page's sound output: it plays the blocks of the mix in order. It runs
// on the browser's audio thread as an AudioWorklet, or, where a page has
// none, on the page's thread under a ScriptProcessorNode, with the scope a
// worklet would give it (page.js).
//
// Blocks come from the page, { seq, pcm: Int16Array } (interleaved stereo),
// and, once the music's synthesizer runs, from its worker, through the port
// the page hands over ({ blocks: MessagePort }), with the music it rendered
// for the block beside them: { seq, pcm, left, right } (Float32Array).
// `seq` orders the blocks of the two routes.
// Its answers: { played, peak, waitedMs } every PLAYED_EVERY frames played:
// the frames played so far, the loudest sample since the last answer (so
// that the page keeps the queue filled and can tell that sound was heard)
// and the longest wait between two calls for sound since then, which shows
// whether anything held this thread long enough for the sound to break.
'use strict';

const PLAYED_EVERY = 1024;

class Output extends AudioWorkletProcessor {
  constructor() {
    super();
    this.queue = [];
    this.at = 0;  // the next frame of the first block
    this.played = 0;
    this.reported = 0;
    this.peak = 0;
    this.called = 0;
    this.waited = 0;
    const take = (block) => {
      let i = this.queue.length;
      while (i > (this.at > 0 ? 1 : 0) && this.queue[i - 1].seq > block.seq) --i;
      this.queue.splice(i, 0, block);
    };
    this.port.onmessage = (e) => {
      if (e.data.blocks) e.data.blocks.onmessage = (f) => take(f.data);
      else take(e.data);
    };
  }

  process(inputs, outputs) {
    const now = Date.now();
    if (this.called) this.waited = Math.max(this.waited, now - this.called);
    this.called = now;
    const [left, right] = outputs[0];
    const size = left.length;
    let at = 0;
    while (at < size && this.queue.length) {
      const { pcm, left: musicL, right: musicR } = this.queue[0];
      const frames = pcm.length >> 1;
      const n = Math.min(size - at, frames - this.at);
      for (let i = 0, k = this.at; i < n; ++i, ++k) {
        left[at + i] = pcm[2 * k] / 32768 + (musicL ? musicL[k] : 0);
        right[at + i] = pcm[2 * k + 1] / 32768 + (musicR ? musicR[k] : 0);
      }
      at += n;
      this.at += n;
      if (this.at >= frames) {
        this.queue.shift();
        this.at = 0;
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
      this.port.postMessage({ played: this.played, peak: Math.round(this.peak * 32768), waitedMs: this.waited });
      this.reported = this.played;
      this.peak = 0;
      this.waited = 0;
    }
    return true;
  }
}

registerProcessor('vedo-output', Output);
