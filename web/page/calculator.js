// The calculator: the original window's four boxes and its button, counted by the C++ of
// korvane-count, its messages in order and never in a blocking box.
'use strict';

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

function setUpCalculator() {
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
}
