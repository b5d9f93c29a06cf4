// The drawing: laid out by the drawing worker for the latest inputs after a pause in the
// typing, painted there where the browser lets it (an OffscreenCanvas), and the files it makes
// offered only while it and the counts stand for what is typed.
'use strict';

const drawing = { frame: null, scene: null, printed: false, pause: 0,
  pausing: false, inputAt: 0 };
const kPauseMs = 120;
let slowDrawing = 0;

/// One drawing at a time, always of the latest inputs.
const requestDrawing = latestWins(() => {
  const number = wanted;
  // Timed from the key, the pause included.
  const started = drawing.inputAt;
  clearTimeout(slowDrawing);
  // Said only when a drawing takes long, and never over something more important.
  slowDrawing = setTimeout(() => {
    if (!status.source && !status.message)
      setStatus(form.texts.counting);
  }, 300);
  return tracked(drawer.call('layout', { ...layoutRequest(), draw: true, view: currentView() },
    kLongest)
    .then((answer) => drawingArrived(answer, number, started),
      (error) => {
        // The last drawing stays, greyed, in a fresh worker: the failed one took its copy.
        if (number === wanted) {
          shown.drawnFor = -1;
          setStale(shown.stale);
          setFailure(error);
        }
      })
    .finally(() => {
      clearTimeout(slowDrawing);
      if (status.source === form.texts.counting)
        setStatus('');
    }));
});

/// The drawing waits for a pause in the typing, as korvane-sheet's does: the counts come at
/// every key, and the keys never queue behind drawings nobody will see. The first comes at once.
function drawSoon(started, now = false) {
  drawing.inputAt = started;
  clearTimeout(drawing.pause);
  drawing.pause = setTimeout(() => {
    drawing.pausing = false;
    requestDrawing();
    busy(-1);
  }, drawing.scene === null || now ? 0 : kPauseMs);
  if (!drawing.pausing) {
    drawing.pausing = true;
    busy(+1);
  }
}

function drawingArrived(answer, number, started) {
  if (answer.problems.length > 0 || number !== wanted) {
    if (answer.problems.length > 0)
      shown.drawnFor = -1;
    setStale(answer.problems.length > 0 || shown.stale);
    return;
  }
  if (answer.drawing === null) {
    // The last drawing stays, greyed, as in korvane-sheet.
    shown.drawnFor = -1;
    setStale(false);
    setStatusMessage(answer.summary.not_drawn);
    return;
  }
  const first = drawing.scene === null;
  drawing.scene = answer.drawing;
  drawing.frame = answer.drawing.frame;
  drawing.printed = false;
  shown.drawnFor = number;
  // The worker painted it already, fitted if the view is; the page follows.
  if (first || sheetView.fitted)
    fit(paintsInWorker);
  else if (!paintsInWorker)
    repaint();
  setStale(shown.stale);
  updateExports();
  korvane.timings.push({ what: 'drawing', ms: performance.now() - started, at: performance.now(),
    tubes: answer.layout.in_circle });
}

/// The view as it should be painted now.
function currentView() {
  const box = $('sheet').getBoundingClientRect();
  return { scale: sheetView.scale, x: sheetView.x, y: sheetView.y, width: box.width,
    height: box.height, ratio: window.devicePixelRatio || 1, fitted: sheetView.fitted };
}

/// Paints the view: here, or in the drawing worker, one paint at a time.
const paintInWorker = latestWins(
  () => tracked(drawer.call('view', currentView()).catch(() => {})));

function repaint() {
  placeMark();
  if (paintsInWorker)
    paintInWorker();
  else
    paintView($('sheet-canvas'), drawing.scene, currentView());
}

let paintWanted = false;
function schedulePaint() {
  if (paintWanted)
    return;
  paintWanted = true;
  requestAnimationFrame(() => {
    paintWanted = false;
    repaint();
  });
}

/// A fresh canvas for a fresh drawing worker: a canvas hands its painting over only once.
function attachCanvas(worker) {
  if (!paintsInWorker)
    return;
  let canvas = $('sheet-canvas');
  if (canvas.dataset.handedOver) {
    const fresh = canvas.cloneNode(false);
    canvas.replaceWith(fresh);
    canvas = fresh;
  }
  canvas.dataset.handedOver = '1';
  const offscreen = canvas.transferControlToOffscreen();
  worker.postMessage({ id: 0, job: 'canvas', request: { canvas: offscreen } }, [offscreen]);
}

/// The whole drawing for print, at twice its units, painted when printing is asked for.
function paintForPrint() {
  if (!drawing.scene || drawing.printed)
    return;
  const f = drawing.scene.frame;
  paintView($('print-sheet'), drawing.scene,
    { scale: 1, x: 0, y: 0, width: f.width, height: f.height, ratio: 2 });
  drawing.printed = true;
}

/// The files can be made when the drawing and the counts both stand for what is typed now:
/// the two workers answer in either order.
function updateExports() {
  setExports(shown.drawnFor === wanted && shown.countedFor === wanted);
}

function setExports(enabled) {
  for (const button of document.querySelectorAll('.export'))
    button.disabled = !enabled;
}
