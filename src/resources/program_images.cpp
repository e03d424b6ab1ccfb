#include "resources/program_images.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "resources/resource_ids.h"

namespace qv {

namespace {

using ImageRows = std::array<std::string_view, kToolbarImageSize>;

// Letters of the palette (see PaletteColour). The strip's images stand on silver (s); no other
// pixel of them is silver, so that the toolbar can take silver for the background.

// clang-format off
// Bright-green disc with a dark-green arrow down, as the departure marker on the scheme.
constexpr ImageRows kDeparture = {
    "ssssssssssssssss",
    "ssssGGGGGGGGssss",
    "sssGGggggggGGsss",
    "ssGGgggGGgggGGss",
    "sGGggggGGggggGGs",
    "sGgggggGGgggggGs",
    "sGgggggGGgggggGs",
    "sGggGGGGGGGGggGs",
    "sGgggGGGGGGgggGs",
    "sGggggGGGGggggGs",
    "sGgggggGGgggggGs",
    "sGGggggggggggGGs",
    "ssGGggggggggGGss",
    "sssGGggggggGGsss",
    "ssssGGGGGGGGssss",
    "ssssssssssssssss",
};

// Bright-red disc with a dark-red arrow up, as the destination marker.
constexpr ImageRows kDestination = {
    "ssssssssssssssss",
    "ssssRRRRRRRRssss",
    "sssRRrrrrrrRRsss",
    "ssRRrrrrrrrrRRss",
    "sRRrrrrrrrrrrRRs",
    "sRrrrrrRRrrrrrRs",
    "sRrrrrRRRRrrrrRs",
    "sRrrrRRRRRRrrrRs",
    "sRrrRRRRRRRRrrRs",
    "sRrrrrrRRrrrrrRs",
    "sRrrrrrRRrrrrrRs",
    "sRRrrrrRRrrrrRRs",
    "ssRRrrrRRrrrRRss",
    "sssRRrrrrrrRRsss",
    "ssssRRRRRRRRssss",
    "ssssssssssssssss",
};

// A red and blue eraser.
constexpr ImageRows kClearStations = {
    "ssssssssssssssss",
    "sssssssssKssssss",
    "ssssssssKbKsssss",
    "sssssssKbbbKssss",
    "ssssssKbbbbbKsss",
    "sssssKbbbbbbbKss",
    "ssssKbbbbbbbbBKs",
    "sssKWbbbbbbbBKss",
    "ssKrrWbbbbbBKsss",
    "sKrrrrWbbbBKssss",
    "ssKrrrrWbBKsssss",
    "sssKrrrrWKssssss",
    "ssssKrrRKsssssss",
    "sssssKRKssssssss",
    "ssssssKsssssssss",
    "ssssssssssssssss",
};

// A "no" sign: a red ring barred from the top left to the bottom right, as the forbidden marker.
constexpr ImageRows kForbiddenStation = {
    "ssssssssssssssss",
    "ssssRRRRRRRRssss",
    "sssRRrrrrrrRRsss",
    "ssRRrrWWWWrrRRss",
    "sRRrrrWWWWWrrRRs",
    "sRrrrrrWWWWWrrRs",
    "sRrWWrrrWWWWWrRs",
    "sRrWWWrrrWWWWrRs",
    "sRrWWWWrrrWWWrRs",
    "sRrWWWWWrrrWWrRs",
    "sRrrWWWWWrrrrrRs",
    "sRRrrWWWWWrrrRRs",
    "ssRRrrWWWWrrRRss",
    "sssRRrrrrrrRRsss",
    "ssssRRRRRRRRssss",
    "ssssssssssssssss",
};

// "А" over "Я" beside an arrow down: the stations in alphabetical order.
constexpr ImageRows kStationList = {
    "ssssssssssssssss",
    "ssBBBBsssssKKsss",
    "sBBssBBssssKKsss",
    "sBBssBBssssKKsss",
    "sBBBBBBssssKKsss",
    "sBBssBBssssKKsss",
    "sBBssBBssssKKsss",
    "sssssssssssKKsss",
    "sssssssssssKKsss",
    "ssBBBBBssssKKsss",
    "sBBssBBssssKKsss",
    "sBBssBBsKKKKKKKK",
    "ssBBBBBssKKKKKKs",
    "ssBBsBBssssKKKKs",
    "sBBssBBsssssKKss",
    "ssssssssssssssss",
};

// A sheet listing the route: departure, transfer and destination down the left, text beside.
constexpr ImageRows kRouteInfo = {
    "ssssssssssssssss",
    "sKKKKKKKKKKKKKKs",
    "sKWWWWWWWWWWWWKs",
    "sKWWGGWWWWWWWWKs",
    "sKWGggGWKKKKKWKs",
    "sKWGggGWWWWWWWKs",
    "sKWWGGWWWWWWWWKs",
    "sKWWKKWWWWWWWWKs",
    "sKWKKKKWKKKKWWKs",
    "sKWWKKWWWWWWWWKs",
    "sKWWRRWWWWWWWWKs",
    "sKWRrrRWKKKKKWKs",
    "sKWRrrRWWWWWWWKs",
    "sKWWRRWWWWWWWWKs",
    "sKKKKKKKKKKKKKKs",
    "ssssssssssssssss",
};

// A magnifying glass.
constexpr ImageRows kScale = {
    "ssssssssssssssss",
    "sssssKKKKsssssss",
    "sssKKWWWWKKsssss",
    "ssKWWcWWWWWKssss",
    "ssKWcWWWWWWKssss",
    "sKWcWWWWWWWWKsss",
    "sKWWWWWWWWWWKsss",
    "sKWWWWWWWWWWKsss",
    "sKWWWWWWWWWWKsss",
    "ssKWWWWWWWWKssss",
    "ssKWWWWWWWWKKsss",
    "sssKKWWWWKKKKKss",
    "sssssKKKKssKKKKs",
    "sssssssssssKKKKK",
    "ssssssssssssKKKK",
    "sssssssssssssKKs",
};

// A white question mark on a blue disc.
constexpr ImageRows kHelp = {
    "ssssssssssssssss",
    "ssssBBBBBBBBssss",
    "sssBBbbbbbbBBsss",
    "ssBBbbWWWWbbBBss",
    "sBBbbWWbbWWbbBBs",
    "sBbbbWWbbWWbbbBs",
    "sBbbbbbbbWWbbbBs",
    "sBbbbbbbWWbbbbBs",
    "sBbbbbbWWbbbbbBs",
    "sBbbbbbWWbbbbbBs",
    "sBbbbbbbbbbbbbBs",
    "sBBbbbbWWbbbbBBs",
    "ssBBbbbWWbbbBBss",
    "sssBBbbbbbbBBsss",
    "ssssBBBBBBBBssss",
    "ssssssssssssssss",
};

// An open yellow folder.
constexpr ImageRows kSpare = {
    "ssssssssssssssss",
    "ssssssssssssssss",
    "sYYYYsssssssssss",
    "YyyyyYssssssssss",
    "YyyyyyYYYYYYYsss",
    "YyyyyyyyyyyyYsss",
    "YyyYYYYYYYYYYYYs",
    "YyYyyyyyyyyyyyYs",
    "YyYyyyyyyyyyyYss",
    "YYyyyyyyyyyyyYss",
    "YYyyyyyyyyyyYsss",
    "YyyyyyyyyyyyYsss",
    "YYYYYYYYYYYYssss",
    "ssssssssssssssss",
    "ssssssssssssssss",
    "ssssssssssssssss",
};

// The application icon, 32 x 32: a red line with a bend and a blue line meeting at a transfer, on
// a white tile with a navy rim; '.' is transparent.
constexpr std::string_view kApplicationIcon[] = {
    "................................",
    "....BBBBBBBBBBBBBBBBBBBBBBBB....",
    "..BBWWWWrrrrWWWWWWWWWWWWWWWWBB..",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrWWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWrrrrrWWWWWWWWWWWWWWWWWB.",
    ".BWWWWWWWrrrrrKKKKWWWWWWWWWWWWB.",
    ".BWWWWWWWWrrKKKKKKKKWWWWWWWWWWB.",
    ".BWWWWWWWWWrKKWWWWKKWWWWWWWWWWB.",
    ".BbbbbbbbbbKKWWWWWWKKbbbbbbbbbB.",
    ".BbbbbbbbbbKKWWWWWWKKbbbbbbbbbB.",
    ".BbbbbbbbbbKKWWWWWWKKbbbbbbbbbB.",
    ".BbbbbbbbbbKKWWWWWWKKbbbbbbbbbB.",
    ".BWWWWWWWWWWKKWWWWKKrWWWWWWWWWB.",
    ".BWWWWWWWWWWKKKKKKKKrrWWWWWWWWB.",
    ".BWWWWWWWWWWWWKKKKrrrrrWWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWrrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    ".BWWWWWWWWWWWWWWWWWWrrrrWWWWWWB.",
    "..BBWWWWWWWWWWWWWWWWrrrrWWWWBB..",
    "....BBBBBBBBBBBBBBBBBBBBBBBB....",
    "................................",
};
// clang-format on

constexpr std::array<const ImageRows*, kToolbarImageCount> kStripImages = {
    &kDeparture, &kDestination, &kClearStations, &kForbiddenStation, &kStationList, &kRouteInfo,
    &kScale,     &kHelp,        &kSpare,
};

constexpr std::size_t kStripWidth = kToolbarImageSize * kToolbarImageCount;

template <std::size_t Width>
using Pixels = std::array<std::array<char, Width>, kToolbarImageSize>;

constexpr bool IsSquare(const ImageRows& image) {
    return std::ranges::all_of(
        image, [](std::string_view row) { return row.size() == kToolbarImageSize; });
}
static_assert(std::ranges::all_of(kStripImages,
                                  [](const ImageRows* image) { return IsSquare(*image); }));

// The images side by side.
constexpr Pixels<kStripWidth> JoinSideBySide() {
    Pixels<kStripWidth> strip{};
    for (std::size_t image = 0; image < kStripImages.size(); ++image) {
        for (std::size_t y = 0; y < kToolbarImageSize; ++y) {
            std::ranges::copy(
                (*kStripImages[image])[y],
                strip[y].begin() + static_cast<std::ptrdiff_t>(image * kToolbarImageSize));
        }
    }
    return strip;
}

// The image with its silver background made transparent, as an icon.
constexpr Pixels<kToolbarImageSize> AsIcon(const ImageRows& image) {
    Pixels<kToolbarImageSize> icon{};
    for (std::size_t y = 0; y < kToolbarImageSize; ++y) {
        std::ranges::transform(image[y], icon[y].begin(),
                               [](char pixel) { return pixel == 's' ? '.' : pixel; });
    }
    return icon;
}

template <std::size_t Width>
constexpr std::array<std::string_view, kToolbarImageSize> RowsOf(const Pixels<Width>& pixels) {
    std::array<std::string_view, kToolbarImageSize> rows{};
    for (std::size_t y = 0; y < kToolbarImageSize; ++y) {
        rows[y] = std::string_view(pixels[y].data(), Width);
    }
    return rows;
}

constexpr Pixels<kStripWidth> kStripPixels = JoinSideBySide();
constexpr auto kStripRows = RowsOf(kStripPixels);
constexpr Pixels<kToolbarImageSize> kDepartureIconPixels = AsIcon(kDeparture);
constexpr auto kDepartureIconRows = RowsOf(kDepartureIconPixels);
constexpr Pixels<kToolbarImageSize> kDestinationIconPixels = AsIcon(kDestination);
constexpr auto kDestinationIconRows = RowsOf(kDestinationIconPixels);

}  // namespace

void AddProgramImages(ResourceModule& module) {
    module.AddBitmap(IDB_TOOLBAR, {static_cast<int>(kStripWidth), kToolbarImageSize, kStripRows});
    module.AddIcon(IDI_APP, {32, 32, kApplicationIcon});
    module.AddIcon(IDI_DEPARTURE, {kToolbarImageSize, kToolbarImageSize, kDepartureIconRows});
    module.AddIcon(IDI_DESTINATION, {kToolbarImageSize, kToolbarImageSize, kDestinationIconRows});
}

}  // namespace qv
