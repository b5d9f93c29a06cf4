// The layout's form, built when the page opens from the C++'s table (the one the programs'
// help and the window walk), and the counts under the drawing from the summary's. Nothing here
// knows an option: the C++ turns the values into options and back.
'use strict';

const form = JSON.parse($('korvane-form').textContent);

/// A label for a control, in the page's language and kept so when the language changes.
function labelFor(id, source) {
  const element = document.createElement('label');
  element.htmlFor = id;
  element.dataset.tr = source;
  element.textContent = label(source);
  return element;
}

function controlElement(control) {
  if (control.widget === 'choice') {
    const select = document.createElement('select');
    for (const choice of control.choices) {
      const option = document.createElement('option');
      option.value = choice.value;
      option.dataset.tr = choice.label;
      option.textContent = label(choice.label);
      select.append(option);
    }
    return select;
  }
  const input = document.createElement('input');
  if (control.widget === 'switch')
    input.type = 'checkbox';
  else if (control.numeric)
    input.inputMode = 'decimal';
  if (control.placeholder !== null)
    input.dataset.placeholder = control.placeholder;
  return input;
}

/// The rows of the form and of the counts, in the table's order.
function buildForm() {
  const rows = $('inputs');
  for (const control of form.controls) {
    const element = controlElement(control);
    element.id = control.id;
    if (control.tooltip !== null)
      element.dataset.trTitle = control.tooltip;
    const reason = document.createElement('p');
    reason.className = 'reason';
    reason.id = control.id + '-reason';
    const row = document.createElement('div');
    row.className = control.widget === 'switch' ? 'row check' : 'row';
    if (control.widget === 'switch')
      row.append(element, labelFor(control.id, control.label), reason);
    else
      row.append(labelFor(control.id, control.label), element, reason);
    rows.append(row);
  }
  for (const count of form.counts) {
    const cell = document.createElement('div');
    if (count.wide)
      cell.className = 'wide';
    const output = document.createElement('output');
    output.id = count.id;
    cell.append(labelFor(count.id, count.label), output);
    $('counts').append(cell);
  }
}

/// What every control holds: a box's text, a choice's value, "1" for a ticked switch.
function controlValues() {
  const values = {};
  for (const control of form.controls) {
    const element = $(control.id);
    values[control.id] = control.widget === 'switch' ? (element.checked ? '1' : '') : element.value;
  }
  return values;
}

function setControlValues(values) {
  for (const control of form.controls) {
    if (values[control.id] === undefined)
      continue;
    if (control.widget === 'switch')
      $(control.id).checked = values[control.id] === '1';
    else
      $(control.id).value = values[control.id];
  }
  showResting();
}

/// The controls whose option does not apply rest, greyed, as in korvane-sheet.
function showResting() {
  const values = controlValues();
  for (const control of form.controls) {
    const unless = control.rests_unless, when = control.rests_when;
    // A condition's value may list several, as "4|6|8".
    const holds = (c) => c.value.split('|').includes(values[c.control]);
    $(control.id).disabled = (unless !== null && !holds(unless)) || (when !== null && holds(when));
  }
}

/// A ticked switch sets its choice too, as korvane-layout reads it.
function tick(control) {
  if (control.ticks !== null && $(control.id).checked)
    $(control.ticks.control).value = control.ticks.value;
}

/// Every control that cannot be taken, marked at once with its own reason; the first reason of
/// a control stands (H and V share one).
function markProblems(problems) {
  const reasons = {};
  for (const problem of problems) {
    if (problem.field && reasons[problem.field] === undefined)
      reasons[problem.field] = tr(problem.reason);
  }
  for (const control of form.controls) {
    const reason = reasons[control.id] || '';
    const element = $(control.id);
    const note = $(control.id + '-reason');
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

/// What the boxes left empty stand for.
function showHints(hints) {
  for (const hint of hints)
    $(hint.control).placeholder = render(hint.text);
}

// --- The address ------------------------------------------------------------------------------
/// The options as the address holds them, by korvane-layout's names: a switch by its name.
function hashOf(options) {
  return options.map(([name, value]) => (value === '' ? name
    : name + '=' + encodeURIComponent(value).replace(/%2C/gi, ','))).join('&');
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
