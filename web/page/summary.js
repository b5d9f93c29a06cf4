// What the page shows of a counted layout: the C++'s summary, rendered and nothing composed
// here; the last one greyed while the inputs do not stand for it.
'use strict';

const shown = { answer: null, stale: false, problems: null, drawnFor: -1, countedFor: -1 };

function setStale(stale) {
  shown.stale = stale;
  // Grey when the drawing stands for nothing typed now; a drawing on its way is not.
  $('sheet').classList.toggle('stale', stale || shown.drawnFor < 0);
  $('counts').classList.toggle('stale', stale);
  $('arrangement').classList.toggle('stale', stale);
  $('baffles').classList.toggle('stale', stale);
  // Said to a screen reader too, as the grey says it to the eye.
  const note = stale ? tr(form.texts.stale_note) : '';
  for (const output of $('counts').querySelectorAll('output')) {
    if (note)
      output.setAttribute('aria-description', note);
    else
      output.removeAttribute('aria-description');
  }
  if (stale)
    setExports(false);
}

function showCounts(answer, stale) {
  shown.answer = answer;
  const summary = answer.summary;
  form.counts.forEach((count, i) => {
    $(count.id).textContent = render(summary.counts[i]);
  });
  setStale(stale);
  showHints(summary.hints);
  $('arrangement').textContent = render(summary.arrangement);
  // Each cut's exact figures, the uniform-density formulas' beside them in grey.
  const baffles = $('baffles');
  baffles.replaceChildren();
  for (const baffle of summary.baffles) {
    const line = document.createElement('p');
    renderInto(line, baffle);
    baffles.append(line);
  }
  baffles.hidden = summary.baffles.length === 0;
  baffles.title = render(summary.baffle_note);
}
