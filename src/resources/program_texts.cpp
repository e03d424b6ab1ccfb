#include "resources/program_texts.h"

#include "platform/gdi/resource_module.h"

namespace qv {

std::span<const TextEntry<TextId>> ProgramTexts(Language language) {
    return language == Language::English ? EnglishTexts() : RussianTexts();
}

std::u16string_view TextIn(Language language, TextId id) {
    return FindText(ProgramTexts(language), id);
}

std::u16string_view Text(TextId id) {
    return TextIn(UiLanguage(), id);
}

std::u16string FormatText(TextId id, std::initializer_list<std::u16string_view> values) {
    return FillPlaceholders(Text(id), std::span(values.begin(), values.size()));
}

}  // namespace qv
