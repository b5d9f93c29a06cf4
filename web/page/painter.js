// The painter, shared by the page and its drawing worker: a scene's shapes as the SVG writer
// places them (caption and legend above, the sheet below in its millimetres, y up), and the
// view that fits it. Only what can be seen is painted.
'use strict';

const kFonts = '"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Microsoft YaHei", "PingFang SC", sans-serif';

/// How a layer draws: its ink and pen in `unit`s, dashed or not; whether it fills.
function styleOf(context, layer, hollow, dashed, unit) {
  context.strokeStyle = layer.ink;
  context.lineWidth = layer.pen * unit;
  context.setLineDash(dashed ? [4 * unit, 3 * unit] : []);
  return layer.fill !== null && !hollow;
}

/// The caption and the legend above the sheet, as the SVG writer places them.
function paintWords(context, scene) {
  const f = scene.frame;
  context.fillStyle = '#000';
  context.font = `${f.font_size}px ${kFonts}`;
  scene.caption.forEach((line, i) => context.fillText(line, f.margin,
    f.margin + f.line_height * (i + 0.8)));
  const line = f.width / 800;
  const column = (f.width - 2 * f.margin) / f.columns;
  scene.legend.forEach((entry, i) => {
    const left = f.margin + column * (i % f.columns);
    const top = f.legend_top + f.line_height * Math.floor(i / f.columns);
    const swatch = f.font_size * 0.8;
    const layer = scene.layers[entry.layer];
    const path = new Path2D();
    path.arc(left + swatch / 2, top + f.line_height * 0.5, swatch / 2, 0, 2 * Math.PI);
    if (styleOf(context, layer, false, false, line)) {
      context.globalAlpha = layer.fill_alpha;
      context.fillStyle = layer.fill;
      context.fill(path);
      context.globalAlpha = 1;
    }
    context.stroke(path);
    context.fillStyle = '#000';
    context.fillText(entry.text, left + swatch * 1.5, top + f.line_height * 0.8);
  });
}

/// The sheet's circles and lines in its millimetres, those that can be seen.
function paintShapes(context, scene, visible, pixels) {
  const f = scene.frame;
  context.save();
  context.transform(f.scale, 0, 0, -f.scale, f.centre_x, f.centre_y);
  const unit = f.width / 800 / f.scale;
  const left = (visible.left - f.centre_x) / f.scale, right = (visible.right - f.centre_x) / f.scale;
  const top = (f.centre_y - visible.top) / f.scale, bottom = (f.centre_y - visible.bottom) / f.scale;
  const flush = (path, layerIndex, flags) => {
    const layer = scene.layers[layerIndex];
    if (styleOf(context, layer, flags & 2, flags & 1, unit)) {
      context.globalAlpha = layer.fill_alpha;
      context.fillStyle = layer.fill;
      context.fill(path);
      context.globalAlpha = 1;
    }
    context.stroke(path);
  };
  // Circles a pixel or two across are painted as dots: they look the same and paint many
  // times faster, which keeps 100,000 tubes quick to draw, zoom and pan.
  const perMillimetre = pixels * f.scale;
  const c = scene.circles;
  for (let i = 0; i < c.length;) {
    const layer = c[i + 3], flags = c[i + 4];
    const path = new Path2D();
    const style = scene.layers[layer];
    const solid = style.fill !== null && !(flags & 2);
    context.globalAlpha = solid ? style.fill_alpha : 0.6;
    context.fillStyle = solid ? style.fill : style.ink;
    for (; i < c.length && c[i + 3] === layer && c[i + 4] === flags; i += 5) {
      const x = c[i], y = c[i + 1], r = c[i + 2];
      if (x + r < left || x - r > right || y + r < bottom || y - r > top)
        continue;
      if (r * perMillimetre < 1.5) {
        context.fillRect(x - r, y - r, 2 * r, 2 * r);
        continue;
      }
      path.moveTo(x + r, y);
      path.arc(x, y, r, 0, 2 * Math.PI);
    }
    context.globalAlpha = 1;
    flush(path, layer, flags);
  }
  const l = scene.lines;
  for (let i = 0; i < l.length;) {
    const layer = l[i + 4], dashed = l[i + 5];
    const path = new Path2D();
    for (; i < l.length && l[i + 4] === layer && l[i + 5] === dashed; i += 6) {
      path.moveTo(l[i], l[i + 1]);
      path.lineTo(l[i + 2], l[i + 3]);
    }
    flush(path, layer, 2 | dashed);
  }
  context.restore();
}

/// `pixels` is how many device pixels a unit of the scene's picture takes.
function paintScene(context, scene, visible, pixels) {
  const f = scene.frame;
  context.fillStyle = '#fff';
  context.fillRect(0, 0, f.width, f.height);
  paintWords(context, scene);
  paintShapes(context, scene, visible, pixels);
}

/// The zoom and place that show the whole picture in a view `width` by `height`, with a margin.
function fitView(frame, width, height) {
  const scale = Math.min(width / frame.width, height / frame.height) * 0.96;
  return { scale, x: (width - frame.width * scale) / 2, y: (height - frame.height * scale) / 2 };
}

/// A view of the scene on a canvas of `width` by `height` pixels of the page, at `ratio` device
/// pixels each: zoomed by `scale` and moved by `x`, `y`.
function paintView(canvas, scene, view) {
  const width = Math.max(1, Math.round(view.width * view.ratio));
  const height = Math.max(1, Math.round(view.height * view.ratio));
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
  }
  const context = canvas.getContext('2d');
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.clearRect(0, 0, width, height);
  if (!scene)
    return;
  const { scale, x, y, ratio } = view;
  context.setTransform(ratio * scale, 0, 0, ratio * scale, ratio * x, ratio * y);
  paintScene(context, scene, { left: -x / scale, top: -y / scale,
    right: (view.width - x) / scale, bottom: (view.height - y) / scale }, ratio * scale);
}
