// The page's side of Vivarix's desktop in a web page (web_desktop.h tells what the
// program sees): the plate's canvas, the control column, events and shortcuts,
// text for the program's images, message boxes, the dialogs that ask for a tick and
// show progress, help, downloads, files opened or dropped, and the population panel
// with its uPlot chart.  desktop_library.js binds these functions to the program;
// the program's input reaches it through Module._vivarix_web_event,
// Module._vivarix_web_pointer and Module._vivarix_web_file, and its animation frames
// through Module._vivarix_web_frame.
'use strict';

const VivarixPage = (() => {
  // Event codes, as desktop.h numbers them.
  const EVENT = {
    keyDown: 256, keyUp: 257, pointerMove: 512,
    down: [513, 519, 516], up: [514, 520, 517],  // by MouseEvent.button: left, middle, right
    control: 13100, shortcut: 13101,
  };
  // Keys a focused slider moves by: never shortcuts while a slider has the focus.
  const SLIDER_KEYS = new Set(['End', 'Home', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp',
    'PageDown']);
  // Long work shows its progress dialog once it has run this long.
  const PROGRESS_DELAY_MS = 500;
  const CHART_COLOURS = {
    blue: 'rgb(30, 70, 230)', red: 'rgb(220, 30, 30)', muted: 'rgb(150, 160, 120)', strains: 'rgb(110, 110, 110)',
  };

  const controls = new Map();      // control number -> {kind, element, input, caption}
  const shortcuts = new Map();     // 'A' .. 'Z', '0' .. '9' -> shortcut number
  const keyShortcuts = new Map();  // 'F1', 'End', 'Ctrl+S' ... -> shortcut number
  let surfaceTips = [];
  const fonts = new Map();         // font number -> CSS font
  const textMasks = new Map();     // font and text -> the pixels the glyphs cover
  const messages = [];             // message boxes waiting for the one shown
  let ready = false;
  let stopped = false;             // the module has aborted
  // The program waits in askTick or long work (it sleeps through Asyncify): no
  // frames, no events until it goes on.
  let waiting = false;
  const progress = { active: false, started: 0, cancelled: false };
  let receivedFile = null;         // {name, bytes} of the file the program takes next
  let plate = null, plateContext = null, column = null;
  let client = { width: 0, height: 0 };
  let surface = { x: 0, y: 0, width: 0, height: 0 };
  let parent = null;               // where controls go while building, else null
  let optionGroup = null;          // the radio group of the option created last
  let groups = 0;
  let chart = null;
  let textCanvas = null, textContext = null;

  const byId = (id) => document.getElementById(id);

  // Whether a modal dialog holds the program's events back.
  const modal = () => waiting || byId('message').open;

  function raise(code, number = -1) {
    if (ready && !modal()) Module._vivarix_web_event(code, number);
  }

  function raiseKeys(keys) {
    if (keyShortcuts.has(keys)) raise(EVENT.shortcut, keyShortcuts.get(keys));
  }

  // --- the plate and the pointer ----------------------------------------------

  // The plate's CSS size: the surface enlarged by the largest whole factor of
  // device pixels that fits beside the column, so that every cell stays crisp.
  function layOut() {
    if (!plate) return;
    const ratio = window.devicePixelRatio || 1;
    const room = Math.min(window.innerWidth - column.offsetWidth - 48, window.innerHeight - 90);
    const factor = Math.max(1, Math.floor((room * ratio) / surface.width));
    plate.style.width = `${(surface.width * factor) / ratio}px`;
    plate.style.height = `${(surface.height * factor) / ratio}px`;
  }

  // A mouse event's position in the window's client coordinates (plate pixels).
  function clientPoint(e) {
    const box = plate.getBoundingClientRect();
    return [
      surface.x + Math.floor(((e.clientX - box.left) * surface.width) / box.width),
      surface.y + Math.floor(((e.clientY - box.top) * surface.height) / box.height),
    ];
  }

  function tipAt(x, y) {
    const tip = surfaceTips.find((t) => x >= t.x && x < t.x + t.w && y >= t.y && y < t.y + t.h);
    return tip ? tip.text : '';
  }

  function listenToPointer() {
    window.addEventListener('mousemove', (e) => {
      if (!ready) return;
      const [x, y] = clientPoint(e);
      Module._vivarix_web_pointer(x, y);
      raise(EVENT.pointerMove);
      if (e.target === plate) plate.title = tipAt(x - surface.x, y - surface.y);
    });
    plate.addEventListener('mousedown', (e) => {
      if (!ready || e.button > 2) return;
      e.preventDefault();  // no middle-button scrolling, no text selection
      const [x, y] = clientPoint(e);
      Module._vivarix_web_pointer(x, y);
      raise(EVENT.down[e.button]);
    });
    window.addEventListener('mouseup', (e) => {
      if (e.button <= 2) raise(EVENT.up[e.button]);
    });
    plate.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // --- keys ---------------------------------------------------------------------

  // The shortcut key of a press without modifiers: a digit of the main row by its
  // place, a letter as the layout writes it, or for a letter of another script the
  // US layout's letter on that key.
  function plainKey(e) {
    const digit = /^Digit([0-9])$/.exec(e.code);
    if (digit) return digit[1];
    if (/^[a-z]$/i.test(e.key)) return e.key.toUpperCase();
    const place = /^Key([A-Z])$/.exec(e.code);
    return place && /^\p{L}$/u.test(e.key) ? place[1] : null;
  }

  function shortcutOf(e) {
    const others = e.altKey || e.metaKey || e.shiftKey;
    if (!others && !e.ctrlKey && keyShortcuts.has(e.key)) {
      const slider = document.activeElement && document.activeElement.type === 'range';
      return slider && SLIDER_KEYS.has(e.key) ? undefined : keyShortcuts.get(e.key);
    }
    if (e.ctrlKey && !others) {
      const key = plainKey(e);
      return key ? keyShortcuts.get(`Ctrl+${key}`) : undefined;
    }
    if (others || e.ctrlKey) return undefined;
    const key = plainKey(e);
    return key ? shortcuts.get(key) : undefined;
  }

  function listenToKeys() {
    document.addEventListener('keydown', (e) => {
      if (modal()) return;
      const shortcut = shortcutOf(e);
      if (shortcut === undefined) {
        raise(EVENT.keyDown);
        return;
      }
      e.preventDefault();
      raise(EVENT.shortcut, shortcut);
    }, true);
    document.addEventListener('keyup', () => raise(EVENT.keyUp), true);
  }

  // --- controls ---------------------------------------------------------------------

  function add(number, kind, element, x, y, w, h, input = element) {
    if (!parent) return;
    // Controls of the column are placed from the surface's right edge, those of a
    // tab's page from the page's corner.
    const left = parent === column ? x - (surface.x + surface.width) : x;
    Object.assign(element.style, { left: `${left}px`, top: `${y}px`, width: `${w}px`, height: `${h}px` });
    element.classList.add('vx-control');
    parent.appendChild(element);
    if (number !== -1) controls.set(number, { kind, element, input });
    optionGroup = null;
  }

  function make(tag, className, text) {
    const element = document.createElement(tag);
    if (className) element.className = className;
    if (text !== undefined) element.textContent = text;
    return element;
  }

  function clicks(element, number) {
    element.addEventListener('click', () => raise(EVENT.control, number));
  }

  function selectTab(panel, index) {
    panel.tabs.forEach((tab, i) => tab.classList.toggle('vx-selected', i === index));
    panel.pages.forEach((page, i) => { page.hidden = i !== index; });
  }

  // Shows RGBA pixels on a canvas of their size (nothing for width 0).
  function paint(canvas, heap, rgba, width, height) {
    canvas.width = width;
    canvas.height = height;
    if (width === 0) return;
    const pixels = new Uint8ClampedArray(heap.buffer, rgba, width * height * 4);
    canvas.getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
  }

  // --- text ---------------------------------------------------------------------------

  // The pixels `text` covers in `font`: width (the advance), height, and one byte a
  // pixel, 1 where the glyphs cover at least half of it.
  function textMask(font, text) {
    const key = `${font}\n${text}`;
    const known = textMasks.get(key);
    if (known) return known;
    if (!textCanvas) {
      textCanvas = document.createElement('canvas');
      textContext = textCanvas.getContext('2d', { willReadFrequently: true });
    }
    const css = fonts.get(font) || '11px sans-serif';
    textContext.font = css;
    const metrics = textContext.measureText(text);
    const size = parseInt(css, 10);
    const ascent = Math.round(metrics.fontBoundingBoxAscent ?? size * 0.9);
    const mask = {
      width: Math.round(metrics.width),
      height: ascent + Math.round(metrics.fontBoundingBoxDescent ?? size * 0.25),
      bits: null,
    };
    if (mask.width > 0 && mask.height > 0) {
      if (textCanvas.width < mask.width || textCanvas.height < mask.height) {
        textCanvas.width = Math.max(textCanvas.width, mask.width);
        textCanvas.height = Math.max(textCanvas.height, mask.height);
        textContext.font = css;  // a resized canvas forgets its font
      }
      textContext.clearRect(0, 0, mask.width, mask.height);
      textContext.fillStyle = '#000';
      textContext.textBaseline = 'alphabetic';
      textContext.fillText(text, 0, ascent);
      const coverage = textContext.getImageData(0, 0, mask.width, mask.height).data;
      mask.bits = new Uint8Array(mask.width * mask.height);
      for (let i = 0; i < mask.bits.length; i++) mask.bits[i] = coverage[i * 4 + 3] >= 128 ? 1 : 0;
    }
    if (textMasks.size > 1000) textMasks.clear();  // the texts of a run repeat; a long run may not
    textMasks.set(key, mask);
    return mask;
  }

  // --- files -------------------------------------------------------------------------

  // A file the user picked or dropped: read, then handed to the program, unless a
  // dialog has opened meanwhile.
  function receive(file) {
    if (!file) return;
    file.arrayBuffer().then((buffer) => {
      if (!ready || stopped || modal()) return;
      receivedFile = { name: file.name, bytes: new Uint8Array(buffer) };
      Module._vivarix_web_file();
      receivedFile = null;
    }, (error) => VivarixPage.messageBox('Vivarix', `${file.name} cannot be read: ${error.message}`));
  }

  function listenForFiles() {
    const picker = byId('open-file');
    picker.addEventListener('change', () => receive(picker.files[0]));
    window.addEventListener('dragover', (e) => {
      e.preventDefault();  // the page takes the drop instead of the browser showing the file
      e.dataTransfer.dropEffect = ready && !modal() ? 'copy' : 'none';
    });
    window.addEventListener('drop', (e) => {
      e.preventDefault();
      receive(e.dataTransfer.files[0]);
    });
  }

  // --- the population panel ---------------------------------------------------------

  // The smallest of 1, 2, 5, 10, 20, 50 ... that is at least `value`.
  function roundUp(value) {
    for (let step = 1; ; step *= 10) {
      if (step >= value) return step;
      if (step * 2 >= value) return step * 2;
      if (step * 5 >= value) return step * 5;
    }
  }

  // A value axis from 0 to a round number above the data, growing with it.
  const fitted = (least) => (u, low, high) => [0, roundUp(Math.max((high || 0) * 1.05, least))];

  function makeChart() {
    const box = byId('population-chart');
    const line = (label, stroke, scale, dash) => ({ label, stroke, scale, width: 1, dash, points: { show: false } });
    chart = new uPlot({
      width: 640,
      height: 360,
      scales: {
        x: { time: false },
        creatures: { range: fitted(10) },
        strains: { range: fitted(10) },
        nutrient: { range: fitted(1000) },
      },
      axes: [
        { label: 'tick' },
        { scale: 'creatures', label: 'creatures', size: 50 },
        { scale: 'strains', label: 'strains', stroke: CHART_COLOURS.strains, grid: { show: false }, size: 40 },
        { scale: 'nutrient', label: 'nutrient', side: 1, stroke: CHART_COLOURS.muted, grid: { show: false },
          size: 70 },
      ],
      series: [
        { label: 'tick' },
        line('nutrient', CHART_COLOURS.muted, 'nutrient'),
        line('blue creatures', CHART_COLOURS.blue, 'creatures'),
        line('red creatures', CHART_COLOURS.red, 'creatures'),
        line('blue strains', CHART_COLOURS.blue, 'strains', [6, 3]),
        line('red strains', CHART_COLOURS.red, 'strains', [6, 3]),
      ],
    }, [[], [], [], [], [], []], box);
  }

  // --- the page -----------------------------------------------------------------------

  function showNextMessage() {
    const box = byId('message');
    if (box.open || messages.length === 0) return;
    const [title, text] = messages.shift();
    byId('message-title').textContent = title;
    byId('message-text').textContent = text;
    box.showModal();
  }

  return {
    // The Emscripten module's settings for the page at `address`: ?seed=N becomes
    // the command line "--seed N".
    module(address) {
      const seed = new URL(address).searchParams.get('seed');
      return {
        arguments: seed === null ? [] : ['--seed', seed],
        printErr: (text) => console.warn(text),
        onAbort: (what) => {
          stopped = true;
          VivarixPage.messageBox('Vivarix', `The page has stopped: ${what}`);
        },
      };
    },

    surfaceAvailable() {
      return !!document.createElement('canvas').getContext('2d');
    },

    openWindow(width, height, title) {
      client = { width, height };
      column = byId('column');
      document.title = title;
      window.addEventListener('resize', layOut);
      listenToKeys();
      byId('message-ok').addEventListener('click', () => {
        byId('message').close();
        showNextMessage();
      });
      byId('help-close').addEventListener('click', () => byId('help').close());
      byId('population-close').addEventListener('click', () => { byId('population').hidden = true; });
      // The page's own ways to save and to open: the commands of Ctrl+S and Ctrl+O.
      byId('save-session').addEventListener('click', () => raiseKeys('Ctrl+S'));
      byId('open-session').addEventListener('click', () => raiseKeys('Ctrl+O'));
      listenForFiles();
      byId('progress-cancel').addEventListener('click', () => { progress.cancelled = true; });
      // Escape cancels too, and where the browser closes the dialog anyway the work
      // stops as cancelled.
      byId('progress').addEventListener('cancel', (e) => {
        e.preventDefault();
        progress.cancelled = true;
      });
      byId('progress').addEventListener('close', () => { if (progress.active) progress.cancelled = true; });
    },

    setTitle(title) { document.title = title; },

    openSurface(x, y, width, height) {
      surface = { x, y, width, height };
      plate = byId('plate');
      plate.width = width;
      plate.height = height;
      plateContext = plate.getContext('2d', { alpha: false });
      column.style.width = `${client.width - (x + width)}px`;
      column.style.height = `${client.height}px`;
      listenToPointer();
      layOut();
    },

    present(heap, rgba, width, height) {
      const pixels = new Uint8ClampedArray(heap.buffer, rgba, width * height * 4);
      plateContext.putImageData(new ImageData(pixels, width, height), 0, 0);
    },

    beginControls() { parent = column; optionGroup = null; },
    endControls() { parent = null; optionGroup = null; layOut(); },

    createPanel(number, x, y, w, h) {
      const panel = make('div', 'vx-panel');
      const bar = make('div', 'vx-tab-bar');
      panel.appendChild(bar);
      add(number, 'panel', panel, x, y, w, h);
      Object.assign(controls.get(number) || {}, { bar, tabs: [], pages: [] });
    },

    addTab(number, caption) {
      const panel = controls.get(number);
      if (!parent || !panel || panel.kind !== 'panel') return;
      const index = panel.tabs.length;
      const tab = make('button', 'vx-tab', caption);
      tab.type = 'button';
      tab.addEventListener('click', () => selectTab(panel, index));
      const page = make('div', 'vx-page');
      panel.bar.appendChild(tab);
      panel.element.appendChild(page);
      panel.tabs.push(tab);
      panel.pages.push(page);
      selectTab(panel, 0);
      parent = page;
      optionGroup = null;
    },

    createFrame(number, x, y, w, h, caption) {
      const frame = make('fieldset', 'vx-frame');
      frame.appendChild(make('legend', '', caption));
      add(number, 'frame', frame, x, y, w, h);
    },

    createText(number, x, y, w, h, text) {
      add(number, 'text', make('div', 'vx-text', text), x, y, w, h);
    },

    createTrackbar(number, x, y, w, h, minimum, maximum, ticks) {
      const slider = make('input', 'vx-trackbar');
      Object.assign(slider, { type: 'range', min: minimum, max: maximum, step: 1 });
      if (ticks && parent) {
        const marks = make('datalist');
        marks.id = `vx-ticks-${number}`;
        for (let v = minimum; v <= maximum; v++) marks.appendChild(Object.assign(make('option'), { value: v }));
        parent.appendChild(marks);
        slider.setAttribute('list', marks.id);
      }
      // A step of a drag or key, and once more at the end of the move.
      slider.addEventListener('input', () => raise(EVENT.control, number));
      slider.addEventListener('change', () => raise(EVENT.control, number));
      add(number, 'trackbar', slider, x, y, w, h);
    },

    createOption(number, x, y, w, h, caption) {
      const group = optionGroup || `vx-group-${++groups}`;
      const label = make('label', 'vx-option');
      const input = Object.assign(make('input'), { type: 'radio', name: group });
      const text = make('span', '', caption);
      label.append(input, text);
      clicks(input, number);
      add(number, 'option', label, x, y, w, h, input);
      controls.get(number).caption = text;
      optionGroup = group;  // after add(), which ends the current group
    },

    createButton(number, x, y, w, h, caption) {
      const button = make('button', 'vx-button', caption);
      button.type = 'button';
      clicks(button, number);
      add(number, 'button', button, x, y, w, h);
    },

    createImageButton(number, x, y, w, h) {
      const button = make('button', 'vx-image-button');
      button.type = 'button';
      const picture = make('canvas');
      button.appendChild(picture);
      clicks(button, number);
      add(number, 'imageButton', button, x, y, w, h, picture);
    },

    // The view takes its image's size, whatever size was asked for.
    createImageView(number, x, y) {
      const view = make('canvas', 'vx-image-view');
      add(number, 'imageView', view, x, y, 0, 0);
      view.style.width = view.style.height = '';
    },

    showImage(number, heap, rgba, width, height) {
      const control = controls.get(number);
      if (control && (control.kind === 'imageButton' || control.kind === 'imageView'))
        paint(control.input, heap, rgba, width, height);
    },

    disable(number, flag) {
      const control = controls.get(number);
      if (!control) return;
      control.input.disabled = !!flag;
      control.element.classList.toggle('vx-disabled', !!flag);
    },

    setTooltip(number, text) {
      const control = controls.get(number);
      if (control) control.element.title = text;
    },

    getState(number) {
      const control = controls.get(number);
      if (!control) return 0;
      if (control.kind === 'trackbar') return Number(control.input.value);
      if (control.kind === 'option') return control.input.checked ? 1 : 0;
      return 0;
    },

    setState(number, value) {
      const control = controls.get(number);
      if (!control) return;
      if (control.kind === 'trackbar') control.input.value = value;
      else if (control.kind === 'option') control.input.checked = value !== 0;
    },

    setText(number, text) {
      const control = controls.get(number);
      if (!control) return;
      if (control.kind === 'text' || control.kind === 'button') control.element.textContent = text;
      else if (control.kind === 'option') control.caption.textContent = text;
      else if (control.kind === 'frame') control.element.querySelector('legend').textContent = text;
    },

    messageBox(title, text) {
      messages.push([title, text]);
      showNextMessage();
    },

    // The user's answer comes when the dialog closes: the tick, or -1 for Cancel
    // and Escape.  The number field keeps the answer within 0 .. highest.
    askTick(title, label, value, highest, answer) {
      const box = byId('ask-tick');
      const field = byId('ask-tick-value');
      byId('ask-tick-title').textContent = title;
      byId('ask-tick-label').textContent = label;
      Object.assign(field, { min: 0, max: highest, value });
      box.returnValue = '';
      waiting = true;
      box.addEventListener('close', () => {
        waiting = false;
        answer(box.returnValue === 'ok' ? Number(field.value) : -1);
      }, { once: true });
      box.showModal();
      field.select();
    },

    beginProgress(title) {
      waiting = true;
      Object.assign(progress, { active: true, started: performance.now(), cancelled: false });
      byId('progress-title').textContent = title;
    },

    // Shows the progress (the dialog itself once the work has run long enough),
    // then lets the browser go on: to the next repaint while the dialog shows,
    // else just through the browser's pending tasks.  Answers 0 once cancelled.
    showProgress(text, permille, answer) {
      const box = byId('progress');
      byId('progress-text').textContent = text;
      byId('progress-bar').value = permille;
      if (!box.open && !progress.cancelled && performance.now() - progress.started >= PROGRESS_DELAY_MS)
        box.showModal();
      const resume = () => answer(progress.cancelled ? 0 : 1);
      if (box.open) requestAnimationFrame(resume);
      else setTimeout(resume, 0);
    },

    endProgress() {
      const box = byId('progress');
      progress.active = false;
      if (box.open) box.close();
      waiting = false;
    },

    askOpenFile() {
      const picker = byId('open-file');
      picker.value = '';  // the same file picked again is a change too
      picker.click();
    },

    received() { return receivedFile; },

    showHelp() {
      const help = byId('help');
      if (!help.open) help.show();
    },

    download(name, bytes) {
      const link = make('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    },

    clearSurfaceTips() { surfaceTips = []; },
    addSurfaceTip(x, y, w, h, text) { surfaceTips.push({ x, y, w, h, text }); },

    addShortcut(key, shortcut) { shortcuts.set(key, shortcut); },
    addKeyShortcut(keys, shortcut) { keyShortcuts.set(keys, shortcut); },

    showPopulation(open) {
      byId('population').hidden = !open;
      if (open && !chart) makeChart();
    },
    populationOpen() { return !byId('population').hidden; },
    plotWidth() { return chart ? Math.round(chart.bbox.width / (window.devicePixelRatio || 1)) : 0; },

    showChart(title, ticks, series) {
      byId('population-title').textContent = title;
      const blank = (v) => (Number.isNaN(v) ? null : v);
      chart.setData([Array.from(ticks), ...series.map((values) => Array.from(values, blank))]);
    },

    loadFont(number, face, pixels) {
      fonts.set(number, `${pixels}px ${face}, Arial, "Liberation Sans", sans-serif`);
    },

    // Draws `text` into the width-by-height colour values at heap32[base...]: the
    // covered pixels in `colour`, on a white box unless transparent, clipped.
    // Returns the advance.
    drawText(font, text, heap32, base, width, height, x, y, colour, transparent) {
      const mask = textMask(font, text);
      const put = (px, py, value) => {
        if (px >= 0 && py >= 0 && px < width && py < height) heap32[base + py * width + px] = value;
      };
      if (!transparent)
        for (let row = 0; row < mask.height; row++)
          for (let col = 0; col < mask.width; col++) put(x + col, y + row, 0xffffff);
      if (mask.bits) {
        const value = colour & 0xffffff;
        for (let row = 0; row < mask.height; row++)
          for (let col = 0; col < mask.width; col++)
            if (mask.bits[row * mask.width + col]) put(x + col, y + row, value);
      }
      return mask.width;
    },

    ready() {
      ready = true;
      document.body.dataset.ready = String(Math.round(performance.now()));
      const frame = (now) => {
        if (stopped) return;
        requestAnimationFrame(frame);
        if (!waiting) Module._vivarix_web_frame(now);
      };
      requestAnimationFrame(frame);
    },
  };
})();
