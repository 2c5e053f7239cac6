// Binds the program's page calls (page_calls.h) to the page's side of the desktop
// (page.js): strings come as UTF-8 in the module's memory, pixels as addresses,
// received files go into the module's file system.
mergeInto(LibraryManager.library, {
  vx_surface_available: function() { return (VivarixPage.surfaceAvailable() ? 1 : 0); },
  vx_open_window: function(w, h, title) { return VivarixPage.openWindow(w, h, UTF8ToString(title)); },
  vx_set_title: function(title) { return VivarixPage.setTitle(UTF8ToString(title)); },
  vx_open_surface: function(x, y, w, h) { return VivarixPage.openSurface(x, y, w, h); },
  vx_present: function(rgba, w, h) { return VivarixPage.present(HEAPU8, rgba, w, h); },

  vx_begin_controls: function() { return VivarixPage.beginControls(); },
  vx_end_controls: function() { return VivarixPage.endControls(); },
  vx_create_panel: function(n, x, y, w, h) { return VivarixPage.createPanel(n, x, y, w, h); },
  vx_add_tab: function(n, caption) { return VivarixPage.addTab(n, UTF8ToString(caption)); },
  vx_create_frame: function(n, x, y, w, h, caption) { return VivarixPage.createFrame(n, x, y, w, h, UTF8ToString(caption)); },
  vx_create_text: function(n, x, y, w, h, text) { return VivarixPage.createText(n, x, y, w, h, UTF8ToString(text)); },
  vx_create_trackbar: function(n, x, y, w, h, low, high, ticks) { return VivarixPage.createTrackbar(n, x, y, w, h, low, high, ticks); },
  vx_create_option: function(n, x, y, w, h, caption) { return VivarixPage.createOption(n, x, y, w, h, UTF8ToString(caption)); },
  vx_create_button: function(n, x, y, w, h, caption) { return VivarixPage.createButton(n, x, y, w, h, UTF8ToString(caption)); },
  vx_create_image_button: function(n, x, y, w, h) { return VivarixPage.createImageButton(n, x, y, w, h); },
  vx_create_image_view: function(n, x, y) { return VivarixPage.createImageView(n, x, y); },
  vx_show_image: function(n, rgba, w, h) { return VivarixPage.showImage(n, HEAPU8, rgba, w, h); },
  vx_disable: function(n, flag) { return VivarixPage.disable(n, flag); },
  vx_set_tooltip: function(n, text) { return VivarixPage.setTooltip(n, UTF8ToString(text)); },
  vx_get_state: function(n) { return VivarixPage.getState(n); },
  vx_set_state: function(n, value) { return VivarixPage.setState(n, value); },
  vx_set_text: function(n, text) { return VivarixPage.setText(n, UTF8ToString(text)); },

  vx_message_box: function(title, text) { return VivarixPage.messageBox(UTF8ToString(title), UTF8ToString(text)); },
  vx_show_help: function() { return VivarixPage.showHelp(); },
  vx_download: function(name, bytes, size) { return VivarixPage.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size)); },
  vx_ask_open_file: function() { return VivarixPage.askOpenFile(); },
  vx_received_name: function(out, size) {
    const name = VivarixPage.received().name;
    stringToUTF8(name, out, size);
    return lengthBytesUTF8(name) + 1;
  },
  vx_store_received__deps: ['$FS'],
  vx_store_received: function(path) {
    try {
      FS.writeFile(UTF8ToString(path), VivarixPage.received().bytes);
      return 1;
    } catch (e) {
      return 0;
    }
  },

  // Asynchronous (ASYNCIFY_IMPORTS in CMakeLists.txt): the strings are read before
  // the call sleeps; the page answers through wakeUp.
  vx_ask_tick__deps: ['$Asyncify'],
  vx_ask_tick: function(title, label, value, highest) {
    return Asyncify.handleSleep((wakeUp) =>
      VivarixPage.askTick(UTF8ToString(title), UTF8ToString(label), value, highest, wakeUp));
  },
  vx_begin_progress: function(title) { return VivarixPage.beginProgress(UTF8ToString(title)); },
  vx_show_progress__deps: ['$Asyncify'],
  vx_show_progress: function(text, permille) {
    return Asyncify.handleSleep((wakeUp) => VivarixPage.showProgress(UTF8ToString(text), permille, wakeUp));
  },
  vx_end_progress: function() { return VivarixPage.endProgress(); },
  vx_clear_surface_tips: function() { return VivarixPage.clearSurfaceTips(); },
  vx_add_surface_tip: function(x, y, w, h, text) { return VivarixPage.addSurfaceTip(x, y, w, h, UTF8ToString(text)); },
  vx_add_shortcut: function(key, shortcut) { return VivarixPage.addShortcut(String.fromCharCode(key), shortcut); },
  vx_add_key_shortcut: function(keys, shortcut) { return VivarixPage.addKeyShortcut(UTF8ToString(keys), shortcut); },

  vx_show_population: function(open) { return VivarixPage.showPopulation(open !== 0); },
  vx_population_open: function() { return (VivarixPage.populationOpen() ? 1 : 0); },
  vx_population_plot_width: function() { return VivarixPage.plotWidth(); },
  vx_show_chart: function(title, ticks, count, values) {
    const series = [];
    for (let s = 0; s < 5; s++) series.push(HEAPF64.subarray((values >> 3) + s * count, (values >> 3) + (s + 1) * count));
    VivarixPage.showChart(UTF8ToString(title), HEAPF64.subarray(ticks >> 3, (ticks >> 3) + count), series);
  },

  vx_load_font: function(n, face, pixels) { return VivarixPage.loadFont(n, UTF8ToString(face), pixels); },
  vx_draw_text: function(font, text, target, w, h, x, y, colour, transparent) { return VivarixPage.drawText(font, UTF8ToString(text), HEAPU32, target >> 2, w, h, x, y, colour, transparent !== 0); },

  vx_ready: function() { return VivarixPage.ready(); },
});
