#pragma once

#include <span>
#include <string_view>

#include "text/language.h"
#include "text/text_table.h"

namespace qv {

// The system's own texts: those of its message boxes and of the open-file page.
enum class SystemTextId {
    ErrorCaption,      // a message box's caption when none is given
    OpenTitle,         // the open-file page's title
    UpButton,          // leaves a folder
    CancelButton,      //
    FileType,          // %1: the name of the files shown
    FolderUnreadable,  // notes under the open-file page's list
    FilesCut,
    NoMapFiles,
    Count
};

// One table per language, each with every id once.
std::span<const TextEntry<SystemTextId>> SystemTexts(Language language);
// The tables themselves.
std::span<const TextEntry<SystemTextId>> RussianSystemTexts();
std::span<const TextEntry<SystemTextId>> EnglishSystemTexts();
// The text in the user interface's language.
std::u16string_view SystemText(SystemTextId id);

}  // namespace qv
