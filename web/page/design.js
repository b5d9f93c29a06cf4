// The design on the page: its title and its edits of single tubes, undo and redo over them and
// the inputs alike, a design file opened from disk and saved as a download, and what is not
// saved kept for the next visit and asked about before it is lost. The files and the edits are
// the C++'s, as the window's are.
'use strict';

const design = {
  title: '',
  edits: [],
  base: null, // the text of the file opened or saved, whose keys a save keeps; null for none
  fileName: null,
  saved: null, // the state its file holds; null for a design never saved
  mark: null, // the tube the edit keys act on, {x, y} mm; null for the one at the centre
  started: false, // the page's first inputs are in: until then the last visit's design stays
};
const steps = { states: [], at: -1, group: '' };
const kMostSteps = 1000;

/// What the counts and the drawing are asked for: the form's values and the design's.
function layoutRequest() {
  return { values: controlValues(), edits: design.edits, title: design.title };
}

function designState() {
  return { values: controlValues(), title: design.title, edits: design.edits };
}

function sameState(a, b) {
  return JSON.stringify(a) === JSON.stringify(b);
}

/// Changes a file lacks; inputs alone are kept by the address, as before designs.
function isUnsaved() {
  const now = designState();
  if (design.saved === null)
    return now.edits.length > 0 || now.title !== '';
  return !sameState(now, design.saved);
}

/// Whether what is not saved may go: nothing is unsaved, or the designer agrees to `question`.
function mayLetGo(question) {
  return !isUnsaved() || window.confirm(tr(question));
}

/// The designer changed the design; `group` names the box typed into, so that its keys in a
/// row are one step, and is empty for an edit.
function designChanged(group) {
  const state = designState();
  if (steps.at >= 0 && sameState(state, steps.states[steps.at]))
    return;
  if (group && group === steps.group && steps.at > 0 && steps.at === steps.states.length - 1) {
    steps.states[steps.at] = state;
  } else {
    steps.states.length = steps.at + 1;
    steps.states.push(state);
    if (steps.states.length > kMostSteps)
      steps.states.shift();
    steps.at = steps.states.length - 1;
    steps.group = group;
  }
  designShown();
}

function startSteps() {
  design.started = true;
  steps.states = [designState()];
  steps.at = 0;
  steps.group = '';
  designShown();
}

/// The title in the tab, the undo buttons, and the design kept for the next visit.
function designShown() {
  const name = design.title.trim() || design.fileName || '';
  const title = name ? tr('%1 — Korvane 管板布置', name)
    : language === 'en' ? 'Korvane tube sheet' : 'Korvane 管板布置';
  document.title = (isUnsaved() ? '*' : '') + title;
  $('undo').disabled = steps.at <= 0;
  $('redo').disabled = steps.at >= steps.states.length - 1;
  if (!design.started)
    return;
  remember('korvane.design', JSON.stringify({ title: design.title, edits: design.edits,
    base: design.base, fileName: design.fileName, saved: design.saved,
    values: controlValues() }));
}

function showState(state) {
  design.title = state.title;
  design.edits = state.edits;
  $('design-title').value = state.title;
  setControlValues(state.values);
  inputsChanged(true);
  designShown();
}

function undo() {
  if (steps.at <= 0)
    return;
  steps.at -= 1;
  steps.group = '';
  showState(steps.states[steps.at]);
}

function redo() {
  if (steps.at >= steps.states.length - 1)
    return;
  steps.at += 1;
  steps.group = '';
  showState(steps.states[steps.at]);
}

/// The sheet's point for the edit keys: the tube marked, or the middle of the view.
function editPoint() {
  if (design.mark)
    return design.mark;
  const box = $('sheet').getBoundingClientRect();
  return sheetPoint(box.width / 2, box.height / 2);
}

/// Edits the tube at a point of the sheet (mm) as `kind` says ("remove", "dummy", "restore"),
/// if the tube there takes that edit. Resolves to whether it did.
async function editTubeAt(point, kind) {
  if (!drawing.frame || shown.drawnFor < 0 || shown.drawnFor !== wanted)
    return false;
  const number = wanted;
  const { tube } = await drawer.call('tube_at', point);
  if (!tube || !tube.can[kind] || number !== wanted)
    return false;
  const answer = await counter.call('edit', { edits: design.edits, site: tube.site, edit: kind,
    bundle: korvane.layout ? korvane.layout.bundle : 'fixed' });
  design.edits = answer.edits;
  designChanged('');
  inputsChanged(true);
  return true;
}

/// Where a point of the sheet (mm) is in the view.
function viewPoint(point) {
  const frame = drawing.frame;
  return { x: (frame.centre_x + point.x * frame.scale) * sheetView.scale + sheetView.x,
    y: (frame.centre_y - point.y * frame.scale) * sheetView.scale + sheetView.y };
}

/// The ring round the marked tube, kept on it as the view moves.
function placeMark() {
  const ring = $('mark');
  if (!design.mark || !drawing.frame || !korvane.layout) {
    ring.hidden = true;
    return;
  }
  const at = viewPoint(design.mark);
  const radius = korvane.layout.tube / 2 * drawing.frame.scale * sheetView.scale + 3;
  Object.assign(ring.style, { left: `${at.x - radius}px`, top: `${at.y - radius}px`,
    width: `${2 * radius}px`, height: `${2 * radius}px` });
  ring.hidden = false;
}

