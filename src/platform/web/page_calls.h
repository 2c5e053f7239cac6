// The page's side of the web desktop, defined in desktop_library.js.  Strings are
// NUL-terminated UTF-8; pixels are RGBA bytes (`width` * `height` * 4).  Control
// numbers, event codes and shortcut numbers are the program's own.
#pragma once

#include <cstdint>

extern "C" {

// Window and surface.
int vx_surface_available();
void vx_open_window(std::int32_t width, std::int32_t height, const char* title);
void vx_set_title(const char* title);
void vx_open_surface(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
void vx_present(const std::uint8_t* rgba, std::int32_t width, std::int32_t height);

// Controls.  vx_begin_controls starts a column; options created one after another
// form one group until another kind of control is created.
void vx_begin_controls();
void vx_end_controls();
void vx_create_panel(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
void vx_add_tab(std::int32_t panel, const char* caption);
void vx_create_frame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     const char* caption);
void vx_create_text(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                    const char* text);
void vx_create_trackbar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                        std::int32_t minimum, std::int32_t maximum, std::int32_t ticks);
void vx_create_option(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      const char* caption);
void vx_create_button(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      const char* caption);
void vx_create_image_button(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
void vx_create_image_view(std::int32_t number, std::int32_t x, std::int32_t y);
// Shows the pixels on an image button or view; width 0 shows nothing.
void vx_show_image(std::int32_t number, const std::uint8_t* rgba, std::int32_t width, std::int32_t height);
void vx_disable(std::int32_t number, std::int32_t flag);
void vx_set_tooltip(std::int32_t number, const char* text);
std::int32_t vx_get_state(std::int32_t number);
void vx_set_state(std::int32_t number, std::int32_t value);
void vx_set_text(std::int32_t number, const char* text);

// Dialogs, help and files.
void vx_message_box(const char* title, const char* text);
void vx_show_help();
void vx_download(const char* name, const std::uint8_t* bytes, std::int32_t size);

// Opening files: vx_ask_open_file shows the browser's file picker and returns at
// once.  A file the user picks or drops arrives later through vivarix_web_file
// (web_desktop.cpp), which reads its name with vx_received_name (copied into `out`
// of `size` bytes, NUL-terminated; returns the bytes the whole name takes) and has
// it written to `path` of the page's file system by vx_store_received (1 done,
// 0 failed).
void vx_ask_open_file();
std::int32_t vx_received_name(char* out, std::int32_t size);
std::int32_t vx_store_received(const char* path);

// The two calls below wait for the user without blocking the page: they sleep
// through Asyncify (the page's build lists them as its asynchronous imports), the
// browser goes on meanwhile, and the page runs no pass and passes on no event
// until they return.
//
// Asks for a tick from 0 to `highest` in a modal dialog offering `value`; the
// tick, or -1 when the user cancels.
double vx_ask_tick(const char* title, const char* label, double value, double highest);
// Long work: vx_begin_progress before it, vx_show_progress as it goes (the text and
// the bar at `permille` of 1000; the dialog shows once the work has run half a
// second; returns 0 once the user has cancelled, else 1, after letting the browser
// repaint and take input), vx_end_progress after it.
void vx_begin_progress(const char* title);
std::int32_t vx_show_progress(const char* text, std::int32_t permille);
void vx_end_progress();

// Tips over the surface: cleared, then added in order of precedence.
void vx_clear_surface_tips();
void vx_add_surface_tip(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, const char* text);

// Shortcuts: a letter or digit, or keys such as "F1" and "Ctrl+S".
void vx_add_shortcut(std::int32_t key, std::int32_t shortcut);
void vx_add_key_shortcut(const char* keys, std::int32_t shortcut);

// The population panel.  A chart is `count` ticks and, series after series
// (nutrient, blue and red creatures, blue and red strains), `count` values each.
void vx_show_population(std::int32_t open);
std::int32_t vx_population_open();
std::int32_t vx_population_plot_width();
void vx_show_chart(const char* title, const double* ticks, std::int32_t count, const double* values);

// Text: font `number` as `face` at `pixels`; text drawn into the colour values of
// a width-by-height image at `pixels` (see TextRenderer::drawText).
void vx_load_font(std::int32_t number, const char* face, std::int32_t pixelSize);
std::int32_t vx_draw_text(std::int32_t font, const char* text, std::uint32_t* target, std::int32_t width,
                          std::int32_t height, std::int32_t x, std::int32_t y, std::int32_t colour,
                          std::int32_t transparent);

// The page is ready for the user: from now on it calls vivarix_web_frame
// (web_main.cpp) once per animation frame.
void vx_ready();

}  // extern "C"
