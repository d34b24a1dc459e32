#include "run/window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>

#include "run/window_channel.h"

namespace {

// The window's client area and its label, in pixels at 96 dpi.
constexpr int kWindowWidth = 280;
constexpr int kWindowHeight = 179;
constexpr int kLabelLeft = 64;
constexpr int kLabelTop = 64;
constexpr int kLabelWidth = 177;
constexpr int kLabelHeight = 53;
constexpr int kLabelPoints = 24;
constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

constexpr const char* kProgramTitle = "dorvallo_brisente";

// The window lives until the process ends; it is never destroyed, so that
// nothing touches the display connection while the process exits.
Fl_Window* waiting_window = nullptr;

// Whether the server shows the window. FLTK counts a window as visible as
// soon as it has asked for it to be mapped, before any window manager has.
bool on_screen(const Fl_Window& window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(fl_display, fl_xid(&window), &attributes) != 0 && attributes.map_state == IsViewable;
}

// Handles the display's events until the window is on the screen; false when
// it is not by the deadline, as under a window manager that never maps it.
bool wait_until_mapped(const Fl_Window& window) {
  const auto deadline = std::chrono::steady_clock::now() + scenario::kWindowReadyWait;
  while (!on_screen(window)) {
    const std::chrono::duration<double> left = deadline - std::chrono::steady_clock::now();
    if (left.count() <= 0) return false;
    Fl::wait(left.count());
  }
  return true;
}

}  // namespace

bool window_show_waiting(void* display) {
  fl_open_display(static_cast<Display*>(display));
  waiting_window = new Fl_Window(kWindowWidth, kWindowHeight, "Form1");
  auto* label = new Fl_Box(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight, "Attendere");
  label->labelfont(FL_HELVETICA_BOLD);
  label->labelsize(kLabelPoints * kPixelsPerInch / kPointsPerInch);
  waiting_window->end();
  waiting_window->show();
  // Let the window be mapped and drawn before the work starts; no events are
  // handled while it runs.
  if (!wait_until_mapped(*waiting_window)) return false;
  Fl::flush();
  Fl::check();
  return true;
}

void window_show_error_box(const char* message) {
  constexpr int kMinWidth = 260;
  constexpr int kMaxTextWidth = 560;
  constexpr int kButtonWidth = 80;
  constexpr int kButtonHeight = 28;
  constexpr int kMargin = 16;
  // The box takes the width of its message, wrapping a very long one.
  fl_open_display();
  fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
  int text_width = kMaxTextWidth;
  int text_height = 0;
  fl_measure(message, text_width, text_height);
  const int width = std::max(kMinWidth, text_width + 2 * kMargin);
  const int height = text_height + kButtonHeight + 3 * kMargin;

  Fl_Window box(width, height, kProgramTitle);
  Fl_Box text(kMargin, kMargin, width - 2 * kMargin, text_height);
  text.copy_label(message);
  text.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  Fl_Button ok((width - kButtonWidth) / 2, height - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, "OK");
  ok.callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  box.end();
  box.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
  box.set_modal();
  box.show();
  while (box.shown()) Fl::wait();
}
