#pragma once

#include <cstdint>
#include <vector>

#include "model/network_model.h"
#include "render/drawing_surface.h"
#include "render/scheme_colours.h"
#include "render/scheme_image.h"

namespace qv {

// Draws the whole static scheme (lines, transfers, stations, labels when shown, and the route
// when it is shown without blinking) into a new image compatible with `surface` and gives it to
// the model. `fontTemplate` is the window's font, the template of the label font.
void BuildSchemeImage(NetworkModel& model, const LOGFONTW& fontTemplate, DrawingSurface& surface);

// One line's polyline, with dashes where it runs on past its first or last station or shape
// point; (x0, y0) is added to the scaled map coordinates. The polyline has round ends and joins,
// the dashes flat ends, so that a dash and a gap are each 3 * s pixels long at any line width.
void DrawLine(const Line& line, DrawingSurface& surface, int x0, int y0, int s);
// The dashes of one segment, with the surface's current pen.
void DrawDashedSegment(const Station& from, const Station& to, DrawingSurface& surface, int x0,
                       int y0, int s);

// The discs of an image in drawing order, less those that cannot show: those outside the image,
// those drawn again later at the same place and size in the same colours, and those under a
// later disc whose inside covers the whole image. What is kept grows with the distinct discs
// that touch the image, not with how many a map lists.
class DiscLayer {
  public:
    // The image's area, from (0, 0).
    DiscLayer(int width, int height);
    void Add(const Disc& disc);
    // Hands what is kept to the surface, in order, and empties the layer.
    void DrawOn(DrawingSurface& surface);
    std::size_t KeptCount() const { return discs_.size() - dead_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Whether any pixel of the disc can fall on the image.
    bool Touches(const Disc& disc) const;
    // Whether the disc's brush covers every pixel of the image.
    bool CoversImage(const Disc& disc) const;

  private:
    // The slot of the table that holds `disc`, or the empty slot where it would go.
    std::size_t SlotOf(const Disc& disc) const;
    void Rebuild();

    int width_;
    int height_;
    std::vector<Disc> discs_;
    std::vector<bool> alive_;
    std::size_t dead_ = 0;
    std::vector<std::uint32_t> table_;  // index + 1 of the latest of each disc; 0 = empty
    std::vector<std::size_t> usedSlots_;
};

// The black rims of every transfer's two circles, then their white cores.
void AddTransferRims(const NetworkModel& model, int s, DiscLayer& layer);
void AddTransferCores(const NetworkModel& model, int s, DiscLayer& layer);
void AddStationMarkers(const Line& line, DiscLayer& layer, int x0, int y0, int s, int style);
// In image coordinates, or in window coordinates (the view offset added) when `onScreen`.
void DrawRoute(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawDepartureMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawDestinationMarker(const NetworkModel& model, DrawingSurface& surface, bool onScreen);
void DrawForbiddenMarkers(const Line& line, DrawingSurface& surface, int x0, int y0, int s);

}  // namespace qv
