// The worker's side: the WebAssembly core above (KorvaneCore) answers one job at a time, so
// that the page never waits on a count or a drawing. The drawing worker also keeps the last
// drawing and paints the page's view of it, with the painter above.
'use strict';
let core = null;
const ready = KorvaneCore({
  // Said in the page, not in a console nobody reads.
  print: () => {},
  printErr: () => {},
}).then((module) => {
  core = module;
});

const screen = { canvas: null, scene: null, view: null };

function paint() {
  const { canvas, scene, view } = screen;
  if (!canvas || !view)
    return;
  // A fitted view follows the drawing, as the page's own fit does.
  const shown = view.fitted && scene ? { ...view, ...fitView(scene.frame, view.width, view.height) }
                                     : view;
  paintView(canvas, scene, shown);
}

function run(job, request) {
  if (job === 'canvas') {
    screen.canvas = request.canvas;
    return {};
  }
  if (job === 'scene') {
    // The page's copy of the last drawing, for a fresh worker to show.
    screen.scene = request.scene;
    screen.view = request.view;
    paint();
    return {};
  }
  if (job === 'view') {
    screen.view = request;
    paint();
    return {};
  }
  const answer = JSON.parse(callCore(job, JSON.stringify(request)));
  // A drawing's shapes come as numbers, copied out of the module's memory.
  if (answer.drawing) {
    const copy = (name, per) => {
      const at = core.ccall(`korvane_${name}`, 'number', [], []);
      return core.HEAPF64.slice(at / 8, at / 8 + answer.drawing[name] * per);
    };
    answer.drawing.circles = copy('circles', 5);
    answer.drawing.lines = copy('lines', 6);
    screen.scene = answer.drawing;
    if (request.view)
      screen.view = request.view;
    paint();
  }
  return answer;
}

/// The core's answer to a job. The request goes through the module's heap: ccall would copy
/// it onto the small WebAssembly stack, which a box of a million characters overruns.
function callCore(job, text) {
  const put = (value) => {
    const size = core.lengthBytesUTF8(value) + 1;
    const at = core._malloc(size);
    if (!at)
      throw new Error('out of memory');
    core.stringToUTF8(value, at, size);
    return at;
  };
  const jobAt = put(job);
  try {
    const textAt = put(text);
    try {
      return core.UTF8ToString(core._korvane_call(jobAt, textAt));
    } finally {
      core._free(textAt);
    }
  } finally {
    core._free(jobAt);
  }
}

self.onmessage = async (event) => {
  const { id, job, request } = event.data;
  try {
    await ready;
    const answer = run(job, request);
    if (id !== 0)
      self.postMessage({ id, answer });
  } catch (error) {
    // An abort inside the WebAssembly (out of memory, a trap) leaves the module unusable: the
    // page says so and starts a new worker.
    self.postMessage({ id, aborted: String((error && error.message) || error) });
    self.close();
  }
};
