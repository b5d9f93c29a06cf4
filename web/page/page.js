// The page: two tabs over the same C++ as the programs, run in Web Workers. Nothing here
// counts, reads a number or writes a file format; it sends what was typed and shows the answer.
'use strict';

const $ = (id) => document.getElementById(id);

// --- Language -------------------------------------------------------------------------------
// korvane-sheet's own English, put in the page when it was built; the page's few texts of its
// own follow.
const windowEnglish = JSON.parse($('korvane-english').textContent);
const pageEnglish = {
  '管板布置': 'Tube sheet',
  '排管计算': 'Tube count',
  '下载 SVG': 'Download SVG',
  '下载 DXF': 'Download DXF',
  '下载 PNG': 'Download PNG',
  '下载管孔表 CSV': 'Download hole list CSV',
  '复制链接': 'Copy link',
  '已复制链接': 'Link copied',
  '无法复制链接：%1': 'Cannot copy the link: %1',
  '打印': 'Print',
  '放大': 'Zoom in',
  '缩小': 'Zoom out',
  '图纸': 'Drawing',
  '管板图': 'Tube sheet drawing',
  '布管限定圆内 %1 管，超过 %2 管，不再绘图':
    '%1 tubes in the layout circle, more than %2: not drawn',
  '计算出错，已重新启动计算模块：%1': 'The calculation failed and was restarted: %1',
  '计算超时，已停止并重新启动计算模块': 'The calculation took too long; it was stopped and restarted',
  '链接中的选项未能全部采用：%1': 'Some options of the link were not taken: %1',
  '未知选项 %1': 'unknown option %1',
  '--%1 须为 %2 之一，而不是 \'%3\'': '--%1 must be one of %2, not \'%3\'',
  '无法生成文件：%1': 'Cannot make the file: %1',
};

let language = 'zh';

/// A text in the page's language, with %1, %2, ... filled in.
function tr(source, ...args) {
  let text = source;
  if (language === 'en')
    text = windowEnglish[source] || pageEnglish[source] || source;
  return text.replace(/%(\d+)/g, (all, n) => (n - 1 < args.length ? String(args[n - 1]) : all));
}

/// A label's text without its keyboard accelerator: "管子外径 d(&T)" reads "管子外径 d".
function label(source) {
  return tr(source).replace(/\(&.\)/g, '').replace(/&(.)/g, '$1').trim();
}

function chooseLanguage() {
  try {
    const kept = localStorage.getItem('korvane.language');
    if (kept === 'zh' || kept === 'en')
      return kept;
  } catch (e) { /* no storage: the browser decides */ }
  const wanted = navigator.languages && navigator.languages.length ? navigator.languages[0]
                                                                   : navigator.language || '';
  return /^en\b/i.test(wanted) ? 'en' : 'zh';
}

function applyLanguage() {
  document.documentElement.lang = language === 'en' ? 'en' : 'zh-CN';
  for (const element of document.querySelectorAll('[data-tr]'))
    element.textContent = label(element.dataset.tr);
  for (const element of document.querySelectorAll('[data-tr-label]'))
    element.setAttribute('aria-label', label(element.dataset.trLabel));
  for (const element of document.querySelectorAll('[data-placeholder]'))
    element.placeholder = tr(element.dataset.placeholder);
  $('language').textContent = language === 'en' ? '中文' : 'English';
  $('language').lang = language === 'en' ? 'zh-CN' : 'en';
  document.title = language === 'en' ? 'Korvane tube sheet' : 'Korvane 管板布置';
  if (shown.answer)
    showCounts(shown.answer, shown.stale);
  if (shown.problems)
    markProblems(shown.problems);
  setStatus(status.source, ...status.args);
}

// --- The workers ----------------------------------------------------------------------------
const workerUrl = URL.createObjectURL(
  new Blob([$('korvane-worker').textContent], { type: 'text/javascript' }));

class Aborted extends Error {}

// The drawing worker paints the view where the browser lets it (an OffscreenCanvas), so that
// typing never waits on a paint; elsewhere the page paints it.
const paintsInWorker = 'transferControlToOffscreen' in HTMLCanvasElement.prototype;

