#pragma once

#include <array>
#include <vector>

#include "platform/gdi/resource_module.h"
#include "platform/user/records/dialog_template.h"
#include "resources/program_texts.h"

namespace qv {

// A dialog template with the texts of one language; it owns its items.
class LocalizedDialog {
  public:
    LocalizedDialog(DialogTemplate shape, std::vector<DialogItemTemplate> items)
        : items_(std::move(items)), dialog_(shape) {
        dialog_.items = items_;
    }
    // A moved vector keeps its elements where they are, so the template's span stays true.
    LocalizedDialog(LocalizedDialog&&) = default;
    LocalizedDialog(const LocalizedDialog&) = delete;
    LocalizedDialog& operator=(const LocalizedDialog&) = delete;
    LocalizedDialog& operator=(LocalizedDialog&&) = delete;

    const DialogTemplate& Template() const { return dialog_; }

  private:
    std::vector<DialogItemTemplate> items_;
    DialogTemplate dialog_;
};

using LocalizedDialogs = std::array<LocalizedDialog, std::size(kLanguages)>;

// The dialog in every language, as `make` gives it for each.
template <typename Make>
LocalizedDialogs MakeInEveryLanguage(Make make) {
    return {make(kLanguages[0]), make(kLanguages[1])};
}

// Adds every language's dialog to the module under `id`; they must outlive the module.
inline void AddLocalizedDialogs(ResourceModule& module, int id, const LocalizedDialogs& dialogs) {
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        module.AddResource(kLanguages[i], id, dialogs[i].Template());
    }
}

}  // namespace qv
