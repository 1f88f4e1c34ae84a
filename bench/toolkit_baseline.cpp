// What the toolkit alone costs: one GTK 3 window of a small widget's size, set up like the desktop
// host's windows (no OpenGL, an alpha visual where there is one, kept below, no focus), shown for a
// given time and closed. With "text" it also draws two lines in Inter through Pango and fontconfig,
// as a face's texts are drawn. bench/desktop_host.sh measures its peak memory beside the host's, so
// that the host's own share can be told from the toolkit's.
//
//   toolkit_baseline window|text SECONDS
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

gboolean drawText(GtkWidget*, cairo_t* cr, gpointer) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Inter Semi-Bold 13px");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "NEXT UP · in 40 min\nFINC3600 Lecture, ABS Lecture Theatre 1010", -1);
  cairo_move_to(cr, 16, 16);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  return FALSE;
}

gboolean quit(gpointer) {
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc == 3 ? argv[1] : "";
  if (mode != "window" && mode != "text") {
    std::fprintf(stderr, "usage: toolkit_baseline window|text SECONDS\n");
    return 2;
  }
  const int seconds = std::atoi(argv[2]);
  gtk_disable_setlocale();
  g_setenv("GDK_GL", "disable", FALSE);
  if (gtk_init_check(nullptr, nullptr) == FALSE) {
    std::fprintf(stderr, "toolkit_baseline: cannot open a display\n");
    return 1;
  }
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* w = GTK_WINDOW(window);
  gtk_window_set_title(w, "toolkit baseline");
  gtk_widget_set_app_paintable(window, TRUE);
  gtk_window_set_decorated(w, FALSE);
  gtk_widget_set_size_request(window, 170, 170);
  gtk_window_set_accept_focus(w, FALSE);
  gtk_window_set_keep_below(w, TRUE);
  GdkScreen* screen = gtk_widget_get_screen(window);
  if (GdkVisual* visual = gdk_screen_get_rgba_visual(screen); visual != nullptr)
    gtk_widget_set_visual(window, visual);
  if (mode == "text") g_signal_connect(window, "draw", G_CALLBACK(drawText), nullptr);
  gtk_widget_show(window);
  g_timeout_add_seconds(static_cast<guint>(seconds), quit, nullptr);
  gtk_main();
  gtk_widget_destroy(window);
  return 0;
}
