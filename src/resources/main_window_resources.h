#pragma once

#include <array>
#include <string_view>

#include "platform/gdi/resource_module.h"
#include "resources/program_images.h"

namespace qv {

// One button of the main window's toolbar: its image in the toolbar strip, its command and its
// tooltip.
struct ToolbarButton {
    int image = 0;
    int command = 0;
    std::u16string_view tooltip;
};

inline constexpr int kToolbarButtonCount = 8;
// The strip holds more images than the buttons use; it is added with this count.
inline constexpr int kToolbarStripImages = 15;

// The toolbar's buttons in order after the menu bar's "Cхема" button.
const std::array<ToolbarButton, kToolbarButtonCount>& ToolbarButtons();
// The tooltips as the menu bar takes them, indexed by button position: the "Cхема" button first,
// without a text, then one for each toolbar button.
const std::array<const char16_t*, kToolbarButtonCount + 1>& ToolbarTooltips();

// Adds the main window's accelerator table to the module.
void AddMainWindowResources(ResourceModule& module);

}  // namespace qv
