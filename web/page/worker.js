// The worker's side: the WebAssembly core above (KorvaneCore) answers one job at a time, so
// that the page never waits on a count or a drawing.
'use strict';
let core = null;
const ready = KorvaneCore({
  // Said in the page, not in a console nobody reads.
  print: () => {},
  printErr: () => {},
}).then((module) => {
  core = module;
});

self.onmessage = async (event) => {
  const { id, job, request } = event.data;
  try {
    await ready;
    const text = core.ccall('korvane_call', 'string', ['string', 'string'],
      [job, JSON.stringify(request)]);
    self.postMessage({ id, answer: JSON.parse(text) });
  } catch (error) {
    // An abort inside the WebAssembly (out of memory, a trap) leaves the module unusable: the
    // page says so and starts a new worker.
    self.postMessage({ id, aborted: String((error && error.message) || error) });
    self.close();
  }
};
