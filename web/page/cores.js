// The workers: the WebAssembly core in two Web Workers, one counting at every keystroke and one
// drawing, so that typing never waits; what the page shows is busy, for people and for tests.
'use strict';

const workerUrl = URL.createObjectURL(
  new Blob([$('korvane-worker').textContent], { type: 'text/javascript' }));

class Aborted extends Error {}

// The drawing worker paints the view where the browser lets it (an OffscreenCanvas), so that
// typing never waits on a paint; elsewhere the page paints it.
const paintsInWorker = 'transferControlToOffscreen' in HTMLCanvasElement.prototype;

/// One worker and its calls. An abort inside it, or a call that runs too long, ends that worker
/// and starts a fresh one; the page goes on.
class Core {
  /// `started` is told of each new worker (the core's `worker`), before any call reaches it, and
  /// whether it replaces one that failed.
  constructor(started = () => {}) {
    this.pending = new Map();
    this.next = 1;
    this.started = started;
    this.start();
  }

  start(restarted = false) {
    this.worker = new Worker(workerUrl);
    this.started(this, restarted);
    this.worker.onmessage = (event) => {
      const { id, answer, aborted } = event.data;
      const call = this.pending.get(id);
      if (!call)
        return;
      this.pending.delete(id);
      if (aborted !== undefined) {
        this.restart(new Aborted(aborted));
        call.reject(new Aborted(aborted));
      } else if (answer && answer.failure !== undefined) {
        call.reject(new Aborted(answer.failure));
      } else {
        call.resolve(answer);
      }
    };
    this.worker.onerror = (event) => {
      event.preventDefault();
      this.restart(new Aborted(event.message || 'worker error'));
    };
  }

  restart(error) {
    this.worker.terminate();
    const waiting = this.pending;
    this.pending = new Map();
    this.start(true);
    for (const call of waiting.values())
      call.reject(error);
  }

  call(job, request, timeout = 0) {
    return new Promise((resolve, reject) => {
      const id = this.next++;
      let timer = 0;
      const done = (then) => (value) => {
        clearTimeout(timer);
        then(value);
      };
      this.pending.set(id, { resolve: done(resolve), reject: done(reject) });
      if (timeout > 0) {
        timer = setTimeout(() => {
          if (this.pending.has(id))
            this.restart(new Aborted('timeout'));
        }, timeout);
      }
      this.worker.postMessage({ id, job, request });
    });
  }
}

// Counting and drawing apart: a count never waits behind a drawing.
const counter = new Core();
// The drawing worker learns the page's language first: a drawing's words are in it.
const drawer = new Core((core, restarted) => {
  attachCanvas(core.worker);
  core.worker.postMessage({ id: 0, job: 'language', request: drawingWords() });
  // Busy until painted: a fresh worker loads its core first, and until then the sheet is blank.
  if (restarted && drawing.scene)
    tracked(core.call('scene', { scene: drawing.scene, view: currentView() })).catch(() => {});
});
// Nothing a designer types takes this long; something that does is stopped.
const kLongest = 20000;

const kFailed = '计算出错，已重新启动计算模块：%1';
const kTimedOut = '计算超时，已停止并重新启动计算模块';

/// A worker's failure as a source text and its arguments.
function failure(error) {
  return error && error.message === 'timeout' ? [kTimedOut]
    : [kFailed, error && error.message ? error.message : String(error)];
}

function failureText(error) {
  return tr(...failure(error));
}

// --- What the page shows and whether it is busy, for people and for tests --------------------
const status = { source: '', args: [], message: null };
/// A text of the page's own in the status line, with its arguments; empty for none.
function setStatus(source, ...args) {
  Object.assign(status, { source, args, message: null });
  showStatus();
}

/// A worker's failure there, in the page's language and kept so when it changes.
function setFailure(error) {
  setStatus(...failure(error));
}

/// Whether the status line says a worker failed, which the next good answer puts right.
function saysFailure() {
  return status.source === kFailed || status.source === kTimedOut;
}

/// A message of the C++'s there.
function setStatusMessage(message) {
  Object.assign(status, { source: '', args: [], message });
  showStatus();
}

function showStatus() {
  $('status').textContent = status.message !== null ? render(status.message)
    : status.source ? tr(status.source, ...status.args) : '';
}

const korvane = {
  layout: null, // the layout's JSON as korvane-layout --json prints it
  count: null, // the last calculation's JSON as korvane-count --json prints it
  busy: 0,
  timings: [],
  cores: { counter, drawer },
};
window.korvane = korvane;

function busy(change) {
  korvane.busy += change;
  document.documentElement.dataset.busy = korvane.busy > 0 ? '1' : '0';
}

/// A promise's work counted as busy until it settles.
function tracked(promise) {
  busy(+1);
  return promise.finally(() => busy(-1));
}

