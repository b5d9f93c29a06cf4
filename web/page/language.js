// The page's language: korvane-sheet's own English, put in the page when it was built, and the
// page's few texts of its own; and the C++'s messages put into words, as the window puts them.
'use strict';

const $ = (id) => document.getElementById(id);

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
  '计算出错，已重新启动计算模块：%1': 'The calculation failed and was restarted: %1',
  '计算超时，已停止并重新启动计算模块': 'The calculation took too long; it was stopped and restarted',
  '链接中的选项未能全部采用：%1': 'Some options of the link were not taken: %1',
  '无法生成文件：%1': 'Cannot make the file: %1',
  '设计': 'Design',
  '编辑此管': 'Edit this tube',
  '设计有未保存的更改。打开另一个设计，这些更改就会丢失。要继续吗？':
    'The design has changes that are not saved. Opening another design loses them. Go on?',
  '设计有未保存的更改。打开这个链接，这些更改就会丢失。要继续吗？':
    'The design has changes that are not saved. Opening this link loses them. Go on?',
};

let language = 'zh';

/// A source text in the page's language.
function translated(source) {
  return language === 'en' ? windowEnglish[source] || pageEnglish[source] || source : source;
}

/// The arguments put into a text: %1 to %99, as Qt and the C++ read them, in one pass.
function substitute(text, args) {
  return text.replace(/%(\d{1,2})/g, (all, n) => (n >= 1 && n <= args.length ? String(args[n - 1]) : all));
}

/// A text in the page's language, with %1, %2, ... filled in.
function tr(source, ...args) {
  return substitute(translated(source), args);
}

/// A label's text without its keyboard accelerator: "管子外径 d(&T)" reads "管子外径 d".
function label(source) {
  return tr(source).replace(/\(&.\)/g, '').replace(/&(.)/g, '$1').trim();
}

/// A message of the C++'s as pieces of text, each marked when it is a value of the formulas.
function pieces(message) {
  if (typeof message === 'string')
    return [{ text: message }];
  if (message.formula !== undefined)
    return [{ text: message.formula, formula: true }];
  if (message.join !== undefined)
    return message.args.flatMap((arg, i) => (i ? [{ text: message.join }] : []).concat(pieces(arg)));
  const args = message.args.map(pieces);
  const source = translated(message.source);
  const out = [];
  let last = 0;
  source.replace(/%(\d{1,2})/g, (all, n, at) => {
    if (n >= 1 && n <= args.length) {
      out.push({ text: source.slice(last, at) }, ...args[n - 1]);
      last = at + all.length;
    }
    return all;
  });
  out.push({ text: source.slice(last) });
  return out;
}

/// A message, or a line of them, in the page's language.
function render(message) {
  return [].concat(message).flatMap(pieces).map((piece) => piece.text).join('');
}

/// The same into an element, the formulas' values in grey.
function renderInto(element, message) {
  element.replaceChildren();
  for (const piece of [].concat(message).flatMap(pieces)) {
    if (!piece.formula) {
      element.append(piece.text);
      continue;
    }
    const grey = document.createElement('span');
    grey.className = 'formula';
    grey.textContent = piece.text;
    element.append(grey);
  }
}

/// The drawings' words in the page's language, as the core takes them.
function drawingWords() {
  return { english: language === 'en' ? windowEnglish : null };
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

/// The page's fixed texts in its language: the elements say which source they show.
function relabel() {
  document.documentElement.lang = language === 'en' ? 'en' : 'zh-CN';
  for (const element of document.querySelectorAll('[data-tr]'))
    element.textContent = label(element.dataset.tr);
  for (const element of document.querySelectorAll('[data-tr-label]'))
    element.setAttribute('aria-label', label(element.dataset.trLabel));
  for (const element of document.querySelectorAll('[data-tr-title]'))
    element.title = tr(element.dataset.trTitle);
  for (const element of document.querySelectorAll('[data-placeholder]'))
    element.placeholder = tr(element.dataset.placeholder);
  $('language').textContent = language === 'en' ? '中文' : 'English';
  $('language').lang = language === 'en' ? 'zh-CN' : 'en';
  document.title = language === 'en' ? 'Korvane tube sheet' : 'Korvane 管板布置';
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
