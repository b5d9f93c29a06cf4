// Out of the page: the drawing and the hole list as the programs' own writers make them, a PNG
// painted by the browser from the SVG, the link, print.
'use strict';

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

/// The file of the drawn layout, written by the programs' own writers, and its name.
async function exported(format) {
  const answer = await drawer.call('export', { format, numbers: $('numbers').checked }, kLongest);
  if (answer.text === null)
    throw new Error(tr('没有可导出的图纸'));
  return answer;
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
  const file = (format, type) => async () => {
    const { text, base64, name } = await exported(format);
    // A DXF comes as its bytes (GBK): a text string would turn them into UTF-8.
    const content = base64 === undefined ? text
      : Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    download(`${name}.${format}`, new Blob([content], { type }));
  };
  save('save-svg', file('svg', 'image/svg+xml'));
  save('save-dxf', file('dxf', 'application/dxf'));
  save('save-csv', file('csv', 'text/csv'));
  save('save-png', async () => {
    const { text, name } = await exported('svg');
    download(`${name}.png`, await pngFromSvg(text));
  });
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

