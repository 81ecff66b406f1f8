// Fetches the soundfont off the page's thread and hands it whole to the
// sound output's worklet, through the port the page passes along: its 6 MB
// arriving held the page's thread. Told { url, port, stallMs }; answers
// { done: true } or { failed: message } to the page.
'use strict';

onmessage = async (e) => {
  const { url, port, stallMs } = e.data;
  const abort = new AbortController();
  let timer = 0;
  const watch = () => {
    clearTimeout(timer);
    timer = setTimeout(() => abort.abort(), stallMs);
  };
  try {
    watch();
    const r = await fetch(url, { signal: abort.signal });
    if (!r.ok) throw new Error(`no soundfont at ${url} beside the page (HTTP ${r.status})`);
    const pieces = [];
    let size = 0;
    for (const reader = r.body.getReader(); ;) {
      const { done, value } = await reader.read();
      if (done) break;
      watch();
      pieces.push(value);
      size += value.length;
    }
    const whole = new Uint8Array(size);
    let at = 0;
    for (const piece of pieces) {
      whole.set(piece, at);
      at += piece.length;
    }
    port.postMessage({ soundfont: whole.buffer }, [whole.buffer]);
    postMessage({ done: true });
  } catch (error) {
    postMessage({ failed: abort.signal.aborted ? `${url} stalled` : error.message });
  } finally {
    clearTimeout(timer);
  }
};