/// One worker and its calls. An abort inside it, or a call that runs too long, ends that worker
/// and starts a fresh one; the page goes on.
class Core {
  /// `started` is told of each new worker, before any call reaches it.
  constructor(started = () => {}) {
    this.pending = new Map();
    this.next = 1;
    this.started = started;
    this.start();
  }

  start() {
    this.worker = new Worker(workerUrl);
    this.started(this.worker);
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
    this.start();
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
const drawer = new Core((worker) => attachCanvas(worker));
// Nothing a designer types takes this long; something that does is stopped.
const kLongest = 20000;

function failureText(error) {
  return error && error.message === 'timeout'
    ? tr('计算超时，已停止并重新启动计算模块')
    : tr('计算出错，已重新启动计算模块：%1', error && error.message ? error.message : error);
}

// --- What the page shows and whether it is busy, for people and for tests --------------------
const status = { source: '', args: [] };
function setStatus(source, ...args) {
  status.source = source;
  status.args = args;
  $('status').textContent = source ? tr(source, ...args) : '';
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

// --- The layout's inputs --------------------------------------------------------------------
const textBoxes = ['diameter', 'tube', 'pitch', 'lane-spacing', 'clearance', 'centre-tube',
  'bend-radius', 'tie-rods', 'baffle-cut'];
const choices = ['pattern', 'passes', 'centre', 'lanes', 'bundle'];
const defaults = { given: 'shell', pattern: '30', passes: '1', centre: 'on-tube', lanes: 'remove',
  bundle: 'fixed' };

/// The boxes as korvane-layout's options, in its order: an empty box is an option not given.
function typedOptions() {
  const shell = $('given').value === 'shell';
  const uTube = $('bundle').value === 'u-tube';
  // The clearance belongs to a given shell, the bend radius to U-tubes: their boxes rest.
  $('clearance').disabled = !shell;
  $('bend-radius').disabled = !uTube;
  const typed = [];
  const add = (name, id) => {
    const text = $(id).value;
    if (text.trim() !== '')
      typed.push([name, text]);
  };
  add(shell ? 'shell' : 'otl', 'diameter');
  add('tube', 'tube');
  add('pitch', 'pitch');
  typed.push(['pattern', $('pattern').value]);
  typed.push(['passes', $('passes').value]);
  typed.push(['centre', $('centre').value]);
  add('lane-spacing', 'lane-spacing');
  if (shell)
    add('clearance', 'clearance');
  add('centre-tube', 'centre-tube');
  typed.push(['lanes', $('lanes').value]);
  typed.push(['bundle', $('bundle').value]);
  if (uTube)
    add('bend-radius', 'bend-radius');
  add('tie-rods', 'tie-rods');
  add('baffle-cut', 'baffle-cut');
  if ($('gb151').checked)
    typed.push(['gb151', '']);
  return typed;
}

/// The options for the address: what was typed, and the choices that are not the default.
function hashOf(typed) {
  const parts = [];
  for (const [name, value] of typed) {
    if (choices.includes(name) && defaults[name] === value)
      continue;
    parts.push(name === 'gb151' ? 'gb151'
                                : name + '=' + encodeURIComponent(value).replace(/%2C/gi, ','));
  }
  return parts.join('&');
}

/// Sets the boxes from options as korvane-layout takes them; what is not given takes its
/// default. Returns what could not be taken, one line each.
function applyOptions(pairs) {
  for (const id of textBoxes)
    $(id).value = '';
  for (const [id, value] of Object.entries(defaults))
    $(id).value = value;
  $('gb151').checked = false;
  const refused = [];
  for (const [name, value] of pairs) {
    if (name === 'shell' || name === 'otl') {
      $('given').value = name;
      $('diameter').value = value;
    } else if (choices.includes(name)) {
      const select = $(name);
      const values = [...select.options].map((option) => option.value);
      // Full-width forms of a choice ("２") are the choice, as the programs read them.
      const wanted = [value, value.normalize('NFKC').trim()].find((v) => values.includes(v));
      if (wanted !== undefined)
        select.value = wanted;
      else
        refused.push(tr('--%1 须为 %2 之一，而不是 \'%3\'', name, values.join('、'), value));
    } else if (name === 'gb151') {
      $('gb151').checked = ['', '1', 'true', 'yes', 'on'].includes(value);
    } else if (textBoxes.includes(name)) {
      $(name).value = value;
    } else {
      refused.push(tr('未知选项 %1', name));
    }
  }
  return refused;
}

function parseHash(hash) {
  const pairs = [];
  for (const part of hash.replace(/^#/, '').split('&')) {
    if (!part)
      continue;
    const at = part.indexOf('=');
    const decode = (text) => {
      try {
        return decodeURIComponent(text.replace(/\+/g, ' '));
      } catch (e) {
        return text;
      }
    };
    pairs.push(at < 0 ? [decode(part), ''] : [decode(part.slice(0, at)), decode(part.slice(at + 1))]);
  }
  return pairs;
}

function remember(key, value) {
  try {
    localStorage.setItem(key, value);
  } catch (e) { /* private windows may refuse: the address still holds the inputs */ }
}

function recall(key) {
  try {
    return localStorage.getItem(key);
  } catch (e) {
    return null;
  }
}

// --- Counting and drawing as the designer types ----------------------------------------------
let wanted = 0; // the latest inputs' number
let lastHash = null;
const shown = { answer: null, stale: false, problems: null, drawnFor: -1, countedFor: -1 };

function inputsChanged() {
  const typed = typedOptions();
  const hash = hashOf(typed);
  if (hash !== lastHash) {
    lastHash = hash;
    history.replaceState(null, '', '#' + hash);
    remember('korvane.layout', hash);
  }
  const number = ++wanted;
  const started = performance.now();
  setExports(false);
  tracked(counter.call('layout', { options: typed }, kLongest).then((answer) => {
    // An answer overtaken by a later keystroke is not shown.
    if (number !== wanted)
      return;
    countsArrived(answer, number);
    korvane.timings.push({ what: 'counts', ms: performance.now() - started, at: performance.now(),
      tubes: answer.layout ? answer.layout.in_circle : null });
  }, (error) => {
    if (number === wanted)
      setStatus(failureText(error));
  }));
  // The drawing waits for a pause in the typing, as korvane-sheet's does: the counts come at
  // every key, and the keys never queue behind drawings nobody will see.
  // The first drawing comes at once.
  drawing.inputAt = started;
  clearTimeout(drawing.pause);
  drawing.pause = setTimeout(() => {
    drawing.pausing = false;
    requestDrawing();
    busy(-1);
  }, drawing.scene === null ? 0 : kPauseMs);
  if (!drawing.pausing) {
    drawing.pausing = true;
    busy(+1);
  }
}

function countsArrived(answer, number) {
  markProblems(answer.problems);
  if (answer.problems.length > 0) {
    setStale(true);
    setStatus(shown.answer ? '输入有误：图为上次有效的布置' : '');
    return;
  }
  korvane.layout = answer.layout;
  shown.countedFor = number;
  showCounts(answer, false);
  updateExports();
  if (shown.drawnFor !== number && status.source === '输入有误：图为上次有效的布置')
    setStatus('');
}

/// Every box that cannot be taken, marked at once with its own reason; the first reason of a
/// box stands (H and V share one).
function markProblems(problems) {
  shown.problems = problems;
  const reasons = {};
  for (const problem of problems) {
    const box = problem.field === 'diameter' || textBoxes.includes(problem.field) ||
        ['passes', 'centre', 'gb151'].includes(problem.field) ? problem.field : null;
    if (box && reasons[box] === undefined)
      reasons[box] = tr(problem.reason);
  }
  for (const id of textBoxes.concat(['passes', 'centre', 'gb151'])) {
    const reason = reasons[id] || '';
    const element = $(id);
    const note = $(id + '-reason');
    note.textContent = reason;
    if (reason) {
      element.setAttribute('aria-invalid', 'true');
      element.setAttribute('aria-describedby', note.id);
    } else {
      element.removeAttribute('aria-invalid');
      element.removeAttribute('aria-describedby');
    }
  }
}

function setStale(stale) {
  shown.stale = stale;
  // Grey when the drawing stands for nothing typed now; a drawing on its way is not.
  $('sheet').classList.toggle('stale', stale || shown.drawnFor < 0);
  $('counts').classList.toggle('stale', stale);
  $('arrangement').classList.toggle('stale', stale);
  $('baffles').classList.toggle('stale', stale);
  // Said to a screen reader too, as the grey says it to the eye.
  const note = stale ? tr('输入有误：为上次有效布置的数值') : '';
  for (const output of $('counts').querySelectorAll('output')) {
    if (note)
      output.setAttribute('aria-description', note);
    else
      output.removeAttribute('aria-description');
  }
  if (stale)
    setExports(false);
}

function formulaText(value, digits) {
  return value === null || value === undefined ? '—' : value.toFixed(digits);
}

function showCounts(answer, stale) {
  shown.answer = answer;
  const layout = answer.layout;
  const view = answer.view;
  $('in-circle').textContent = layout.in_circle;
  $('lane-removed').textContent = layout.lane_removed;
  $('centre-removed').textContent = layout.centre_removed;
  $('total').textContent = layout.total;
  $('per-pass').textContent = layout.per_pass.join(' / ');
  setStale(stale);

  // The defaults a box stands for, as korvane-sheet shows them.
  const spacings = view.lane_defaults.slice();
  if (view.standard_spacing !== null)
    spacings.push(tr('GB/T 151 %1', view.standard_spacing));
  $('lane-spacing').placeholder = layout.lanes.length === 0 ? tr('单管程无隔板槽')
    : spacings.length === 0 ? '' : tr('默认 %1 mm', spacings.join(', '));
  $('pitch').placeholder = layout.from_gb151.includes('pitch') ? tr('GB/T 151 %1 mm', view.pitch) : '';
  $('clearance').placeholder = layout.shell !== null ? tr('默认 %1 mm', view.clearance)
                                                     : tr('给定布管限定圆时不用');

  let arrangement = tr('布管限定圆 DL %1 mm，%2', view.layout_circle,
    layout.centre === 'on-tube' ? tr('对中') : tr('跨中'));
  if (layout.best_of)
    arrangement += tr('（另一种布置 %1 管）',
      layout.best_of[layout.centre === 'on-tube' ? 'straddle' : 'on-tube']);
  if (layout.tie_rods && layout.tie_rods.count > 0) {
    arrangement += view.tie_rod_diameter !== null
      ? tr('，拉杆 %1 根，直径 %2 mm', layout.tie_rods.count, view.tie_rod_diameter)
      : tr('，拉杆 %1 根', layout.tie_rods.count);
  }
  if (layout.bundle === 'u-tube')
    arrangement += tr('，U形管 %1 根', layout.u_tubes);
  if (layout.from_gb151.length > 0)
    arrangement += tr('，按 GB/T 151 取值');
  $('arrangement').textContent = arrangement;

  // Each cut's exact figures, the uniform-density formulas' beside them in grey.
  const baffles = $('baffles');
  baffles.replaceChildren();
  const cuts = layout.baffle === undefined ? [] : [].concat(layout.baffle);
  cuts.forEach((baffle, i) => {
    const line = document.createElement('p');
    const parts = tr('折流板缺口 %1%：缺口内管数 %2，切边管 %3；错流管数比 Fc %4%5；错流管排数 Nc ' +
        '%6%7；缺口内有效管排数 Ncw %8%9', view.cuts[i], baffle.window_tubes, baffle.edge_tubes,
        baffle.Fc.toFixed(4), '\u0001' + formulaText(baffle.formula.Fc, 4) + '\u0002', baffle.Nc,
        '\u0001' + formulaText(baffle.formula.Nc, 2) + '\u0002', baffle.Ncw.toFixed(1),
        '\u0001' + formulaText(baffle.formula.Ncw, 2) + '\u0002');
    for (const [k, piece] of parts.split(/[\u0001\u0002]/).entries()) {
      if (k % 2 === 0) {
        line.append(piece);
      } else {
        const grey = document.createElement('span');
        grey.className = 'formula';
        grey.textContent = ' (' + piece + ')';
        line.append(grey);
      }
    }
    baffles.append(line);
  });
  baffles.hidden = cuts.length === 0;
  baffles.title = tr('括号内灰色数值为均布公式的估算');
}

// The drawing: one request at a time, always for the latest inputs.
const drawing = { busy: false, again: false, frame: null, scene: null, printed: false, pause: 0,
  pausing: false, inputAt: 0 };
const kPauseMs = 120;
let slowDrawing = 0;

function requestDrawing() {
  if (drawing.busy) {
    drawing.again = true;
    return;
  }
  drawing.busy = true;
  drawing.again = false;
  const number = wanted;
  // Timed from the key, the pause included.
  const started = drawing.inputAt;
  clearTimeout(slowDrawing);
  // Said only when a drawing takes long, and never over something more important.
  slowDrawing = setTimeout(() => {
    if (!status.source)
      setStatus('计算中…');
  }, 300);
  tracked(drawer.call('layout', { options: typedOptions(), draw: true, view: currentView() },
    kLongest)
    .then((answer) => drawingArrived(answer, number, started),
      (error) => setStatus(failureText(error)))
    .finally(() => {
      clearTimeout(slowDrawing);
      if (status.source === '计算中…')
        setStatus('');
      drawing.busy = false;
      if (drawing.again || number !== wanted)
        requestDrawing();
    }));
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
    setStatus('布管限定圆内 %1 管，超过 %2 管，不再绘图', answer.layout.in_circle, 200000);
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

const painting = { asking: false, again: false };

function repaint() {
  if (!paintsInWorker) {
    paintView($('sheet-canvas'), drawing.scene, currentView());
    return;
  }
  if (painting.asking) {
    painting.again = true;
    return;
  }
  painting.asking = true;
  painting.again = false;
  tracked(drawer.call('view', currentView()).catch(() => {}).finally(() => {
    painting.asking = false;
    if (painting.again)
      repaint();
  }));
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

// --- Zoom, pan and the pointer --------------------------------------------------------------
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

const pointer = { asking: false, next: null };

function describeTube(tube) {
  if (tube.removed !== null) {
    const why = tube.removed === 'lane' ? tr('在隔板槽内，已去掉') : tr('让位于中心管，已去掉');
    return tr('x = %1 mm，y = %2 mm\n%3', tube.x, tube.y, why);
  }
  if (tube.tie_rod)
    return tr('管 %1：拉杆\nx = %2 mm，y = %3 mm\n第 %4 管程', tube.number, tube.x, tube.y, tube.pass);
  return tr('管 %1\nx = %2 mm，y = %3 mm\n第 %4 管程', tube.number, tube.x, tube.y, tube.pass);
}

/// Shows what is under a point of the view: a tube's number, place and pass, or why it went.
function showTipAt(px, py) {
  if (!drawing.frame || shown.drawnFor < 0 || shown.drawnFor !== wanted) {
    $('tip').hidden = true;
    return;
  }
  if (pointer.asking) {
    pointer.next = [px, py];
    return;
  }
  pointer.asking = true;
  const at = sheetPoint(px, py);
  drawer.call('tube_at', at).then((answer) => {
    const tip = $('tip');
    if (!answer.tube) {
      tip.hidden = true;
      return;
    }
    tip.textContent = describeTube(answer.tube);
    tip.hidden = false;
    const box = $('sheet').getBoundingClientRect();
    tip.style.left = Math.min(px + 14, Math.max(0, box.width - tip.offsetWidth - 4)) + 'px';
    tip.style.top = Math.min(py + 14, Math.max(0, box.height - tip.offsetHeight - 4)) + 'px';
  }, () => {
    $('tip').hidden = true;
  }).finally(() => {
    pointer.asking = false;
    if (pointer.next) {
      const [nx, ny] = pointer.next;
      pointer.next = null;
      showTipAt(nx, ny);
    }
  });
}

function setUpSheet() {
  const sheet = $('sheet');
  const touches = new Map();
  let dragged = false, pinch = null;
  const local = (event) => {
    const box = sheet.getBoundingClientRect();
    return [event.clientX - box.left, event.clientY - box.top];
  };
  sheet.addEventListener('wheel', (event) => {
    event.preventDefault();
    const [px, py] = local(event);
    const notches = event.deltaMode === 1 ? event.deltaY / 3 : event.deltaY / 100;
    zoomAt(Math.pow(1.25, -notches), px, py);
  }, { passive: false });
  sheet.addEventListener('pointerdown', (event) => {
    try {
      sheet.setPointerCapture(event.pointerId);
    } catch (e) { /* a pointer already gone: the drag simply ends at the edge */ }
    touches.set(event.pointerId, local(event));
    dragged = false;
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
    // A tap without a drag asks what is there, for a finger as for a mouse.
    if (!dragged && event.type === 'pointerup')
      showTipAt(px, py);
  };
  sheet.addEventListener('pointerup', release);
  sheet.addEventListener('pointercancel', release);
  sheet.addEventListener('pointerleave', (event) => {
    if (event.pointerType === 'mouse')
      $('tip').hidden = true;
  });
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
    } else {
      return;
    }
    event.preventDefault();
  });
  $('zoom-in').addEventListener('click', () => zoomCentre(1.25));
  $('zoom-out').addEventListener('click', () => zoomCentre(1 / 1.25));
  $('fit').addEventListener('click', fit);
  new ResizeObserver(() => {
    if (sheetView.fitted)
      fit();
  }).observe(sheet);
}

// --- Out of the page ------------------------------------------------------------------------
function download(name, blob) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

/// The file of the drawn layout, written by the programs' own writers.
async function exported(format) {
  const answer = await drawer.call('export', { format, numbers: $('numbers').checked }, kLongest);
  if (answer.text === null)
    throw new Error(tr('没有可导出的图纸'));
  return answer.text;
}

function fileName(extension) {
  const layout = korvane.layout;
  const size = layout ? `${layout.shell !== null ? layout.shell : layout.layout_circle}-` +
      `${layout.tube}-${layout.pitch}-${layout.passes}` : 'sheet';
  return `korvane-${size}.${extension}`;
}

function base64Of(text) {
  const bytes = new TextEncoder().encode(text);
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000)
    binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  return btoa(binary);
}

/// The drawing as a PNG at twice the screen's resolution or more: the SVG, painted by the
/// browser onto a canvas.
async function pngFromSvg(svgText) {
  const image = new Image();
  image.src = 'data:image/svg+xml;base64,' + base64Of(svgText);
  await image.decode();
  const times = Math.max(2, 2 * (window.devicePixelRatio || 1));
  const canvas = document.createElement('canvas');
  canvas.width = Math.round(image.naturalWidth * times);
  canvas.height = Math.round(image.naturalHeight * times);
  const context = canvas.getContext('2d');
  context.drawImage(image, 0, 0, canvas.width, canvas.height);
  return new Promise((resolve, reject) => canvas.toBlob(
    (blob) => (blob ? resolve(blob) : reject(new Error('canvas'))), 'image/png'));
}

function setUpExports() {
  const save = (id, job) => $(id).addEventListener('click', () => {
    tracked(job().catch((error) => setStatus('无法生成文件：%1', error.message || error)));
  });
  save('save-svg', async () => download(fileName('svg'),
    new Blob([await exported('svg')], { type: 'image/svg+xml' })));
  save('save-dxf', async () => download(fileName('dxf'),
    new Blob([await exported('dxf')], { type: 'application/dxf' })));
  save('save-csv', async () => download(fileName('csv'),
    new Blob([await exported('csv')], { type: 'text/csv' })));
  save('save-png', async () => download(fileName('png'), await pngFromSvg(await exported('svg'))));
  $('copy-link').addEventListener('click', async () => {
    try {
      await navigator.clipboard.writeText(location.href);
      setStatus('已复制链接');
    } catch (error) {
      // Where the clipboard is closed to the page, the address is selected for Ctrl+C.
      const field = document.createElement('textarea');
      field.value = location.href;
      document.body.append(field);
      field.select();
      const copied = document.execCommand && document.execCommand('copy');
      field.remove();
      setStatus(copied ? '已复制链接' : '无法复制链接：%1', error.message || error);
    }
  });
  $('print').addEventListener('click', () => window.print());
  window.addEventListener('beforeprint', paintForPrint);
}

// --- The calculator -------------------------------------------------------------------------
const calculatorBoxes = ['Text4', 'Text3', 'Text5', 'Text1'];

function calculate() {
  const inputs = calculatorBoxes.map((id) => $(id).value);
  remember('korvane.count', JSON.stringify(inputs));
  const list = $('message-list');
  return tracked(counter.call('count', { inputs }, kLongest).then((answer) => {
    korvane.count = answer.json;
    list.replaceChildren();
    // The window's message boxes, in the order they came, then its error box.
    for (const message of answer.json.messages) {
      const item = document.createElement('li');
      item.textContent = message;
      list.append(item);
    }
    if (answer.report !== null) {
      const item = document.createElement('li');
      item.className = 'error';
      item.textContent = answer.report;
      list.append(item);
    }
    // After a run-time error the result box keeps what it had, as in the window.
    if (answer.json.result !== null)
      $('Text2').textContent = answer.json.result;
  }, (error) => {
    list.replaceChildren();
    const item = document.createElement('li');
    item.className = 'error';
    item.textContent = failureText(error);
    list.append(item);
  }));
}

// --- Tabs -----------------------------------------------------------------------------------
function selectTab(tab, focus) {
  for (const other of document.querySelectorAll('[role="tab"]')) {
    const selected = other === tab;
    other.setAttribute('aria-selected', String(selected));
    other.tabIndex = selected ? 0 : -1;
    $(other.getAttribute('aria-controls')).hidden = !selected;
  }
  if (focus)
    tab.focus();
  if (tab.id === 'tab-layout' && sheetView.fitted)
    fit();
}

function setUpTabs() {
  const tabs = [...document.querySelectorAll('[role="tab"]')];
  for (const tab of tabs) {
    tab.addEventListener('click', () => selectTab(tab, false));
    tab.addEventListener('keydown', (event) => {
      const i = tabs.indexOf(tab);
      const next = { ArrowRight: i + 1, ArrowLeft: i - 1, Home: 0, End: tabs.length - 1 }[event.key];
      if (next === undefined)
        return;
      event.preventDefault();
      selectTab(tabs[(next + tabs.length) % tabs.length], true);
    });
  }
}

// --- Start ----------------------------------------------------------------------------------
function start() {
  language = chooseLanguage();
  setUpTabs();
  setUpSheet();
  setUpExports();
  setExports(false);
  $('language').addEventListener('click', () => {
    language = language === 'en' ? 'zh' : 'en';
    remember('korvane.language', language);
    applyLanguage();
  });
  $('inputs').addEventListener('submit', (event) => event.preventDefault());
  for (const element of $('inputs').querySelectorAll('input, select'))
    element.addEventListener(element.tagName === 'SELECT' || element.type === 'checkbox'
      ? 'change' : 'input', inputsChanged);
  // The standard's lanes are shifted: ticking it says so in the choice too.
  $('gb151').addEventListener('change', () => {
    if ($('gb151').checked)
      $('lanes').value = 'shift';
  });
  $('Command1').addEventListener('click', calculate);

  const stored = recall('korvane.count');
  if (stored) {
    try {
      JSON.parse(stored).forEach((text, i) => {
        if (i < calculatorBoxes.length && typeof text === 'string')
          $(calculatorBoxes[i]).value = text;
      });
    } catch (e) { /* a damaged entry is dropped */ }
  }

  // The address first (a link someone sent), then the last inputs, then an example.
  const hash = location.hash.length > 1 ? location.hash
    : recall('korvane.layout') || 'shell=600&tube=25&pitch=32&passes=2';
  const refused = applyOptions(parseHash(hash));
  applyLanguage();
  inputsChanged();
  if (refused.length > 0)
    setStatus('链接中的选项未能全部采用：%1', refused.join('；'));
  window.addEventListener('hashchange', () => {
    if (location.hash.replace(/^#/, '') === lastHash)
      return;
    const refusedNow = applyOptions(parseHash(location.hash));
    inputsChanged();
    if (refusedNow.length > 0)
      setStatus('链接中的选项未能全部采用：%1', refusedNow.join('；'));
  });
  $('diameter').focus();
}

start();
