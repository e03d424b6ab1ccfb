#include "platform/user/api/system_texts.h"

#include "platform/gdi/resource_module.h"

namespace qv {

std::span<const TextEntry<SystemTextId>> SystemTexts(Language language) {
    return language == Language::English ? EnglishSystemTexts() : RussianSystemTexts();
}

std::u16string_view SystemText(SystemTextId id) {
    return FindText(SystemTexts(UiLanguage()), id);
}

}  // namespace qv
