// The music's synthesizer, js-synthesizer (FluidSynth in WebAssembly), in a
// worker of its own: its start and the soundfont's read take tens of
// milliseconds in one piece, which, on the sound output's thread, broke
// the effects for as long, and on the page's thread froze the game.
//
// The page hands it { soundfont: MessagePort, output: MessagePort }: the
// soundfont comes through the first, as { soundfont: ArrayBuffer } (from
// the download worker), and it answers { synth: ms } once it has read it,
// or { synthFailed: message }. Then the mix's blocks, in order:
//   { seq, pcm: Int16Array, music: bool, events: [[at, kind, channel, a, b]...] }
// When `music`, it renders the block's music, sending each event at its
// frame `at` (a sysex is kind -1 with its bytes in `a`); events outside a
// block with music are sent at once. Each block goes on to the output as
// { seq, pcm, left, right }, the music beside the effects (none without).
'use strict';

importScripts('synth/libfluidsynth-2.4.6.js', 'synth/js-synthesizer.min.js');

// js-synthesizer's channel calls, numbered as the game's bridge numbers them.
const CALLS = ['midiNoteOn', 'midiNoteOff', 'midiControl', 'midiKeyPressure', 'midiChannelPressure',
  'midiProgramChange', 'midiPitchBend', 'midiSystemReset', 'midiAllNotesOff', 'midiAllSoundsOff'];
let synth = null;
let output = null;

async function start(soundfont) {
  const begun = Date.now();
  try {
    await JSSynth.waitForReady();
    if (JSSynth.disableLogging) JSSynth.disableLogging();
    const made = new JSSynth.Synthesizer();
    made.init(44100);
    made.setGain(0.6);  // the Linux build's gain
    await made.loadSFont(soundfont);
    synth = made;
    postMessage({ synth: Date.now() - begun });
  } catch (e) {
    postMessage({ synthFailed: String((e && e.message) || e) });
  }
}

function send([, kind, channel, a, b]) {
  if (kind < 0) synth.midiSysEx(a);
  else if (kind >= 7) synth[CALLS[kind]]();
  else synth[CALLS[kind]](channel, a, b);
}

function render({ seq, pcm, music, events }) {
  const frames = pcm.length >> 1;
  let left = null;
  let right = null;
  let next = 0;
  if (music && synth) {
    left = new Float32Array(frames);
    right = new Float32Array(frames);
    for (let at = 0; at < frames;) {
      while (next < events.length && events[next][0] <= at) send(events[next++]);
      const until = next < events.length ? Math.min(frames, events[next][0]) : frames;
      synth.render([left.subarray(at, until), right.subarray(at, until)]);
      at = until;
    }
  }
  if (synth) while (next < events.length) send(events[next++]);
  const moved = [pcm.buffer];
  if (left) moved.push(left.buffer, right.buffer);
  output.postMessage({ seq, pcm, left, right }, moved);
}

onmessage = (e) => {
  if (e.data.output) {
    output = e.data.output;
    e.data.soundfont.onmessage = (f) => start(f.data.soundfont);
  } else {
    render(e.data);
  }
};
