// The view page draws itself from the data the tool wrote into it: the plan
// and the profile on one kilometre axis, redrawn for every range, so that
// labels and ticks suit the stretch shown. The range and the selected object
// live in the page's address (#km=12.0-15.5&select=signal-3).
'use strict';

var DATA = JSON.parse(document.getElementById('page-data').textContent);
var SVG_NS = 'http://www.w3.org/2000/svg';
var LAYERS = [
  ['signal', 'signals'], ['board', 'boards'], ['tunnel', 'tunnels'], ['curve', 'curves'],
  ['slowdown', 'slowdowns'], ['station', 'stations'], ['reduction', 'reduction points']
];
var COLOURS = {
  signal: '#c0392b', board: '#1f6fb2', tunnel: '#4a4a4a', curve: '#2e8b57', slowdown: '#e67e22',
  station: '#6c3483', reduction: '#b7950b', automatic: '#8a3ffc', error: '#d0021b', warning: '#f5a623',
  height: '#3b5b92', speed: '#7f8c8d', track: '#1d2330'
};
var SMALLEST_SPAN_M = 200;
var ZOOM_STEP = 1.5;
var PAN_SHARE = 0.25;
var POLL_MS = 700;

var routeEnd = Math.max(DATA.route.end_m || 0, DATA.route.length_m || 0, 1000);
var view = { from: 0, to: routeEnd };
var shown = {};
LAYERS.forEach(function (layer) { shown[layer[0]] = true; });
var selectedId = null;
var objectsById = {};
DATA.objects.forEach(function (object) { objectsById[object.id] = object; });

function km(metres) { return (metres / 1000).toFixed(3); }

function element(name, attributes, parent) {
  var node = document.createElementNS(SVG_NS, name);
  Object.keys(attributes || {}).forEach(function (key) { node.setAttribute(key, attributes[key]); });
  if (parent) parent.appendChild(node);
  return node;
}

function html(name, text, parent) {
  var node = document.createElement(name);
  if (text !== undefined && text !== null) node.textContent = String(text);
  if (parent) parent.appendChild(node);
  return node;
}

// ---- The address: #km=FROM-TO&select=ID -------------------------------------

