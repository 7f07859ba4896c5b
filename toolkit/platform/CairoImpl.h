// Private halves of MImage and Painter: the cairo objects behind them.
#pragma once

#include <korinui/MImage.h>
#include <korinui/Painter.h>

#include <cairo.h>

struct MImage::Impl {
  cairo_surface_t* surface = nullptr;  // ARGB32, owned
  ~Impl() {
    if (surface) cairo_surface_destroy(surface);
  }
};

struct _PangoContext;
struct Painter::Impl {
  cairo_surface_t* surface = nullptr;  // owned
  cairo_t* cr = nullptr;               // owned
  _PangoContext* pango = nullptr;      // made on the first text, owned
  ~Impl();
};
