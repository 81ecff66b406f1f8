// The page's downloads, off its thread: the bytes' arrival, inflating the
// data kit and copying its 10 MB held the page's thread for tens of
// milliseconds at a time on a slow phone, while the title's picture showed.
//
// The page asks { job, url, stallMs, native, tar } (native: the page's browser has
// DecompressionStream; where it has none, fflate inflates) and is told
// { job, progress: bytes } as they arrive, then one of:
//   { job, bytes: Uint8Array, files: [[name, at, size]...] }  the file,
//       unpacked when it came gzip-compressed (a host that undid the gzip
//       is read as it comes), with a tar file's files at their places;
//   { job, http: status } | { job, stalled: true } | { job, failed: message }
//       the download stopped (no byte for stallMs: stalled); asked again,
//       the same job continues from the byte it reached, with a range
//       request (a host that answers with the whole file has its first
//       bytes skipped);
//   { job, broken: message }  the file is damaged: a new job starts over.
// With { picture: NAME } too, the pack's picture of that name, if it is in
// the kit's own form (24 bits, rows bottom-up, 640 x 480), comes converted
// for the canvas as { rgba } beside the files, so that the page shows it
// without the conversion on its thread.
// With { compile: true } (the program's WebAssembly) the file is compiled
// here and comes as { module } instead of its bytes, so that the page's
// thread does not compile it; where a compiled module cannot be posted, or
// does not compile (the page then tells why), the bytes come as above.
// With { job, url, stallMs, port } the file goes whole to that port as
// { soundfont: ArrayBuffer } (the music's synthesizer takes it), and the
// page is told { job, done: true } or why not.
'use strict';

const jobs = new Map();

function gunzip(native) {
  if (native) return new DecompressionStream('gzip');
  if (!self.fflate) importScripts('inflate/fflate.js');
  let inflater = null;
  return new TransformStream({
    start(out) { inflater = new fflate.Gunzip((piece) => out.enqueue(piece)); },
    transform(piece) { inflater.push(piece, false); },
    flush() { inflater.push(new Uint8Array(0), true); },
  });
}

// The job's stream, from its first piece; what comes out is kept.
function begin(job, first, native) {
  const stream = first[0] === 0x1f && first[1] === 0x8b ? gunzip(native) : new TransformStream();
  const pieces = [];
  const reader = stream.readable.getReader();
  job.reading = (async () => {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) return pieces;
      pieces.push(value);
    }
  })();
  job.reading.catch(() => {});
  job.writer = stream.writable.getWriter();
}

// What is left of the job's file, into its stream; null once it is all in,
// else why it stopped.
async function download(id, job, { url, stallMs, native, port }) {
  const abort = new AbortController();
  let timer = 0;
  const watch = () => {
    clearTimeout(timer);
    timer = setTimeout(() => abort.abort(), stallMs);
  };
  try {
    watch();
    const r = await fetch(url, { headers: job.received ? { Range: `bytes=${job.received}-` } : {},
      signal: abort.signal });
    if (!r.ok) return { http: r.status };
    let skip = r.status === 206 ? 0 : job.received;
    for (const reader = r.body.getReader(); ;) {
      const { done, value } = await reader.read();
      if (done) return null;
      watch();
      const piece = value.subarray(Math.min(skip, value.length));
      skip -= value.length - piece.length;
      if (!piece.length) continue;
      job.received += piece.length;
      if (!port) postMessage({ job: id, progress: piece.length });
      if (!job.writer) {
        try {
          begin(job, piece, native);
        } catch (error) {  // no inflater to be had
          return { broken: error.message };
        }
      }
      job.writer.write(piece).catch(() => {});  // a failure shows in the reading
    }
  } catch (error) {
    return abort.signal.aborted ? { stalled: true } : { failed: error.message };
  } finally {
    clearTimeout(timer);
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

function untar(bytes) {
  const text = (from, length) => {
    let s = '';
    for (let i = 0; i < length && bytes[from + i]; ++i) s += String.fromCharCode(bytes[from + i]);
    return s;
  };
  const files = [];
  for (let at = 0; at + 512 <= bytes.length;) {
    const name = text(at, 100);
    if (!name) break;
    const size = parseInt(text(at + 124, 12).trim(), 8);
    if (!(size >= 0) || at + 512 + size > bytes.length) throw new Error(`${name} is cut short`);
    if (bytes[at + 156] === 0x30 || bytes[at + 156] === 0) files.push([name, at + 512, size]);
    at += 512 + Math.ceil(size / 512) * 512;
  }
  if (!files.length) throw new Error('it holds no files');
  return files;
}

function canvasPicture(bytes, files, name) {
  const file = files.find(([file]) => file === name);
  if (!file || file[2] < 54) return null;
  const bmp = bytes.subarray(file[1], file[1] + file[2]);
  const view = new DataView(bmp.buffer, bmp.byteOffset, bmp.length);
  const [at, width, height] = [view.getUint32(10, true), view.getInt32(18, true), view.getInt32(22, true)];
  const stride = width * 3;  // 640 pixels: no padding
  if (bmp[0] !== 0x42 || bmp[1] !== 0x4d || width !== 640 || height !== 480 ||
      view.getUint16(28, true) !== 24 || view.getUint32(30, true) !== 0 || at + stride * height > bmp.length) {
    return null;
  }
  const rgba = new Uint8ClampedArray(width * height * 4).fill(255);
  for (let y = 0, o = 0; y < height; ++y) {
    for (let i = at + (height - 1 - y) * stride, end = i + stride; i < end; i += 3, o += 4) {
      rgba[o] = bmp[i + 2];
      rgba[o + 1] = bmp[i + 1];
      rgba[o + 2] = bmp[i];
    }
  }
  return rgba;
}

// Whether the WebAssembly in `bytes` went to the page compiled.
async function posted(id, bytes) {
  try {
    postMessage({ job: id, module: await WebAssembly.compile(bytes) });
    return true;
  } catch {
    return false;
  }
}

onmessage = async (e) => {
  const { job: id, tar, port, picture, compile } = e.data;
  if (!jobs.has(id)) jobs.set(id, { received: 0, writer: null, reading: null });
  const job = jobs.get(id);
  const stopped = await download(id, job, e.data);
  if (stopped && !stopped.broken) {
    postMessage({ job: id, ...stopped });
    return;
  }
  jobs.delete(id);
  try {
    if (stopped) throw new Error(stopped.broken);
    if (!job.writer) throw new Error('it is empty');
    job.writer.close().catch(() => {});
    const bytes = join(await job.reading);
    if (port) {
      port.postMessage({ soundfont: bytes.buffer }, [bytes.buffer]);
      postMessage({ job: id, done: true });
    } else if (compile && await posted(id, bytes)) {
      // the page has the module
    } else {
      const files = tar ? untar(bytes) : [];
      const rgba = picture ? canvasPicture(bytes, files, picture) : null;
      postMessage({ job: id, bytes, files, rgba }, rgba ? [bytes.buffer, rgba.buffer] : [bytes.buffer]);
    }
  } catch (error) {
    postMessage({ job: id, broken: error.message || String(error) });
  }
};
