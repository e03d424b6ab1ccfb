#pragma once

#include <filesystem>

#include "framework/dialog_object.h"
#include "framework/message_map.h"
#include "platform/gdi/gdi_objects.h"
#include "settings/settings.h"

namespace qv {

// The full-screen settings page. It edits its own copy of the settings, read from the settings
// file when it opens and written back on OK; the file carries the result to the main window.
// A save that fails keeps the old file and the page open, so that nothing chosen is lost.
class SettingsDialog : public DialogObject {
  public:
    explicit SettingsDialog(std::filesystem::path settingsPath);

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

    const Settings& WorkingSettings() const { return settings; }

  protected:
    LRESULT OnInitDialog(const Message& message, bool& handled);
    LRESULT OnOk(const Message& message, bool& handled);
    LRESULT OnCancel(const Message& message, bool& handled);

  private:
    void ShowSettings();
    Settings ReadControls() const;

    Settings settings;
    std::filesystem::path settingsPath;
    UniqueFont headingFont;
};

// Runs the settings page over the owner on the user's settings file. The caller reads the file
// again afterwards, whichever way the page was closed.
void ShowSettingsDialog(HWND owner);

}  // namespace qv
