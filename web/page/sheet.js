// The drawing on the page: zoom by the wheel, a pinch, keys and buttons, pan by a drag or the
// arrows, fit; a tube under the pointer, or under a tap, described by the C++.
'use strict';

const sheetView = { scale: 1, x: 0, y: 0, fitted: true };
// Where the drawing stands in the view, for tests that point at a tube.
korvane.view = () => ({ frame: drawing.frame, ...sheetView });
const kLeastScale = 0.02, kMostScale = 400;

function fit(painted = false) {
  const frame = drawing.frame;
  if (!frame)
    return;
  const box = $('sheet').getBoundingClientRect();
  Object.assign(sheetView, fitView(frame, box.width, box.height), { fitted: true });
  if (!painted)
    schedulePaint();
}

function zoomAt(factor, px, py) {
  const scale = Math.min(kMostScale, Math.max(kLeastScale, sheetView.scale * factor));
  const ratio = scale / sheetView.scale;
  sheetView.x = px - (px - sheetView.x) * ratio;
  sheetView.y = py - (py - sheetView.y) * ratio;
  sheetView.scale = scale;
  sheetView.fitted = false;
  schedulePaint();
}

function zoomCentre(factor) {
  const box = $('sheet').getBoundingClientRect();
  zoomAt(factor, box.width / 2, box.height / 2);
}

function pan(dx, dy) {
  sheetView.x += dx;
  sheetView.y += dy;
  sheetView.fitted = false;
  schedulePaint();
}

/// The sheet's millimetres (from the shell centre, y up) under a point of the view.
function sheetPoint(px, py) {
  const frame = drawing.frame;
  const sx = (px - sheetView.x) / sheetView.scale, sy = (py - sheetView.y) / sheetView.scale;
  return { x: (sx - frame.centre_x) / frame.scale, y: (frame.centre_y - sy) / frame.scale };
}

/// Shows what is under a point of the view: a tube's number, place and pass, or why it went.
/// One question at a time, the latest point next.
const askAt = latestWins((px, py) => drawer.call('tube_at', sheetPoint(px, py)).then((answer) => {
  const tip = $('tip');
  if (!answer.tube) {
    tip.hidden = true;
    return;
  }
  tip.textContent = render(answer.tube.text);
  tip.hidden = false;
  const box = $('sheet').getBoundingClientRect();
  tip.style.left = Math.min(px + 14, Math.max(0, box.width - tip.offsetWidth - 4)) + 'px';
  tip.style.top = Math.min(py + 14, Math.max(0, box.height - tip.offsetHeight - 4)) + 'px';
}, () => {
  $('tip').hidden = true;
}));

function showTipAt(px, py) {
  if (!drawing.frame || shown.drawnFor < 0 || shown.drawnFor !== wanted) {
    $('tip').hidden = true;
    return;
  }
  askAt(px, py);
}

/// Where an event is in the drawing's view.
function local(event) {
  const box = $('sheet').getBoundingClientRect();
  return [event.clientX - box.left, event.clientY - box.top];
}

/// A drag pans, two fingers pinch, a mouse points, a tap asks what is there.
function setUpPointer(sheet) {
  const touches = new Map();
  let dragged = false, pinch = null;
  sheet.addEventListener('pointerdown', (event) => {
    try {
      sheet.setPointerCapture(event.pointerId);
    } catch (e) { /* a pointer already gone: the drag simply ends at the edge */ }
    touches.set(event.pointerId, local(event));
    dragged = false;
    closeEditMenu();
    if (touches.size === 2) {
      const [a, b] = [...touches.values()];
      pinch = { distance: Math.hypot(a[0] - b[0], a[1] - b[1]) };
    }
  });
  sheet.addEventListener('pointermove', (event) => {
    const [px, py] = local(event);
    if (!touches.has(event.pointerId)) {
      if (event.pointerType === 'mouse')
        showTipAt(px, py);
      return;
    }
    const [ox, oy] = touches.get(event.pointerId);
    touches.set(event.pointerId, [px, py]);
    if (touches.size === 2 && pinch) {
      const [a, b] = [...touches.values()];
      const distance = Math.hypot(a[0] - b[0], a[1] - b[1]);
      if (pinch.distance > 0)
        zoomAt(distance / pinch.distance, (a[0] + b[0]) / 2, (a[1] + b[1]) / 2);
      pinch.distance = distance;
      dragged = true;
      return;
    }
    if (Math.abs(px - ox) + Math.abs(py - oy) > 0) {
      if (!dragged && Math.hypot(px - ox, py - oy) < 3)
        return;
      dragged = true;
      sheet.classList.add('dragging');
      $('tip').hidden = true;
      pan(px - ox, py - oy);
    }
  });
  const release = (event) => {
    const [px, py] = local(event);
    touches.delete(event.pointerId);
    if (touches.size < 2)
      pinch = null;
    sheet.classList.remove('dragging');
    // A tap without a drag asks what is there, for a finger as for a mouse, and offers its
    // edits.
    if (!dragged && event.type === 'pointerup' && event.button <= 0) {
      showTipAt(px, py);
      if (drawing.frame && shown.drawnFor >= 0 && shown.drawnFor === wanted)
        tracked(offerEdits(px, py));
    }
  };
  sheet.addEventListener('pointerup', release);
  sheet.addEventListener('pointercancel', release);
  sheet.addEventListener('pointerleave', (event) => {
    if (event.pointerType === 'mouse')
      $('tip').hidden = true;
  });
}

/// The keys do what the mouse does: the arrows pan, + and - zoom, 0 or f fits; Delete, d and
/// Backspace edit the tube marked (or the one in the middle), Escape unmarks it.
function setUpKeys(sheet) {
  const edits = { Delete: 'remove', d: 'dummy', D: 'dummy', Backspace: 'restore' };
  sheet.addEventListener('keydown', (event) => {
    const step = 40;
    const moves = { ArrowLeft: [step, 0], ArrowRight: [-step, 0], ArrowUp: [0, step],
      ArrowDown: [0, -step] };
    if (moves[event.key]) {
      pan(...moves[event.key]);
    } else if (event.key === '+' || event.key === '=') {
      zoomCentre(1.25);
    } else if (event.key === '-' || event.key === '_') {
      zoomCentre(1 / 1.25);
    } else if (event.key === '0' || event.key === 'f') {
      fit();
    } else if (edits[event.key] && !event.ctrlKey && !event.metaKey && !event.altKey) {
      tracked(editTubeAt(editPoint(), edits[event.key]));
    } else if (event.key === 'Escape') {
      design.mark = null;
      closeEditMenu();
      placeMark();
    } else {
      return;
    }
    event.preventDefault();
  });
}

function setUpSheet() {
  const sheet = $('sheet');
  sheet.addEventListener('wheel', (event) => {
    event.preventDefault();
    const [px, py] = local(event);
    const notches = event.deltaMode === 1 ? event.deltaY / 3 : event.deltaY / 100;
    zoomAt(Math.pow(1.25, -notches), px, py);
  }, { passive: false });
  setUpPointer(sheet);
  setUpKeys(sheet);
  $('zoom-in').addEventListener('click', () => zoomCentre(1.25));
  $('zoom-out').addEventListener('click', () => zoomCentre(1 / 1.25));
  $('fit').addEventListener('click', fit);
  new ResizeObserver(() => {
    if (sheetView.fitted)
      fit();
  }).observe(sheet);
}