/// A click or a tap on a tube marks it and offers its edits.
async function offerEdits(px, py) {
  const menu = $('edit-menu');
  const { tube } = await drawer.call('tube_at', sheetPoint(px, py));
  if (!tube) {
    design.mark = null;
    menu.hidden = true;
    placeMark();
    return;
  }
  design.mark = { x: Number(tube.x), y: Number(tube.y) };
  placeMark();
  for (const kind of ['remove', 'dummy', 'restore'])
    $(`edit-${kind}`).disabled = !tube.can[kind];
  const box = $('sheet').getBoundingClientRect();
  menu.hidden = false;
  menu.style.left = `${Math.min(px + 12, Math.max(0, box.width - menu.offsetWidth - 4))}px`;
  menu.style.top = `${Math.min(py + 12, Math.max(0, box.height - menu.offsetHeight - 4))}px`;
  const first = menu.querySelector('button:not(:disabled)');
  if (first)
    first.focus({ preventScroll: true });
}

function closeEditMenu() {
  $('edit-menu').hidden = true;
}

/// A design file's text opened in place of the page's, once the designer lets go of what is
/// not saved. Resolves to the reason it was not opened, or '' when it was (or was kept).
async function openDesignText(text, fileName) {
  const answer = await counter.call('open_design', { text }, kLongest);
  if (answer.error) {
    const reason = tr('无法打开设计 %1：%2', fileName, render(answer.error));
    setStatus('%1', reason);
    return reason;
  }
  if (!mayLetGo('设计有未保存的更改。打开另一个设计，这些更改就会丢失。要继续吗？'))
    return '';
  Object.assign(design, { title: answer.title, edits: answer.edits, base: answer.base,
    fileName, mark: null });
  $('design-title').value = answer.title;
  setControlValues(answer.values);
  design.saved = designState();
  startSteps();
  inputsChanged(true);
  return '';
}

/// The design as a file, saved as a download of the name it was opened under.
async function saveDesignFile() {
  const { text } = await counter.call('save_design', { base: design.base, ...designState() },
    kLongest);
  const name = design.fileName || 'korvane-design.json';
  download(name, new Blob([text], { type: 'application/json' }));
  Object.assign(design, { base: text, fileName: name, saved: designState() });
  setStatus('已保存 %1', name);
  designShown();
}

/// The design kept at the last visit, if it is of the inputs the page opens with and of the
/// edits its address gives, if any.
function recallDesign(values, edits) {
  let kept = null;
  try {
    kept = JSON.parse(recall('korvane.design'));
  } catch (e) { /* none, or not readable: the inputs alone */ }
  if (!kept || !Array.isArray(kept.edits) || !sameState(kept.values, values)
      || (edits.length > 0 && !sameState(kept.edits, edits)))
    return false;
  Object.assign(design, { title: String(kept.title || ''), edits: kept.edits,
    base: kept.base || null, fileName: kept.fileName || null, saved: kept.saved || null });
  $('design-title').value = design.title;
  return true;
}

function setUpDesign() {
  const title = $('design-title');
  title.addEventListener('input', () => {
    design.title = title.value;
    designChanged('design-title');
    inputsChanged();
  });
  $('undo').addEventListener('click', undo);
  $('redo').addEventListener('click', redo);
  $('open-design').addEventListener('click', () => $('design-file').click());
  $('design-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (!file)
      return;
    // Read no further than a design may be: a larger file is refused by the C++ unread.
    tracked(file.slice(0, 16 * 1024 * 1024 + 1).text()
      .then((text) => openDesignText(text, file.name)).catch((error) => setFailure(error)));
  });
  $('save-design').addEventListener('click', () => {
    tracked(saveDesignFile().catch((error) => setStatus('无法生成文件：%1', error.message || error)));
  });
  for (const kind of ['remove', 'dummy', 'restore']) {
    $(`edit-${kind}`).addEventListener('click', () => {
      closeEditMenu();
      tracked(editTubeAt(editPoint(), kind));
      $('sheet').focus({ preventScroll: true });
    });
  }
  // The menu is on the sheet: its presses are the menu's, not a drag's or a tap's.
  for (const type of ['pointerdown', 'pointerup', 'pointermove'])
    $('edit-menu').addEventListener(type, (event) => event.stopPropagation());
  $('edit-menu').addEventListener('keydown', (event) => {
    event.stopPropagation();
    if (event.key === 'Escape') {
      closeEditMenu();
      $('sheet').focus({ preventScroll: true });
    }
  });
  document.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey)
      return;
    const key = event.key.toLowerCase();
    const action = key === 'z' ? (event.shiftKey ? redo : undo) : key === 'y' ? redo
      : key === 's' ? () => $('save-design').click() : key === 'o' ? () => $('open-design').click()
        : null;
    // In the calculator's boxes the browser's own keys stay.
    if (!action || $('panel-layout').hidden)
      return;
    event.preventDefault();
    action();
  });
  window.addEventListener('beforeunload', (event) => {
    if (!isUnsaved())
      return;
    event.preventDefault();
    event.returnValue = '';
  });
}