function readAddress() {
  var params = new URLSearchParams(location.hash.replace(/^#/, ''));
  var range = /^(-?[0-9.]+)-(-?[0-9.]+)$/.exec(params.get('km') || '');
  if (range) {
    var from = parseFloat(range[1]) * 1000;
    var to = parseFloat(range[2]) * 1000;
    if (isFinite(from) && isFinite(to) && to > from) view = { from: from, to: to };
  }
  selectedId = objectsById[params.get('select')] ? params.get('select') : null;
}

// Written a moment after the last change, not on every step of a drag:
// browsers refuse a flood of address changes.
var addressTimer = null;
function writeAddress() {
  clearTimeout(addressTimer);
  addressTimer = setTimeout(writeAddressNow, 120);
}

function writeAddressNow() {
  var hash = '#km=' + (view.from / 1000).toFixed(3).replace(/\.?0+$/, '') + '-' +
             (view.to / 1000).toFixed(3).replace(/\.?0+$/, '');
  if (selectedId) hash += '&select=' + selectedId;
  if (location.hash !== hash) history.replaceState(null, '', hash);
}

// ---- Zoom and pan ------------------------------------------------------------

function setView(from, to) {
  var span = Math.max(to - from, SMALLEST_SPAN_M);
  if (span >= routeEnd) { from = 0; to = routeEnd; } else {
    from = Math.min(Math.max(from, 0), routeEnd - span);
    to = from + span;
  }
  view = { from: from, to: to };
  writeAddress();
  draw();
}

function zoomAround(centre, factor) {
  setView(centre - (centre - view.from) * factor, centre + (view.to - centre) * factor);
}

// ---- Layout ------------------------------------------------------------------

var layout = {};

function computeLayout(svg) {
  var width = Math.max(svg.clientWidth || 900, 400);
  var height = Math.max(svg.clientHeight || 430, 300);
  layout = {
    width: width, height: height, left: 70, right: width - 16,
    planTop: 24, planBottom: 170, profileTop: 196, profileBottom: height - 92,
    speedTop: height - 84, speedBottom: height - 34, axisY: height - 26
  };
  layout.trackY = (layout.planTop + layout.planBottom) / 2;
}

function x(metres) {
  return layout.left + (metres - view.from) / (view.to - view.from) * (layout.right - layout.left);
}

function metresAt(pixel) {
  return view.from + (pixel - layout.left) / (layout.right - layout.left) * (view.to - view.from);
}

function inView(object) { return object.from_m <= view.to && object.to_m >= view.from; }

// A tick step of 1, 2 or 5 times a power of ten, about eight ticks a width.
function tickStep(span) {
  var raw = span / 8;
  var power = Math.pow(10, Math.floor(Math.log10(raw)));
  var step = [1, 2, 5, 10].map(function (m) { return m * power; }).find(function (s) { return s >= raw; });
  return step;
}

// ---- Drawing -----------------------------------------------------------------

function drawAxis(svg) {
  var group = element('g', { class: 'axis' }, svg);
  var step = tickStep(view.to - view.from);
  for (var m = Math.ceil(view.from / step) * step; m <= view.to; m += step) {
    var px = x(m);
    element('line', { class: 'grid', x1: px, x2: px, y1: layout.planTop, y2: layout.speedBottom }, group);
    element('line', { x1: px, x2: px, y1: layout.axisY - 4, y2: layout.axisY + 2 }, group);
    element('text', { x: px, y: layout.axisY + 14, 'text-anchor': 'middle' }, group).textContent =
      (m / 1000).toFixed(step < 1000 ? (step < 100 ? 2 : 1) : 0) + ' km';
  }
  element('line', { x1: layout.left, x2: layout.right, y1: layout.axisY - 4, y2: layout.axisY - 4 }, group);
  [['plan', layout.planTop + 10], ['profile', layout.profileTop + 10], ['speed', layout.speedTop + 10]]
    .forEach(function (title) {
      element('text', { class: 'band-title', x: 6, y: title[1] }, svg).textContent = title[0];
    });
}

// Heights from the gradients, at each change and at both ends of the view.
function heightPoints() {
  var points = [];
  var height = 0;
  DATA.gradients.forEach(function (run) {
    var from = run[0], to = run[1], perMille = run[2];
    var at = function (m) { return height + perMille / 1000 * (m - from); };
    if (to >= view.from && from <= view.to) {
      var a = Math.max(from, view.from), b = Math.min(to, view.to);
      points.push([a, at(a)], [b, at(b)]);
    }
    height = at(to);
  });
  return points;
}

function drawProfile(svg) {
  var points = heightPoints();
  if (points.length === 0) return;
  var low = Math.min.apply(null, points.map(function (p) { return p[1]; }));
  var high = Math.max.apply(null, points.map(function (p) { return p[1]; }));
  if (high - low < 10) { high += 5; low -= 5; }
  var y = function (h) {
    return layout.profileBottom - (h - low) / (high - low) * (layout.profileBottom - layout.profileTop - 16);
  };
  element('polyline', {
    points: points.map(function (p) { return x(p[0]) + ',' + y(p[1]); }).join(' '),
    fill: 'none', stroke: COLOURS.height, 'stroke-width': 2
  }, svg);
  element('text', { x: 6, y: layout.profileTop + 26 }, svg).textContent = Math.round(high) + ' m';
  element('text', { x: 6, y: layout.profileBottom }, svg).textContent = Math.round(low) + ' m';
}

function speedY(kmh) {
  var top = 200;
  return layout.speedBottom - Math.min(kmh, top) / top * (layout.speedBottom - layout.speedTop - 4);
}

// The true plan of the whole line, small, in the profile band's corner, the
// stretch in view drawn over it: the kilometre axis straightens the line, so
// this is where its shape is seen.
function drawPlanInset(svg) {
  var points = DATA.plan;
  if (points.length < 2) return;
  var xs = points.map(function (p) { return p[1]; }), ys = points.map(function (p) { return p[2]; });
  var minX = Math.min.apply(null, xs), maxX = Math.max.apply(null, xs);
  var minY = Math.min.apply(null, ys), maxY = Math.max.apply(null, ys);
  var box = { width: 170, height: 110 };
  box.x = layout.right - box.width - 6;
  box.y = layout.profileTop + 4;
  var scale = Math.min((box.width - 10) / Math.max(maxX - minX, 1), (box.height - 10) / Math.max(maxY - minY, 1));
  var at = function (p) {  // north up
    return (box.x + 5 + (p[1] - minX) * scale) + ',' + (box.y + box.height - 5 - (p[2] - minY) * scale);
  };
  var inset = element('g', { class: 'plan-inset' }, svg);
  element('rect', { x: box.x, y: box.y, width: box.width, height: box.height, fill: '#fff', stroke: '#c9d0da' }, inset);
  element('polyline', { points: points.map(at).join(' '), fill: 'none', stroke: COLOURS.track, 'stroke-width': 1 }, inset);
  var stretch = points.filter(function (p) { return p[0] >= view.from - 100 && p[0] <= view.to + 100; });
  if (stretch.length > 0) {
    element('polyline', { points: stretch.map(at).join(' '), fill: 'none', stroke: COLOURS.error, 'stroke-width': 3 }, inset);
  }
  element('text', { x: box.x + 4, y: box.y + 12, class: 'band-title' }, inset).textContent = 'plan, north up';
}

function drawSpeedLimits(svg) {
  var path = [];
  DATA.speed_limits.forEach(function (run) {
    if (run[1] < view.from || run[0] > view.to) return;
    var a = x(Math.max(run[0], view.from)), b = x(Math.min(run[1], view.to)), y = speedY(run[2]);
    path.push((path.length ? 'L' : 'M') + a + ',' + y, 'L' + b + ',' + y);
  });
  if (path.length) element('path', { d: path.join(' '), fill: 'none', stroke: COLOURS.speed, 'stroke-width': 1.5 }, svg);
}

function drawTrack(svg) {
  element('line', {
    x1: x(Math.max(view.from, 0)), x2: x(Math.min(view.to, routeEnd)), y1: layout.trackY, y2: layout.trackY,
    stroke: COLOURS.track, 'stroke-width': 2
  }, svg);
}

// One shape per kind of object, in its layer's colour.
var SHAPES = {
  tunnel: function (o, g) {
    element('rect', { x: x(o.from_m), y: layout.trackY - 6, width: Math.max(x(o.to_m) - x(o.from_m), 2), height: 12,
                      fill: COLOURS.tunnel, opacity: 0.75 }, g);
  },
  curve: function (o, g) {
    var left = o.stored && o.stored.left;
    var radius = (o.stored && o.stored.radius_m) || 1000;
    var depth = Math.max(6, Math.min(44, 44 * 300 / radius));
    element('rect', { x: x(o.from_m), width: Math.max(x(o.to_m) - x(o.from_m), 2), height: depth,
                      y: left ? layout.trackY - 10 - depth : layout.trackY + 10,
                      fill: COLOURS.curve, opacity: 0.45 }, g);
  },
  station: function (o, g) {
    var a = x(o.from_m), w = Math.max(x(o.to_m) - a, 3);
    element('rect', { x: a, y: layout.planTop + 2, width: w, height: layout.planBottom - layout.planTop - 4,
                      fill: COLOURS.station, opacity: 0.12, stroke: COLOURS.station }, g);
    element('text', { x: a + 2, y: layout.planTop + 14 + (o.index % 3) * 12, fill: COLOURS.station }, g).textContent = o.label;
  },
  signal: function (o, g) {
    var px = x(o.from_m);
    element('line', { x1: px, x2: px, y1: layout.trackY, y2: layout.trackY - 26, stroke: COLOURS.signal, 'stroke-width': 2 }, g);
    element('circle', { cx: px, cy: layout.trackY - 30, r: 5, fill: COLOURS.signal }, g);
  },
  board: function (o, g) {
    var px = x(o.from_m);
    element('line', { x1: px, x2: px, y1: layout.trackY, y2: layout.trackY + 24, stroke: COLOURS.board }, g);
    element('rect', { x: px - 5, y: layout.trackY + 24, width: 10, height: 10, fill: COLOURS.board }, g);
  },
  slowdown: function (o, g) {
    var a = x(o.from_m), w = Math.max(x(o.to_m) - a, 3);
    var speed = o.stored && o.stored.start ? o.stored.start.p1 : 0;
    element('rect', { x: a, y: speedY(speed) - 3, width: w, height: 6, fill: COLOURS.slowdown }, g);
    element('text', { x: a, y: speedY(speed) - 6, fill: COLOURS.slowdown }, g).textContent = speed + ' km/h';
  },
  reduction: function (o, g) {
    var px = x(o.from_m), y = layout.speedTop + 8;
    var colour = o.automatic ? COLOURS.automatic : COLOURS.reduction;
    element('path', { d: 'M' + (px - 6) + ',' + (y - 6) + ' L' + (px + 6) + ',' + (y - 6) + ' L' + px + ',' + (y + 5) + ' Z',
                      fill: o.automatic ? '#fff' : colour, stroke: colour, 'stroke-width': 2 }, g);
  }
};

function drawObjects(svg, visible) {
  var counters = {};
  visible.forEach(function (object) {
    object.index = counters[object.layer] = (counters[object.layer] || 0) + 1;
    var group = element('g', { class: 'object' + (object.id === selectedId ? ' selected' : ''), 'data-id': object.id }, svg);
    element('title', {}, group).textContent = object.label + ' at ' + km(object.from_m) + ' km';
    SHAPES[object.layer](object, group);
    group.addEventListener('mouseenter', function () { if (!selectedId) showDetails(object); });
    group.addEventListener('click', function (event) { event.stopPropagation(); select(object.id); });
  });
}

function drawPins(svg) {
  DATA.diagnostics.forEach(function (diagnostic, i) {
    if (diagnostic.at_m === null || diagnostic.at_m < view.from || diagnostic.at_m > view.to) return;
    var px = x(diagnostic.at_m), colour = COLOURS[diagnostic.severity];
    var pin = element('g', { class: 'object pin', 'data-diagnostic': i }, svg);
    element('title', {}, pin).textContent = diagnostic.text;
    element('line', { x1: px, x2: px, y1: layout.planTop, y2: layout.speedBottom, stroke: colour, 'stroke-dasharray': '3,3' }, pin);
    element('path', { d: 'M' + px + ',' + (layout.planTop + 10) + ' l-6,-10 h12 Z', fill: colour }, pin);
    pin.addEventListener('click', function (event) {
      event.stopPropagation();
      var item = document.querySelector('#diagnostics li[data-diagnostic="' + i + '"]');
      if (item) item.scrollIntoView({ block: 'nearest' });
    });
  });
}

function listVisible(visible) {
  var list = document.getElementById('visible');
  list.textContent = '';
  visible.forEach(function (object) {
    var item = html('li', object.id + ': ' + object.label + ' at ' + km(object.from_m) + ' km', list);
    item.setAttribute('data-id', object.id);
    item.setAttribute("data-from-m", object.from_m);
    item.setAttribute("data-to-m", object.to_m);
  });
  document.getElementById('visible-count').textContent = '(' + visible.length + ')';
}

function draw() {
  var svg = document.getElementById('chart');
  svg.textContent = '';
  computeLayout(svg);
  svg.setAttribute('viewBox', '0 0 ' + layout.width + ' ' + layout.height);
  var clip = element('clipPath', { id: 'plot' }, element('defs', {}, svg));
  element('rect', { x: layout.left, y: 0, width: layout.right - layout.left, height: layout.height }, clip);
  drawAxis(svg);
  var plot = element('g', { 'clip-path': 'url(#plot)' }, svg);
  drawTrack(plot);
  drawProfile(plot);
  drawSpeedLimits(plot);
  var visible = DATA.objects.filter(function (o) { return shown[o.layer] && inView(o); });
  drawObjects(plot, visible);
  drawPins(plot);
  drawPlanInset(svg);
  listVisible(visible);
  document.getElementById('range').textContent = km(view.from) + ' – ' + km(view.to) + ' km';
}

// ---- Details of an object ----------------------------------------------------

function table(rows, parent) {
  var t = html('table', null, parent);
  rows.forEach(function (row) {
    var tr = html('tr', null, t);
    html('th', row[0], tr);
    html('td', row[1], tr);
  });
  return t;
}

function flatten(value, prefix, rows) {
  if (value !== null && typeof value === 'object') {
    Object.keys(value).forEach(function (key) { flatten(value[key], prefix ? prefix + '.' + key : key, rows); });
  } else {
    rows.push([prefix, value === null ? '' : value]);
  }
  return rows;
}

function showDetails(object) {
  var panel = document.getElementById('details');
  panel.textContent = '';
  html('h2', object.label + ' (' + object.id + ')', panel);
  html('p', km(object.from_m) + (object.to_m !== object.from_m ? ' to ' + km(object.to_m) : '') + ' km', panel);
  var record = object.record;
  if (record) {
    html('h2', 'Source record: ' + record.file + ':' + record.line, panel);
    var line = html('pre', (record.cut_before ? '…' : '') + record.text + (record.cut_after ? '…' : ''), panel);
    line.className = 'record-line';
    table(record.fields.map(function (f) {
      return [f.name, f.value + (f.unit ? ' ' + f.unit : '')];
    }), panel).className = 'record-fields';
  } else if (object.automatic) {
    html('p', 'Added by the compiler: no record of the sources placed it.', panel).className = 'auto-note';
  } else {
    html('p', 'No record of the scenario read is known to have made it.', panel).className = 'hint';
  }
  html('h2', 'Stored by the compiler', panel);
  table(flatten(object.stored, '', []), panel).className = 'stored';
}

function select(id) {
  selectedId = id;
  writeAddress();
  draw();
  if (id && objectsById[id]) showDetails(objectsById[id]);
}

// ---- Diagnostics and controls ------------------------------------------------

function listDiagnostics() {
  var list = document.getElementById('diagnostics');
  var errors = 0, warnings = 0;
  DATA.diagnostics.forEach(function (diagnostic, i) {
    if (diagnostic.severity === 'error') errors++; else warnings++;
    var item = html('li', null, list);
    item.className = diagnostic.severity;
    item.setAttribute('data-diagnostic', i);
    html('pre', diagnostic.text, item);
    if (diagnostic.at_m !== null) {
      var go = html('button', 'show at ' + km(diagnostic.at_m) + ' km', item);
      go.type = 'button';
      go.addEventListener('click', function () {
        var span = Math.min(view.to - view.from, 4000);
        setView(diagnostic.at_m - span / 2, diagnostic.at_m + span / 2);
      });
    }
  });
  if (DATA.diagnostics.length === 0) html('li', 'no error, no warning', list);
  var say = function (n, noun) { return (n === 0 ? 'no' : n) + ' ' + noun + (n === 1 ? '' : 's'); };
  document.getElementById('summary').textContent =
    km(DATA.route.length_m) + ' km, ' + say(errors, 'error') + ', ' + say(warnings, 'warning');
}

function buildLayerSwitches() {
  var holder = document.getElementById('layers');
  LAYERS.forEach(function (layer) {
    var label = html('label', null, holder);
    var box = html('input', null, label);
    box.type = 'checkbox';
    box.checked = true;
    box.id = 'layer-' + layer[0];
    box.addEventListener('change', function () { shown[layer[0]] = box.checked; draw(); });
    label.appendChild(document.createTextNode(' ' + layer[1]));
    label.style.color = COLOURS[layer[0]];
  });
}

function wireControls() {
  var svg = document.getElementById('chart');
  var centre = function () { return (view.from + view.to) / 2; };
  document.getElementById('zoom-in').addEventListener('click', function () { zoomAround(centre(), 1 / ZOOM_STEP); });
  document.getElementById('zoom-out').addEventListener('click', function () { zoomAround(centre(), ZOOM_STEP); });
  document.getElementById('zoom-all').addEventListener('click', function () { setView(0, routeEnd); });
  document.getElementById('pan-left').addEventListener('click', function () {
    var shift = (view.to - view.from) * PAN_SHARE;
    setView(view.from - shift, view.to - shift);
  });
  document.getElementById('pan-right').addEventListener('click', function () {
    var shift = (view.to - view.from) * PAN_SHARE;
    setView(view.from + shift, view.to + shift);
  });
  svg.addEventListener('wheel', function (event) {
    event.preventDefault();
    var box = svg.getBoundingClientRect();
    var pixel = (event.clientX - box.left) * layout.width / box.width;
    zoomAround(metresAt(pixel), event.deltaY < 0 ? 1 / ZOOM_STEP : ZOOM_STEP);
  }, { passive: false });
  var drag = null;
  svg.addEventListener('pointerdown', function (event) {
    if (event.target.closest && event.target.closest('.object')) return;
    drag = { x: event.clientX, from: view.from, to: view.to, moved: false };
    svg.setPointerCapture(event.pointerId);
    svg.classList.add('dragging');
  });
  svg.addEventListener('pointermove', function (event) {
    if (!drag) return;
    var box = svg.getBoundingClientRect();
    var metres = (event.clientX - drag.x) * layout.width / box.width / (layout.right - layout.left) * (drag.to - drag.from);
    drag.moved = drag.moved || Math.abs(event.clientX - drag.x) > 2;
    setView(drag.from - metres, drag.to - metres);
  });
  var endDrag = function () {
    if (drag && !drag.moved && selectedId) select(null);
    drag = null;
    svg.classList.remove('dragging');
  };
  svg.addEventListener('pointerup', endDrag);
  svg.addEventListener('pointercancel', endDrag);
  window.addEventListener('resize', draw);
  window.addEventListener('hashchange', function () { readAddress(); draw(); if (selectedId) showDetails(objectsById[selectedId]); });
}

// Served by `scenario view --watch`, the page asks its server for the
// version of the sources it shows and reloads when they change; opened as a
// file it is what it is.
function followSources() {
  if (!/^https?:$/.test(location.protocol)) return;
  setInterval(function () {
    fetch('version', { cache: 'no-store' }).then(function (reply) { return reply.text(); }).then(function (version) {
      if (version.trim() !== String(DATA.version)) location.reload();
    }).catch(function () {});
  }, POLL_MS);
}

document.title = DATA.title + ' – scenario view';
document.getElementById('title').textContent = DATA.title;
buildLayerSwitches();
listDiagnostics();
readAddress();
wireControls();
draw();
if (selectedId) showDetails(objectsById[selectedId]);
followSources();
document.body.setAttribute('data-ready', 'yes');
