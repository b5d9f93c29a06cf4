// The page: two tabs over the same C++ as the programs, run in Web Workers. Nothing here
// counts, reads a number, names an option or writes a file format; it sends what was typed
// and shows the answer.
'use strict';

// --- Counting and drawing as the designer types ----------------------------------------------
let wanted = 0; // the latest inputs' number
let lastHash = null;

/// The counts at once, the drawing after a pause in the typing; `now`, for an edit or an undo,
/// draws without the pause.
function inputsChanged(now = false) {
  showResting();
  const number = ++wanted;
  const started = performance.now();
  setExports(false);
  tracked(counter.call('layout', layoutRequest(), kLongest).then((answer) => {
    // An answer overtaken by a later keystroke is not shown.
    if (number !== wanted)
      return;
    countsArrived(answer, number);
    korvane.timings.push({ what: 'counts', ms: performance.now() - started, at: performance.now(),
      tubes: answer.layout ? answer.layout.in_circle : null });
  }, (error) => {
    // The last figures stand for nothing typed now: grey, as after a refusal.
    if (number === wanted) {
      setStale(true);
      setFailure(error);
    }
  }));
  drawSoon(started, now);
}

/// The address: the inputs with the edits while the link stays short enough to send.
function linkOf(answer) {
  if (!answer.link_edits || answer.link_edits.length === answer.link.length)
    return answer.link;
  const whole = location.href.replace(/#.*$/, '').length + 1 + hashOf(answer.link_edits).length;
  return whole < 2000 ? answer.link_edits : answer.link;
}

/// The inputs in the address and kept for the next visit, as korvane-layout's options.
function keepInputs(options) {
  const hash = hashOf(options);
  if (hash === lastHash)
    return;
  lastHash = hash;
  history.replaceState(null, '', '#' + hash);
  remember('korvane.layout', hash);
}

function countsArrived(answer, number) {
  keepInputs(linkOf(answer));
  markProblems(answer.problems);
  shown.problems = answer.problems;
  if (answer.problems.length > 0) {
    setStale(true);
    setStatus(shown.answer ? form.texts.stale_drawing : '');
    return;
  }
  korvane.layout = answer.layout;
  shown.countedFor = number;
  showCounts(answer, false);
  updateExports();
  if ((shown.drawnFor !== number && status.source === form.texts.stale_drawing) || saysFailure())
    setStatus('');
}

/// Sets the controls from options as korvane-layout takes them (a link, the last visit, the
/// example), what is not given at its default, and says what could not be taken.
/// The edits among the options replace the design's; at the start, the design kept at the last
/// visit comes back with its file and title if it is of these inputs.
function applyOptions(options, starting = false) {
  return tracked(counter.call('values', { options }, kLongest).then((answer) => {
    // Another link typed or followed over edits not saved: they go only if the designer agrees.
    if (!starting && !sameState(answer.edits, design.edits)
        && !mayLetGo('设计有未保存的更改。打开这个链接，这些更改就会丢失。要继续吗？')) {
      history.replaceState(null, '', '#' + lastHash);
      return;
    }
    setControlValues(answer.values);
    if (!starting || !recallDesign(controlValues(), answer.edits))
      design.edits = answer.edits;
    if (starting)
      startSteps();
    else
      designChanged('');
    // A line of its own, which the counts and drawings that follow do not overwrite.
    linkRefused = answer.refused;
    showLinkNote();
    inputsChanged();
  }, (error) => setFailure(error)));
}

/// What the last link (or visit) gave that the page did not take, each option's reason.
let linkRefused = [];
function showLinkNote() {
  $('link-note').textContent = linkRefused.length === 0 ? ''
    : tr('链接中的选项未能全部采用：%1', linkRefused.map(render).join('；'));
}

function applyLanguage() {
  relabel();
  if (shown.answer)
    showCounts(shown.answer, shown.stale);
  if (shown.problems)
    markProblems(shown.problems);
  showStatus();
  showLinkNote();
  designShown();
}

/// A switch of language: the drawing again, its caption and legend in the new words.
function languageChanged() {
  applyLanguage();
  tracked(drawer.call('language', drawingWords()).catch(() => {}));
  if (drawing.scene)
    requestDrawing();
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

function setUpForm() {
  buildForm();
  $('inputs').addEventListener('submit', (event) => event.preventDefault());
  for (const control of form.controls) {
    const element = $(control.id);
    // A ticked switch sets its choice before the inputs are read.
    element.addEventListener(control.widget === 'box' ? 'input' : 'change', () => {
      tick(control);
      inputsChanged();
      designChanged(control.id);
    });
  }
}

// --- Start ----------------------------------------------------------------------------------
function start() {
  language = chooseLanguage();
  setUpTabs();
  setUpForm();
  setUpSheet();
  setUpExports();
  setUpDesign();
  setUpCalculator();
  setExports(false);
  $('language').addEventListener('click', () => {
    language = language === 'en' ? 'zh' : 'en';
    remember('korvane.language', language);
    languageChanged();
  });
  applyLanguage();
  tracked(drawer.call('language', drawingWords()).catch(() => {}));
  // The address first (a link someone sent), then the last inputs, then an example.
  const hash = location.hash.length > 1 ? location.hash : recall('korvane.layout');
  applyOptions(hash ? parseHash(hash) : form.example, true);
  window.addEventListener('hashchange', () => {
    if (location.hash.replace(/^#/, '') !== lastHash)
      applyOptions(parseHash(location.hash));
  });
  // A designer starts with the diameter: the first box.
  $(form.controls.find((control) => control.widget === 'box').id).focus();
}

start();
