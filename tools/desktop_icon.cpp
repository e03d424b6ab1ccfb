#include "desktop_icon.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <span>

namespace qv::tools {

namespace {

constexpr double kUnits = 48;

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct Point {
    double x = 0;
    double y = 0;
};

// A metro line: a polyline of the line's colour with round joins, cut off by the tile.
struct LineShape {
    std::vector<Point> points;
    Colour colour;
    double width = 0;
};

// A transfer: a white disc with a dark rim.
struct TransferShape {
    Point centre;
    double radius = 0;
    Colour fill;
    Colour rim;
    double rimWidth = 0;
};

// The square with rounded corners that everything stands on.
struct TileShape {
    double inset = 0;
    double cornerRadius = 0;
    Colour fill;
    Colour rim;
    double rimWidth = 0;
};

struct IconShapes {
    TileShape tile;
    std::vector<LineShape> lines;
    std::vector<TransferShape> transfers;
};

const IconShapes& Shapes() {
    static const IconShapes shapes{
        {2, 8, {255, 255, 255}, {0, 0, 128}, 2},
        {
            {{{15, 0}, {15, 15}, {33, 33}, {33, 48}}, {255, 0, 0}, 6},
            {{{0, 24}, {48, 24}}, {0, 0, 255}, 6},
        },
        {{{24, 24}, 5, {255, 255, 255}, {0, 0, 0}, 2.5}},
    };
    return shapes;
}

// A number as SVG writes it: at most two decimals, no trailing zeros.
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') {
        number.pop_back();
    }
    return number;
}

std::string Hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

std::string TileRect(const TileShape& tile) {
    const std::string side = Number(kUnits - 2 * tile.inset);
    return "<rect x=\"" + Number(tile.inset) + "\" y=\"" + Number(tile.inset) + "\" width=\"" +
           side + "\" height=\"" + side + "\" rx=\"" + Number(tile.cornerRadius) + "\"";
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using UniqueSurface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using UniqueContext = std::unique_ptr<cairo_t, ContextDeleter>;

void SetColour(cairo_t* context, Colour colour) {
    cairo_set_source_rgb(context, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

void TilePath(cairo_t* context, const TileShape& tile) {
    const double low = tile.inset + tile.cornerRadius;
    const double high = kUnits - tile.inset - tile.cornerRadius;
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_path(context);
    cairo_arc(context, high, low, tile.cornerRadius, -quarter, 0);
    cairo_arc(context, high, high, tile.cornerRadius, 0, quarter);
    cairo_arc(context, low, high, tile.cornerRadius, quarter, 2 * quarter);
    cairo_arc(context, low, low, tile.cornerRadius, 2 * quarter, 3 * quarter);
    cairo_close_path(context);
}

void Draw(cairo_t* context, const IconShapes& shapes) {
    TilePath(context, shapes.tile);
    SetColour(context, shapes.tile.fill);
    cairo_fill_preserve(context);
    cairo_save(context);
    cairo_clip(context);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    for (const LineShape& line : shapes.lines) {
        cairo_new_path(context);
        for (const Point& point : line.points) {
            cairo_line_to(context, point.x, point.y);
        }
        cairo_set_line_width(context, line.width);
        SetColour(context, line.colour);
        cairo_stroke(context);
    }
    for (const TransferShape& transfer : shapes.transfers) {
        cairo_new_path(context);
        cairo_arc(context, transfer.centre.x, transfer.centre.y, transfer.radius, 0,
                  2 * std::numbers::pi);
        SetColour(context, transfer.fill);
        cairo_fill_preserve(context);
        cairo_set_line_width(context, transfer.rimWidth);
        SetColour(context, transfer.rim);
        cairo_stroke(context);
    }
    cairo_restore(context);
    TilePath(context, shapes.tile);
    cairo_set_line_width(context, shapes.tile.rimWidth);
    SetColour(context, shapes.tile.rim);
    cairo_stroke(context);
}

RenderedIcon PixelsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int size = cairo_image_surface_get_width(surface);
    RenderedIcon icon{size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size)};
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y) {
        std::memcpy(&icon.pixels[static_cast<std::size_t>(y) * size], data + y * stride,
                    static_cast<std::size_t>(size) * sizeof(std::uint32_t));
    }
    return icon;
}

}  // namespace

std::string DesktopIconSvg() {
    const IconShapes& shapes = Shapes();
    const std::string units = Number(kUnits);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + units + "\" height=\"" + units +
           "\" viewBox=\"0 0 " + units + " " + units + "\">\n";
    svg += "  <defs><clipPath id=\"tile\">" + TileRect(shapes.tile) + "/></clipPath></defs>\n";
    svg += "  " + TileRect(shapes.tile) + " fill=\"" + Hex(shapes.tile.fill) + "\"/>\n";
    svg += "  <g clip-path=\"url(#tile)\" fill=\"none\" stroke-linejoin=\"round\">\n";
    for (const LineShape& line : shapes.lines) {
        std::string points;
        for (const Point& point : line.points) {
            points += (points.empty() ? "" : " ") + Number(point.x) + "," + Number(point.y);
        }
        svg += "    <polyline points=\"" + points + "\" stroke=\"" + Hex(line.colour) +
               "\" stroke-width=\"" + Number(line.width) + "\"/>\n";
    }
    for (const TransferShape& transfer : shapes.transfers) {
        svg += "    <circle cx=\"" + Number(transfer.centre.x) + "\" cy=\"" +
               Number(transfer.centre.y) + "\" r=\"" + Number(transfer.radius) + "\" fill=\"" +
               Hex(transfer.fill) + "\" stroke=\"" + Hex(transfer.rim) + "\" stroke-width=\"" +
               Number(transfer.rimWidth) + "\"/>\n";
    }
    svg += "  </g>\n";
    svg += "  " + TileRect(shapes.tile) + " fill=\"none\" stroke=\"" + Hex(shapes.tile.rim) +
           "\" stroke-width=\"" + Number(shapes.tile.rimWidth) + "\"/>\n";
    svg += "</svg>\n";
    return svg;
}

RenderedIcon RenderDesktopIcon(int size) {
    if (size <= 0) {
        return {};
    }
    const UniqueSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    const UniqueContext context(cairo_create(surface.get()));
    cairo_scale(context.get(), size / kUnits, size / kUnits);
    Draw(context.get(), Shapes());
    return PixelsOf(surface.get());
}

bool WritePng(const RenderedIcon& icon, const std::string& path) {
    if (icon.size <= 0) {
        return false;
    }
    const UniqueSurface surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, icon.size, icon.size));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < icon.size; ++y) {
        std::memcpy(data + y * stride, &icon.pixels[static_cast<std::size_t>(y) * icon.size],
                    static_cast<std::size_t>(icon.size) * sizeof(std::uint32_t));
    }
    cairo_surface_mark_dirty(surface.get());
    return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

RenderedIcon ReadPng(const std::string& path) {
    const UniqueSurface surface(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(surface.get()) != CAIRO_FORMAT_ARGB32 ||
        cairo_image_surface_get_width(surface.get()) !=
            cairo_image_surface_get_height(surface.get())) {
        return {};
    }
    return PixelsOf(surface.get());
}

}  // namespace qv::tools
